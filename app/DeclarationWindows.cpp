#include "app/DeclarationWindows.h"

#include "app/TableModel.h"
#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "declarations/Declaration1.h"
#include "declarations/Declaration6.h"
#include "employees/Employees.h"
#include "reference/Company.h"
#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

// The folder of the file the user names; the name itself is the program's.
QString chooseFolder(QWidget *parent, const QString &startFolder, const QString &fileName)
{
    const QString chosen = QFileDialog::getSaveFileName(parent, QString(), QDir(startFolder).filePath(fileName),
                                                        QStringLiteral("*.txt (*.txt)"));
    return chosen.isEmpty() ? QString() : QFileInfo(chosen).absolutePath();
}

QString databaseFolder(storage::DataModule &data) { return QFileInfo(data.databasePath()).absolutePath(); }

} // namespace

void runDeclaration1(QWidget *parent, storage::DataModule &data, calc::Parameters &params, bool store, util::Prompter &prompter)
{
    const QString folder = chooseFolder(parent, databaseFolder(data), QStringLiteral("EMPL2000.TXT"));
    if (folder.isEmpty())
        return;
    const QString path = declarations::exportDeclaration1(data, folder, store, &params, prompter);
    if (!path.isEmpty())
        prompter.message(QStringLiteral("Файлът %1 е записан.").arg(QDir::toNativeSeparators(path)));
}

void runDeclaration6(QWidget *parent, storage::DataModule &data, calc::Parameters &params, util::Prompter &prompter)
{
    reference::Company company;
    reference::loadCompany(data, company);
    QString name = declarations::declaration6FileName(company.bulstat);
    name.replace(QStringLiteral(".TXT"), QStringLiteral(".txt"));
    const QString folder = chooseFolder(parent, databaseFolder(data), name);
    if (folder.isEmpty())
        return;
    const QString path = declarations::exportDeclaration6(data, folder, &params, prompter);
    if (!path.isEmpty())
        prompter.message(QStringLiteral("Файлът %1 е записан.").arg(QDir::toNativeSeparators(path)));
}

