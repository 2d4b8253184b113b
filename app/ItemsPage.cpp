#include "app/ItemsPage.h"

#include "app/GridExport.h"
#include "app/ItemEditForm.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "app/reports/GuiReports.h"
#include "calc/ItemText.h"
#include "items/Items.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/CompactDate.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

ItemsPage::ItemsPage(storage::DataModule &data, util::Prompter &prompter, items::ItemEntry &entry,
                     const std::vector<items::Definition> &definitions, QWidget *parent)
    : QWidget(parent), data_(data), prompter_(prompter), entry_(entry), definitions_(definitions),
      model_(new TableModel(data,
                            {QStringLiteral("PERA"), {}, {QStringLiteral("PERO_PEROID")},
                             QStringLiteral("PERO_PERSONID=?"), {0}, QStringLiteral("PERO_TYPE,PERO_COD")},
                            prompter, this)),
      view_(new QTableView(this)), header_(new QLabel(this)), popup_(new QMenu(this))
{
    model_->setColumns({
        {{}, QStringLiteral("Код"), [this](int r) { return calc::itemCodeText(itemAt(r)); }},
        {{}, QStringLiteral("Име на перо"), [this](int r) { return calc::itemNameText(itemAt(r), definitions_); }},
        {{}, QStringLiteral("Параметри на перо"),
         [this](int r) {
             const util::Separators sep = util::Separators::current();
             return calc::itemDescription(itemAt(r), definitions_, totals_, paySystem_, data_.period(), sep.date,
                                          sep.decimal);
         }},
        {QStringLiteral("PERO_SUMA"), QStringLiteral("Сума")},
    });
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    view_->setColumnWidth(0, 60);
    view_->setColumnWidth(1, 220);
    view_->setColumnWidth(3, 100);
    view_->installEventFilter(this);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    new WheelToArrows(view_);

    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);

    auto *add = new QPushButton(QStringLiteral("Добави перо"), this);
    auto *edit = new QPushButton(QStringLiteral("Редакция перо"), this);
    auto *remove = new QPushButton(QStringLiteral("Изтриване"), this);
    buttons_ << add << edit << remove;
    connect(add, &QPushButton::clicked, this, &ItemsPage::addItem);
    connect(edit, &QPushButton::clicked, this, &ItemsPage::editItem);
    connect(remove, &QPushButton::clicked, this, &ItemsPage::deleteItem);
    editActions_ << popup_->addAction(QStringLiteral("Добавяне на перо"), this, &ItemsPage::addItem)
                 << popup_->addAction(QStringLiteral("Редакция на перо"), this, &ItemsPage::editItem)
                 << popup_->addAction(QStringLiteral("Изтриване на перо"), this, &ItemsPage::deleteItem);
    popup_->addSeparator();
    auto *slip1 = new QPushButton(QStringLiteral("Печат на фиш тип 1"), this);
    auto *slip2 = new QPushButton(QStringLiteral("Печат на фиш тип 2"), this);
    connect(slip1, &QPushButton::clicked, this, [this] { printPayslip(reports::ReportKind::Payslip1); });
    connect(slip2, &QPushButton::clicked, this, [this] { printPayslip(reports::ReportKind::Payslip2); });
    popup_->addAction(QStringLiteral("Печат на фиш тип 1"), this, [this] { printPayslip(reports::ReportKind::Payslip1); });
    popup_->addAction(QStringLiteral("Печат на фиш тип 2"), this, [this] { printPayslip(reports::ReportKind::Payslip2); });
    popup_->addSeparator();
    popup_->addAction(addGridExport(view_));
    connect(view_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { popup_->popup(view_->viewport()->mapToGlobal(at)); });
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && model_->rowCount() > 0)
            editItem();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(slip1);
    buttons->addWidget(slip2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    setEditable(false);
}

