#include "app/CompanyWindow.h"

#include "app/ChooserDialog.h"
#include "app/FieldFilter.h"
#include "app/FormPlacement.h"
#include "app/NkidDialog.h"
#include "app/TableModel.h"
#include "reference/Company.h"
#include "storage/ColumnValue.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace plavex::app {

namespace {
// The key filters of the form's fields; None takes any key.
enum Filter { Digits, DateSeparator, Decimal, EnterOnly, None };

util::KeyFilterKind kindOf(int filter)
{
    switch (filter) {
    case Digits: return util::KeyFilterKind::Digits;
    case DateSeparator: return util::KeyFilterKind::DigitsAndDateSeparator;
    case Decimal: return util::KeyFilterKind::Decimal;
    default: return util::KeyFilterKind::EnterOnly;
    }
}

const double kAccidentPercents[] = {0, 0.4, 0.5, 0.7, 0.9, 1.1};

QString decimalText(double v) { return QString::number(v, 'g', 6).replace(u'.', util::Separators::current().decimal); }
} // namespace

CompanyWindow::CompanyWindow(storage::DataModule &data, storage::Settings &settings, util::Prompter &prompter,
                             QWidget *parent)
    : QDialog(parent), data_(data), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("fFirma"));
    setWindowTitle(QStringLiteral("Данни за фирма - ") + data_.databasePath());
    row_ = std::make_unique<storage::TableData>(data_, storage::TableData::Query{QStringLiteral("FIRMA"), {}, {}, {}, {}, {}});
    pages_ = new QTabWidget(this);

    // Page 1: who the company is and the payroll parameters.
    QWidget *main = addPage(QStringLiteral("Фирма"));
    auto *identity = new QFormLayout;
    identity->addRow(QStringLiteral("Наименование"), edit(QStringLiteral("FIRMA_IME"), EnterOnly));
    identity->addRow(QStringLiteral("Управител"), edit(QStringLiteral("FIRMA_DIRECTOR"), EnterOnly));
    identity->addRow(QStringLiteral("Гл. счетоводител"), edit(QStringLiteral("FIRMA_SCHET"), EnterOnly));
    auto *numbers = new QHBoxLayout;
    numbers->addWidget(edit(QStringLiteral("FIRMA_DANNOMER"), DateSeparator, 10));
    numbers->addWidget(new QLabel(QStringLiteral("Булстат"), main));
    numbers->addWidget(edit(QStringLiteral("FIRMA_BULSTAT"), DateSeparator, 13));
    numbers->addWidget(new QLabel(QStringLiteral("Соц. номер"), main));
    numbers->addWidget(edit(QStringLiteral("FIRMA_SOCNOMER"), DateSeparator, 6));
    identity->addRow(QStringLiteral("Дан. номер"), numbers);
    activities_ = new QComboBox(main);
    activities_->setMinimumContentsLength(30);
    activities_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    activities_->view()->setMinimumWidth(450);
    auto *activityButton = new QPushButton(QStringLiteral("..."), main);
    activityButton->setFixedWidth(32);
    activityButton->setToolTip(QStringLiteral("Номенклатура на КИД"));
    auto *activity = new QHBoxLayout;
    activity->addWidget(edit(QStringLiteral("FIRMA_KID1"), Decimal, 4));
    activity->addWidget(activities_, 1);
    activity->addWidget(activityButton);
    activity->addWidget(new QLabel(QStringLiteral("Пор. ном. КИД"), main));
    activity->addWidget(edit(QStringLiteral("FIRMA_KID2"), Digits, 2));
    identity->addRow(QStringLiteral("КИД"), activity);

    auto *top = new QHBoxLayout;
    auto *topLeft = new QFormLayout;
    topLeft->addRow(QStringLiteral("Раб. седмица"), edit(QStringLiteral("FIRMA_RSEDMICA"), DateSeparator, 1));
    QLineEdit *current = edit(QStringLiteral("FIRMA_CURMES"), None);
    current->setReadOnly(true);
    topLeft->addRow(QStringLiteral("Текущ месец"), current);
    unitDigits_ = new QLineEdit(QString::number(settings_.unitDigits), main);
    unitDigits_->setMaxLength(1);
    FieldFilter::install(unitDigits_, util::KeyFilterKind::Digits, prompter_);
    topLeft->addRow(QStringLiteral("Брой цифри от номера за номер"), unitDigits_);
    auto *topRight = new QVBoxLayout;
    topRight->addWidget(check(QStringLiteral("FIRMA_AUTOSTAV"), QStringLiteral("Автом. прос. клас")));
    topRight->addWidget(check(QStringLiteral("FIRMA_WINOUT"), QStringLiteral("Приложение 1 в windows")));
    topRight->addStretch();
    top->addLayout(topLeft, 1);
    top->addLayout(topRight);

    auto *limits = new QGroupBox(QStringLiteral("мин/макс и проценти"), main);
    auto *limitsLeft = new QFormLayout;
    limitsLeft->addRow(QStringLiteral("Мин.заплата"), edit(QStringLiteral("FIRMA_MINSALARY"), Decimal));
    limitsLeft->addRow(QStringLiteral("Минимален осигурителен доход"), edit(QStringLiteral("FIRMA_MINDOH"), Decimal));
    limitsLeft->addRow(QStringLiteral("Максимален осигурителен доход"), edit(QStringLiteral("FIRMA_INDDOO"), None));
    limitsLeft->addRow(QStringLiteral("Гарантирани вземания %"), edit(QStringLiteral("FIRMA_DATA3"), Decimal));
    limitsLeft->addRow(QStringLiteral("Обезщетение майки"), edit(QStringLiteral("FIRMA_OBMAJKI"), Decimal));
    limitsLeft->addRow(QStringLiteral("Закръгление"), edit(QStringLiteral("FIRMA_ZAKR"), Decimal));
    auto *limitsRight = new QFormLayout;
    accident_ = new QComboBox(limits);
    accident_->setEditable(true);
    for (double v : kAccidentPercents)
        accident_->addItem(decimalText(v));
    limitsRight->addRow(QStringLiteral("Фонд ТЗ %"), accident_);
    limitsRight->addRow(QStringLiteral("Проц. просл. вр."), edit(QStringLiteral("FIRMA_GODPROC"), Decimal));
    limitsRight->addRow(QStringLiteral("Проц. изв. труд"), edit(QStringLiteral("FIRMA_PROCITRUD"), Decimal));
    limitsRight->addRow(QStringLiteral("Перо изв. труд"), edit(QStringLiteral("FIRMA_PEROITRUD"), DateSeparator));
    limitsRight->addRow(QStringLiteral("Проц. нощ. труд"), edit(QStringLiteral("FIRMA_PROCNTRUD"), Decimal));
    auto *limitsLayout = new QHBoxLayout(limits);
    limitsLayout->addLayout(limitsLeft, 1);
    limitsLayout->addSpacing(12);
    limitsLayout->addLayout(limitsRight, 1);
    auto *mainLayout = new QVBoxLayout(main);
    mainLayout->addLayout(identity);
    mainLayout->addLayout(top);
    mainLayout->addWidget(limits);
    mainLayout->addStretch();

    // Page 2: the address.
    QWidget *address = addPage(QStringLiteral("Адрес на фирмата"));
    towns_ = new QComboBox(address);
    towns_->setMinimumContentsLength(24);
    towns_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *townButton = new QPushButton(QStringLiteral("..."), address);
    townButton->setFixedWidth(32);
    townButton->setToolTip(QStringLiteral("Избор на населено място"));
    auto *town = new QHBoxLayout;
    town->addWidget(edit(QStringLiteral("FIRMA_GRADCOD"), DateSeparator, 9));
    town->addWidget(towns_, 1);
    town->addWidget(townButton);
    auto *addressForm = new QFormLayout(address);
    addressForm->addRow(QStringLiteral("Нас. място"), town);
    addressForm->addRow(QStringLiteral("Пощ. код"), edit(QStringLiteral("FIRMA_ADDRPK"), DateSeparator, 4));
    addressForm->addRow(QStringLiteral("Ж.К."), edit(QStringLiteral("FIRMA_ADDRVK"), EnterOnly));
    addressForm->addRow(QStringLiteral("Улица"), edit(QStringLiteral("FIRMA_ADDRUL"), EnterOnly));
    addressForm->addRow(QStringLiteral("Блок"), edit(QStringLiteral("FIRMA_ADDRBL"), EnterOnly));
    addressForm->addRow(QStringLiteral("Вход"), edit(QStringLiteral("FIRMA_ADDRWH"), EnterOnly));

    // Page 3: the company's bank.
    QWidget *bank = addPage(QStringLiteral("Фирма - банка"));
    auto *bankForm = new QFormLayout(bank);
    bankForm->addRow(QStringLiteral("Име на банка"), edit(QStringLiteral("FIRMA_BANKAIME"), EnterOnly, 100));
    bankForm->addRow(QStringLiteral("Клон"), edit(QStringLiteral("FIRMA_BANKKLON"), EnterOnly, 100));
    bankForm->addRow(QStringLiteral("Номер на сметка"), edit(QStringLiteral("FIRMA_BANKSMETKA"), DateSeparator, 10));
    bankForm->addRow(QStringLiteral("Код на банката"), edit(QStringLiteral("FIRMA_BANKKODE"), DateSeparator, 8));
    bankForm->addRow(QStringLiteral("IBAN"), edit(QStringLiteral("FIRMA_IBAN"), EnterOnly, 22));
    bankForm->addRow(QStringLiteral("BIC"), edit(QStringLiteral("FIRMA_BIC"), EnterOnly, 8));
    bankForm->addRow(QStringLiteral("Дата на плащане"), edit(QStringLiteral("FIRMA_DECL6DATE"), DateSeparator, 10));

    // Page 4: where the income tax goes.
    QWidget *tax = addPage(QStringLiteral("Данъчно поделение"));
    auto *taxForm = new QFormLayout(tax);
    taxForm->addRow(QStringLiteral("Данъчно поделение"), edit(QStringLiteral("FIRMA_DPIME"), EnterOnly));
    taxForm->addRow(QStringLiteral("Община"), edit(QStringLiteral("FIRMA_DPOBL"), EnterOnly));
    taxForm->addRow(QStringLiteral("БИН за ДОД"), edit(QStringLiteral("FIRMA_BIN"), EnterOnly, 10));
    taxForm->addRow(QStringLiteral("Номер на сметка"), edit(QStringLiteral("FIRMA_SMET"), EnterOnly, 10));
    taxForm->addRow(QStringLiteral("Име на банка"), edit(QStringLiteral("FIRMA_DPBANKIME"), EnterOnly));
    taxForm->addRow(QStringLiteral("Клон на банка"), edit(QStringLiteral("FIRMA_DPBANKKLON"), EnterOnly));
    taxForm->addRow(QStringLiteral("Код на банка"), edit(QStringLiteral("FIRMA_DPBANKKODE"), EnterOnly));
    taxForm->addRow(QStringLiteral("IBAN"), edit(QStringLiteral("FIRMA_DPIBAN"), EnterOnly, 22));
    taxForm->addRow(QStringLiteral("BIC"), edit(QStringLiteral("FIRMA_DPBIC"), EnterOnly, 8));
    taxForm->addRow(QStringLiteral("Вид плащане"), edit(QStringLiteral("FIRMA_DPVVP"), EnterOnly, 6));

    // Page 5: who carries the sick-leave papers.
    QWidget *bearer = addPage(QStringLiteral("Информация за болнични"));
    auto *bearerForm = new QFormLayout(bearer);
    bearerForm->addRow(QStringLiteral("ЕГН на приносител"), edit(QStringLiteral("FIRMA_EGNPRIN"), Digits, 10));
    bearerForm->addRow(QString(), check(QStringLiteral("FIRMA_LNCHFLPRIN"), QStringLiteral("Флаг за чужденец")));
    bearerForm->addRow(QStringLiteral("Име на приносител"), edit(QStringLiteral("FIRMA_IMEPRIN"), EnterOnly));
    bearerForm->addRow(QStringLiteral("Презиме на приносител"), edit(QStringLiteral("FIRMA_PREZIMEPRIN"), EnterOnly));
    bearerForm->addRow(QStringLiteral("Фамилия  на приносител"), edit(QStringLiteral("FIRMA_FAMILIAPRIN"), EnterOnly));
    bearerForm->addRow(QStringLiteral("ЛК приносител №"), edit(QStringLiteral("FIRMA_LKNOMERPRIN"), EnterOnly, 9));
    bearerForm->addRow(QStringLiteral("ЛК приносител дата на издаване"),
                       edit(QStringLiteral("FIRMA_LKDATEPRIN"), DateSeparator, 10));
    bearerForm->addRow(QStringLiteral("ЛК приносител издадена от "), edit(QStringLiteral("FIRMA_LKIZDOTPRIN"), None));

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    resize(760, 520);
    new FormPlacement(this, settings_.ini(), objectName(), pages_);

    connect(ok, &QPushButton::clicked, this, &CompanyWindow::ok);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(activityButton, &QPushButton::clicked, this, &CompanyWindow::chooseActivity);
    connect(townButton, &QPushButton::clicked, this, &CompanyWindow::chooseTown);
    connect(accident_, &QComboBox::activated, this, [this] {
        QVariant v;
        if (TableModel::parseTyped(accident_->currentText(), storage::TableData::Kind::Number, v))
            post(QStringLiteral("FIRMA_DOOPROCF3"), v);
    });
    connect(accident_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        QVariant v;
        if (TableModel::parseTyped(accident_->currentText(), storage::TableData::Kind::Number, v))
            post(QStringLiteral("FIRMA_DOOPROCF3"), v);
    });
    connect(activities_, &QComboBox::activated, this, [this](int index) {
        const QStringList pair = activities_->itemData(index).toStringList();
        try {
            reference::activityChosen(data_, pair.value(0), pair.value(1));
        } catch (const fb::Error &e) {
            prompter_.message(storage::errorText(e));
        }
        load();
    });
    connect(towns_, &QComboBox::activated, this,
            [this](int index) { post(QStringLiteral("FIRMA_GRADCOD"), towns_->itemData(index)); });
    fillLists();
    load();
}