CorrectionForm::CorrectionForm(storage::DataModule &data, util::Prompter &prompter, int personId, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), personId_(personId)
{
    setObjectName(QStringLiteral("fNoiCorType"));
    setWindowTitle(QStringLiteral("Декларация - данни за осигуреното лице - образец 1"));
    person_ = new QComboBox(this);
    auto active = employees::listEmployees(data, true);
    std::sort(active.begin(), active.end(), [](const auto &a, const auto &b) { return a.number < b.number; });
    for (const auto &e : active)
        person_->addItem(QStringLiteral("%1  %2").arg(e.number).arg(e.name), e.id);
    person_->setCurrentIndex(std::max(0, person_->findData(personId)));
    year_ = new QComboBox(this);
    const int year = data.period().year();
    for (int y : {year - 1, year, year + 1})
        year_->addItem(QString::number(y), y);
    year_->setCurrentIndex(1);
    month_ = new QComboBox(this);
    for (int m = 1; m <= 12; ++m)
        month_->addItem(util::monthName(m), m);
    month_->setCurrentIndex(data.period().month() - 1);

    storage::TableData::Query query;
    query.base = QStringLiteral("EMPL2000");
    query.keyColumns = {QStringLiteral("EMPL2000_ID")};
    query.condition = QStringLiteral("EMPL2000_PERSONID=? AND EMPL2000_GOD=? AND EMPL2000_MES=?");
    query.values = {personId, year, data.period().month()};
    query.order = QStringLiteral("EMPL2000_DATECREATED DESC,EMPL2000_FLKOR desc");
    model_ = new TableModel(data, query, prompter, this);

    rows_ = new QTableView(this);
    rows_->setModel(model_);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QStringList shown{"EMPL2000_GOD", "EMPL2000_MES", "EMPL2000_FLSEND", "EMPL2000_FLKOR", "EMPL2000_DATECREATED"};
    for (int c = 0; c < model_->columnCount(); ++c)
        rows_->setColumnHidden(c, !shown.contains(model_->table().columns().value(c)));
    rows_->verticalHeader()->hide();
    rows_->horizontalHeader()->setStretchLastSection(true);
    rows_->setMaximumHeight(140);

    // The numbered boxes: every column the declaration form shows.
    mapper_ = new QDataWidgetMapper(this);
    mapper_->setModel(model_);
    mapper_->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    auto *boxes = new QWidget;
    auto *grid = new QGridLayout(boxes);
    QSet<QString> editable;
    int n = 0;
    for (const auto &c : storage::catalogue::table(u"EMPL2000").columns) {
        const QString caption = QString::fromUtf8(c.caption);
        const QString column = QLatin1String(c.name);
        if (caption.isEmpty() || column == QLatin1String("EMPL2000_FLSEND") || column == QLatin1String("EMPL2000_DATECREATED"))
            continue;
        auto *label = new QLabel(caption, boxes);
        label->setWordWrap(true);
        auto *edit = new QLineEdit(boxes);
        grid->addWidget(label, n / 3, (n % 3) * 2);
        grid->addWidget(edit, n / 3, (n % 3) * 2 + 1);
        mapper_->addMapping(edit, model_->section(column));
        boxes_.append({column, edit});
        editable.insert(column);
        ++n;
    }
    model_->setEditable(editable);
    model_->fitMappedFields(*mapper_);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(boxes);
    scroll->setWidgetResizable(true);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    auto *close = new QPushButton(QStringLiteral("Изход"), this);
    correct_ = new QPushButton(QStringLiteral("Корекция"), this);
    cancel_ = new QPushButton(QStringLiteral("Отказ от корекция"), this);
    delete_ = new QPushButton(QStringLiteral("Изтриване на  корекция"), this);
    export_ = new QPushButton(QStringLiteral("Експорт към НАП на корекции"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Служител"), this));
    top->addWidget(person_, 1);
    top->addWidget(new QLabel(QStringLiteral("Година"), this));
    top->addWidget(year_);
    top->addWidget(new QLabel(QStringLiteral("Месец"), this));
    top->addWidget(month_);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {correct_, cancel_, delete_, export_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rows_);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(1000, 700);

    connect(ok_, &QPushButton::clicked, this, [this] {
        mapper_->submit();
        data_.commitRetaining();
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(correct_, &QPushButton::clicked, this, &CorrectionForm::correct);
    connect(cancel_, &QPushButton::clicked, this, &CorrectionForm::cancelCorrection);
    connect(delete_, &QPushButton::clicked, this, &CorrectionForm::deleteCorrection);
    connect(export_, &QPushButton::clicked, this, [this] { exportCorrections(); });
    for (QComboBox *box : {person_, year_, month_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            mapper_->submit();
            personId_ = person_->currentData().toInt();
            reload();
        });
    connect(rows_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &index) {
        mapper_->setCurrentIndex(index.row());
        cancel_->setEnabled(false);
        currentChanged();
    });
    reload();
}

QLineEdit *CorrectionForm::box(const QString &column) const
{
    for (const auto &[name, edit] : boxes_)
        if (name == column)
            return edit;
    return nullptr;
}

int CorrectionForm::currentRecord() const
{
    const int row = mapper_->currentIndex();
    return row < 0 || row >= model_->rowCount() ? 0 : model_->raw(row, QStringLiteral("EMPL2000_ID")).toInt();
}

void CorrectionForm::reload()
{
    model_->reload({personId_, year_->currentData(), month_->currentData()});
    rows_->resizeColumnsToContents();
    if (model_->rowCount() > 0) {
        rows_->selectRow(0);
        mapper_->setCurrentIndex(0);
    } else {
        mapper_->setCurrentIndex(-1);
        for (const auto &entry : boxes_)
            entry.second->clear();
    }
    cancel_->setEnabled(false);
    currentChanged();
}

void CorrectionForm::currentChanged()
{
    const bool any = model_->rowCount() > 0;
    const int row = mapper_->currentIndex();
    const bool correction = any && row >= 0 && model_->raw(row, QStringLiteral("EMPL2000_FLKOR")).toInt() == 1;
    for (const auto &entry : boxes_)
        entry.second->setReadOnly(!correction);
    ok_->setEnabled(any);
    correct_->setEnabled(any);
    export_->setEnabled(any);
    delete_->setEnabled(correction);
}

void CorrectionForm::correct()
{
    mapper_->submit();
    const int record = currentRecord();
    if (!record)
        return;
    const int copy = declarations::makeCorrection(data_, record);
    reload();
    const int row = model_->rowOfKey(copy);
    if (row >= 0) {
        rows_->selectRow(row);
        mapper_->setCurrentIndex(row);
        currentChanged();
    }
    cancel_->setEnabled(true);
}

void CorrectionForm::cancelCorrection()
{
    const int record = currentRecord();
    if (record && declarations::deleteCorrection(data_, record))
        reload();
}

void CorrectionForm::deleteCorrection()
{
    const int record = currentRecord();
    if (!record)
        return;
    const QString number = person_->currentText().section(QLatin1Char(' '), 0, 0);
    if (!prompter_.confirm(QStringLiteral("Сигурни ли сте, че искате да изтриете данните за корекция на служител с номер %1?").arg(number)))
        return;
    if (declarations::deleteCorrection(data_, record))
        reload();
}

void CorrectionForm::exportCorrections(const QString &givenFolder)
{
    CorrectionExportDialog choice(data_, personId_, this);
    if (givenFolder.isEmpty() && choice.exec() != QDialog::Accepted)
        return;
    mapper_->submit();
    data_.commitRetaining();
    const QList<int> ids = choice.ticked();
    if (ids.isEmpty())
        return;
    QString folder = givenFolder;
    if (folder.isEmpty())
        folder = chooseFolder(this, QDir::currentPath(), QStringLiteral("EMPL2000.TXT"));
    if (folder.isEmpty())
        return;
    const std::optional<util::Period> month =
        choice.allMonths() ? std::nullopt : std::optional<util::Period>(util::Period(year_->currentData().toInt(), month_->currentData().toInt()));
    const QString path = declarations::exportCorrections(data_, folder, ids, month, prompter_);
    prompter_.message(path.isEmpty() ? QStringLiteral("Няма неизпратени корекции.")
                                     : QStringLiteral("Файлът %1 е записан.").arg(QDir::toNativeSeparators(path)));
}

CorrectionExportDialog::CorrectionExportDialog(storage::DataModule &data, int currentPersonId, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Експорт на корекции"));
    list_ = new QListWidget(this);
    auto everyone = employees::listEmployees(data);
    std::sort(everyone.begin(), everyone.end(), [](const auto &a, const auto &b) { return a.number < b.number; });
    for (const auto &e : everyone) {
        auto *item = new QListWidgetItem(QStringLiteral("ЕГН:%1;    ИМЕ:%2").arg(e.egn, e.name.trimmed()), list_);
        item->setData(Qt::UserRole, e.id);
        item->setCheckState(e.id == currentPersonId ? Qt::Checked : Qt::Unchecked);
        if (e.id == currentPersonId)
            list_->setCurrentItem(item);
    }
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu;
        auto all = [this](Qt::CheckState state) {
            for (int i = 0; i < list_->count(); ++i)
                list_->item(i)->setCheckState(state);
        };
        menu.addAction(QStringLiteral("Избери всички"), [all] { all(Qt::Checked); });
        menu.addAction(QStringLiteral("Махни всички"), [all] { all(Qt::Unchecked); });
        menu.exec(list_->mapToGlobal(at));
    });
    auto *current = new QRadioButton(QStringLiteral("За текущия месец"), this);
    auto *every = new QRadioButton(QStringLiteral("За всички месеци"), this);
    current->setChecked(true);
    scope_ = new QButtonGroup(this);
    scope_->addButton(current, 0);
    scope_->addButton(every, 1);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(current);
    buttons->addWidget(every);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(560, 420);
}

QList<int> CorrectionExportDialog::ticked() const
{
    QList<int> ids;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            ids << list_->item(i)->data(Qt::UserRole).toInt();
    return ids;
}

bool CorrectionExportDialog::allMonths() const { return scope_->checkedId() == 1; }

} // namespace plavex::app