items::ItemRecord ItemsPage::itemAt(int row) const
{
    items::ItemRecord r;
    auto v = [&](const char *column) { return model_->raw(row, QString::fromLatin1(column)); };
    r.id = v("PERO_PEROID").toInt();
    r.person = v("PERO_PERSONID").toInt();
    r.month = v("PERO_MES").toInt();
    r.year = v("PERO_GOD").toInt();
    r.code = v("PERO_COD").toInt();
    r.amount1 = v("PERO_SUMA1").toDouble();
    r.amount2 = v("PERO_SUMA2").toDouble();
    r.d = v("PERO_D").toInt();
    if (v("PERO_BEGINDATE").toDate().isValid())
        r.begin = v("PERO_BEGINDATE").toDate();
    if (v("PERO_ENDDATE").toDate().isValid())
        r.end = v("PERO_ENDDATE").toDate();
    r.beginPacked = util::CompactDate::fromDate(r.hasBegin() ? r.begin : QDate());
    r.endPacked = util::CompactDate::fromDate(r.hasEnd() ? r.end : QDate());
    r.partida = v("PERO_PARTIDA").toString().trimmed();
    r.amount = v("PERO_SUMA").toDouble();
    r.correction = v("PERO_SUMAKOR").toDouble();
    r.final = v("PERO_SUMAFINAL").toDouble();
    r.type = v("PERO_TYPE").toInt();
    r.certificate = v("PERO_BOLNN").toString().trimmed();
    r.firstCertificate = v("PERO_FLFIRST").toInt() == 1;
    r.documents = v("PERO_BOLNDOPDOC").toString().trimmed();
    return r;
}

void ItemsPage::showEmployee(int id, int paySystem)
{
    personId_ = id;
    paySystem_ = paySystem;
    model_->reload({id});
}

void ItemsPage::reload()
{
    const int row = currentRow();
    model_->reload();
    if (model_->rowCount() > 0)
        view_->setCurrentIndex(model_->index(std::clamp(row, 0, model_->rowCount() - 1), 0));
}

int ItemsPage::currentRow() const { return view_->currentIndex().isValid() ? view_->currentIndex().row() : -1; }

void ItemsPage::setEditable(bool editable)
{
    editable_ = editable;
    for (QPushButton *b : std::as_const(buttons_))
        b->setEnabled(editable);
    for (QAction *a : std::as_const(editActions_))
        a->setEnabled(editable);
}

void ItemsPage::setHeader(const QString &text, bool red)
{
    header_->setText(text);
    header_->setStyleSheet(red ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
}

bool ItemsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editItem();
            return true;
        case Qt::Key_Insert:
            addItem();
            return true;
        case Qt::Key_Delete:
            deleteItem();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ItemsPage::printPayslip(reports::ReportKind kind)
{
    if (personId_ == 0)
        return;
    startReport(this, data_, prompter_, kind, personId_);
    // The payslip recalculated the employee first.
    emit itemsChanged();
}

void ItemsPage::addItem()
{
    if (!editable_ || personId_ == 0)
        return;
    ItemEditForm form(data_, prompter_, ItemEditForm::Mode::New, items::ItemRecord{}, paySystem_, entry_.lastCode(),
                      this);
    if (form.exec() != QDialog::Accepted)
        return;
    try {
        const int id = entry_.add(personId_, form.record());
        emit itemsChanged();
        view_->setCurrentIndex(model_->index(std::max(0, model_->rowOfKey(id)), 0));
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
    }
}

void ItemsPage::editItem()
{
    const int row = currentRow();
    if (!editable_ || row < 0)
        return;
    const items::ItemRecord item = itemAt(row);
    if (!items::isEditableType(item.type))
        return;
    ItemEditForm form(data_, prompter_, ItemEditForm::Mode::Edit, item, paySystem_, 0, this);
    if (form.exec() != QDialog::Accepted)
        return;
    try {
        if (entry_.edit(form.record()))
            emit itemsChanged();
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
    }
}

void ItemsPage::deleteItem()
{
    const int row = currentRow();
    if (!editable_ || row < 0 || model_->rowCount() == 0)
        return;
    try {
        if (entry_.remove(itemAt(row).id, prompter_))
            emit itemsChanged();
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при изтриване: %1").arg(storage::errorText(e)));
    }
}

} // namespace plavex::app