QWidget *CompanyWindow::addPage(const QString &caption)
{
    auto *page = new QWidget(pages_);
    pages_->addTab(page, caption);
    return page;
}

QLineEdit *CompanyWindow::edit(const QString &column, int filter, int maxLength)
{
    auto *e = new QLineEdit(this);
    // No more characters than the column holds.
    if (maxLength <= 0)
        maxLength = storage::textLength(storage::catalogueColumn(u"FIRMA", column));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    if (filter == None)
        new EnterMovesFocus(e);
    else
        FieldFilter::install(e, kindOf(filter), prompter_);
    edits_.insert(column, e);
    connect(e, &QLineEdit::editingFinished, this, [this, column] {
        if (!edits_.value(column)->isReadOnly())
            postTyped(column);
    });
    return e;
}

QCheckBox *CompanyWindow::check(const QString &column, const QString &caption)
{
    auto *box = new QCheckBox(caption, this);
    new EnterMovesFocus(box);
    checks_.insert(column, box);
    connect(box, &QCheckBox::clicked, this, [this, column](bool on) { post(column, on ? 1 : 0); });
    return box;
}

void CompanyWindow::fillLists()
{
    try {
        storage::TableData nkid(data_, {QStringLiteral("NKID"),
                                        {QStringLiteral("NKID_KID"), QStringLiteral("NKID_KIDIME"), QStringLiteral("NKID_PORN")},
                                        {},
                                        {},
                                        {},
                                        QStringLiteral("NKID_KID,NKID_PORN")});
        nkid.reload();
        for (int r = 0; r < nkid.rowCount(); ++r) {
            const QString code = nkid.value(r, 0).toString().trimmed();
            const QString number = nkid.value(r, 2).toString().trimmed();
            activities_->addItem(QStringLiteral("%1  %2  %3").arg(code, nkid.value(r, 1).toString().trimmed(), number),
                                 QStringList{code, number});
        }
        storage::TableData grad(data_, {QStringLiteral("GRAD"),
                                        {QStringLiteral("GRAD_COD"), QStringLiteral("GRAD_IME")},
                                        {},
                                        {},
                                        {},
                                        QStringLiteral("GRAD_IME")});
        grad.reload();
        for (int r = 0; r < grad.rowCount(); ++r)
            towns_->addItem(QStringLiteral("%1  %2").arg(grad.value(r, 0).toString(), grad.value(r, 1).toString().trimmed()),
                            grad.value(r, 0));
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
}

void CompanyWindow::load()
{
    try {
        row_->reload();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it)
        show(it.key());
    for (auto it = checks_.cbegin(); it != checks_.cend(); ++it)
        it.value()->setChecked(row_->rowCount() > 0 && row_->value(0, it.key()).toInt() == 1);
    const QVariant accident = row_->rowCount() > 0 ? row_->value(0, QStringLiteral("FIRMA_DOOPROCF3")) : QVariant();
    // A stored value outside the list still shows.
    accident_->setEditText(accident.isNull() ? QString() : decimalText(accident.toDouble()));
    const QString kid = edits_.value(QStringLiteral("FIRMA_KID1"))->text();
    const QString porn = edits_.value(QStringLiteral("FIRMA_KID2"))->text();
    activities_->setCurrentIndex(activities_->findData(QStringList{kid, porn}));
    towns_->setCurrentIndex(towns_->findData(row_->rowCount() > 0 ? row_->value(0, QStringLiteral("FIRMA_GRADCOD")) : QVariant()));
    markMissingLawFigures();
}

void CompanyWindow::markMissingLawFigures()
{
    QStringList missing;
    reference::Company company;
    try {
        if (reference::loadCompany(data_, company))
            missing = reference::missingLawFigures(data_, company);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    const QString hint = QStringLiteral("Законът има процент за годината, а тук е празно или 0: попълнете го.");
    auto mark = [&](QWidget *w, const QString &column) {
        const bool on = missing.contains(column);
        w->setStyleSheet(on ? QStringLiteral("background: #ffe0a0;") : QString());
        w->setToolTip(on ? hint : QString());
        w->setProperty("lawFigureMissing", on);
    };
    mark(accident_, QStringLiteral("FIRMA_DOOPROCF3"));
    mark(edits_.value(QStringLiteral("FIRMA_DATA3")), QStringLiteral("FIRMA_DATA3"));
}

void CompanyWindow::show(const QString &column)
{
    QLineEdit *e = edits_.value(column);
    const int index = row_->columnIndex(column);
    if (!e || index < 0 || row_->rowCount() == 0) {
        if (e)
            e->clear();
        return;
    }
    QVariant v = row_->value(0, index);
    // Only a month closing writes it: a company's first month shows the month it is in.
    if (v.isNull() && column == QLatin1String("FIRMA_CURMES") && data_.period().isValid())
        v = data_.period().firstDay();
    QString text;
    if (v.isNull())
        text.clear();
    else if (row_->isDate(index))
        text = v.toDate().toString(util::displayDateFormat(util::Separators::current().date));
    else if (row_->kind(index) == storage::TableData::Kind::Number)
        text = decimalText(v.toDouble());
    else
        text = v.toString().trimmed();
    e->setText(text);
    e->setCursorPosition(0);
}

bool CompanyWindow::post(const QString &column, const QVariant &value)
{
    try {
        reference::postCompany(data_, {{column, value}});
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return false;
    }
    if (column == QLatin1String("FIRMA_DOOPROCF3") || column == QLatin1String("FIRMA_DATA3"))
        markMissingLawFigures();
    return true;
}

bool CompanyWindow::postTyped(const QString &column)
{
    const int index = row_->columnIndex(column);
    QLineEdit *e = edits_.value(column);
    if (index < 0 || !e || row_->rowCount() == 0)
        return false;
    QVariant value;
    if (!TableModel::parseTyped(e->text(), row_->kind(index), value)) {
        prompter_.message(QStringLiteral("\"%1\" не е валидна стойност.").arg(e->text().trimmed()));
        show(column); // the stored value stays
        return false;
    }
    const QVariant stored = row_->value(0, index);
    const bool blank = value.isNull() || value.toString().isEmpty();
    if (value == stored || (blank && (stored.isNull() || stored.toString().trimmed().isEmpty())))
        return true;
    if (!post(column, value))
        return false;
    if (column == QLatin1String("FIRMA_KID1")) {
        try {
            reference::activityTyped(data_, e->text());
        } catch (const fb::Error &err) {
            prompter_.message(err.message());
        }
    }
    // Only the posted columns show again: other fields may hold text not yet left.
    try {
        row_->reload();
    } catch (const fb::Error &err) {
        prompter_.message(err.message());
    }
    show(column);
    if (column == QLatin1String("FIRMA_KID1"))
        show(QStringLiteral("FIRMA_KID2"));
    return true;
}

void CompanyWindow::chooseActivity()
{
    NkidDialog dialog(data_, prompter_, edits_.value(QStringLiteral("FIRMA_KID1"))->text(),
                      edits_.value(QStringLiteral("FIRMA_KID2"))->text(), this);
    if (dialog.exec() != QDialog::Accepted || dialog.code().isEmpty() || dialog.number().isEmpty())
        return;
    try {
        reference::activitySelected(data_, dialog.code(), dialog.number());
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    load();
}

void CompanyWindow::chooseTown()
{
    const QString code = ChooserDialog::choose(data_, prompter_, employees::ChooserKind::Towns, false, this);
    if (code.isEmpty() || code == edits_.value(QStringLiteral("FIRMA_GRADCOD"))->text().trimmed())
        return;
    post(QStringLiteral("FIRMA_GRADCOD"), code.toInt());
    towns_->clear();
    activities_->clear();
    fillLists();
    load();
}

void CompanyWindow::ok()
{
    // A field still being typed in posts first; posting the name rebuilds the title even unchanged.
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it) {
        if (!it.value()->isReadOnly() && !postTyped(it.key()))
            return;
    }
    if (row_->rowCount() > 0)
        post(QStringLiteral("FIRMA_IME"), row_->value(0, QStringLiteral("FIRMA_IME")));
    const int digits = unitDigits_->text().trimmed().toInt();
    if (digits > 0)
        settings_.unitDigits = digits;
    accept();
}

} // namespace plavex::app
