#include "app/EarlierMonthsPage.h"

#include "app/GridExport.h"
#include "app/PeriodDialog.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "calc/MonthlyRecord.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/Currency.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

// The list's columns after the employee, year and month, with their
// captions. Several figures are days or base pay of a different kind: each
// caption says which, so that no two read alike.
const std::pair<const char *, const char *> kShown[] = {
    {"PERSDATA_ZAPL", "Осн. заплата (ставка)"}, {"PERSDATA_RABDNI", "Работни дни"},
    {"PERSDATA_BOT12", "База за отпуск"},        {"PERSDATA_ODNI", "Отработени дни"},
    {"PERSDATA_BDOO", "База болн."},             {"PERSDATA_SDNI", "Осиг. дни"},
    {"PERSDATA_SFRZ", "ФРЗ"},                    {"PERSDATA_SZAPL", "Осн. заплата (месец)"},
    {nullptr, "Дни без отсъствия"},              {"PERSDATA_ODOO", "Дни болн. и майчинство"},
    {"PERSDATA_SOBL", "Обл. сума"},              {"PERSDATA_OFRZ", "Дни платен отпуск"},
    {"PERSDATA_SDOD", "ДОД"},                    {"PERSDATA_WSDOOLI", "Лично ДОО"},
    {"PERSDATA_SUDZPO", "Лично ДЗПО"},           {"PERSDATA_SUPKB", "Лично ПКБ"},
    {"PERSDATA_SUZDR", "Лично ЗО"},              {"PERSDATA_SUSOCR", "Лични социални (обезщ.)"},
    {"PERSDATA_SBOL", "Болнични (суми)"},        {"PERSDATA_DOOSBOL", "Болнични в база болн."},
    {"PERSDATA_WCOSUMA", "Осиг. доход"},         {"PERSDATA_DFBOL", "Дни болн. фирма"},
    {"PERSDATA_DBOL", "Дни Болнични"},
};

QStringList readColumns()
{
    return QString::fromLatin1("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SZAPL,PERSDATA_RABDNI,"
                               "PERSDATA_BOT12,PERSDATA_ODNI,PERSDATA_BDOO,PERSDATA_ODOO,PERSDATA_SFRZ,PERSDATA_OFRZ,"
                               "PERSDATA_SOBL,PERSDATA_SDOD,PERSDATA_WSDOOLI,PERSDATA_DOOSBOL,PERSDATA_WCOSUMA,"
                               "PERSDATA_SDNI,PERSDATA_SUPKB,PERSDATA_SUZDR,PERSDATA_DBOL,PERSDATA_DFBOL,"
                               "PERSDATA_SUDZPO,PERSDATA_ZAPL,PERSDATA_SBOL,PERSDATA_SUSOCR")
        .split(u',');
}

} // namespace

EarlierMonthsPage::EarlierMonthsPage(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QWidget(parent), data_(data), prompter_(prompter),
      model_(new TableModel(data,
                            {QStringLiteral("PERSDATA"), readColumns(),
                             {QStringLiteral("PERSDATA_PERSONID"), QStringLiteral("PERSDATA_GOD"),
                              QStringLiteral("PERSDATA_MES")},
                             QStringLiteral("PERSDATA_PERSONID=?"), {0},
                             QStringLiteral("PERSDATA_GOD desc, PERSDATA_MES desc")},
                            prompter, this)),
      view_(new QTableView(this)), header_(new QLabel(this)),
      add_(new QPushButton(QStringLiteral("Добавяне на запис"), this)),
      remove_(new QPushButton(QStringLiteral("Изтриване на запис"), this))
{
    std::vector<TableModel::Column> columns;
    QSet<QString> editable;
    for (const auto &[column, caption] : kShown) {
        if (column) {
            columns.push_back({QString::fromLatin1(column), QString::fromUtf8(caption)});
            editable.insert(QString::fromLatin1(column));
        } else {
            columns.push_back({{}, QString::fromUtf8(caption), [this](int r) {
                                   return model_->raw(r, QStringLiteral("PERSDATA_SDNI")).toInt()
                                          - model_->raw(r, QStringLiteral("PERSDATA_ODOO")).toInt();
                               }});
        }
    }
    model_->setColumns(columns);
    // Year and month are no grid columns and never edited; each row is headed by its month.
    // Months before the euro keep their amounts in leva (the calculation
    // converts them as it reads): a euro month says which rows those are.
    model_->setRowHeader([this](int r) {
        const util::Period month(model_->raw(r, QStringLiteral("PERSDATA_GOD")).toInt(),
                                 model_->raw(r, QStringLiteral("PERSDATA_MES")).toInt());
        QString text = util::monthName(month.month()) + u' ' + QString::number(month.year());
        if (util::levaIntoEuro(month, data_.period()))
            text += QStringLiteral(" (") + util::currencyOf(month).abbreviation + u')';
        return text;
    });
    model_->setEditable(editable);
    view_->setModel(model_);
    addGridExport(view_);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->resizeColumnsToContents();
    new WheelToArrows(view_);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);

    connect(add_, &QPushButton::clicked, this, &EarlierMonthsPage::addPressed);
    connect(remove_, &QPushButton::clicked, this, &EarlierMonthsPage::deletePressed);
    connect(model_, &TableModel::posted, this, &EarlierMonthsPage::changed);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(view_);
    layout->addLayout(buttons);
}

void EarlierMonthsPage::showEmployee(int id)
{
    personId_ = id;
    model_->reload({id});
    reload();
}

void EarlierMonthsPage::reload()
{
    model_->reload();
    view_->verticalHeader()->setVisible(model_->rowCount() > 0);
    view_->resizeColumnsToContents();
}

void EarlierMonthsPage::setHeader(const QString &text, bool red)
{
    header_->setText(text);
    header_->setStyleSheet(red ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
}

void EarlierMonthsPage::setEditable(bool editable)
{
    editable_ = editable;
    add_->setEnabled(personId_ != 0);
    remove_->setEnabled(personId_ != 0);
}

bool EarlierMonthsPage::addMonth(const util::Period &period)
{
    if (personId_ == 0)
        return false;
    try {
        if (!calc::addEarlierMonth(data_, prompter_, personId_, period))
            return false;
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
        return false;
    }
    reload();
    emit changed();
    return true;
}

void EarlierMonthsPage::addPressed()
{
    PeriodDialog dialog(QStringLiteral("Добавяне на запис"), data_.period(), this, &data_.settings().ini());
    if (dialog.exec() == QDialog::Accepted)
        addMonth(dialog.period());
}

void EarlierMonthsPage::deletePressed()
{
    const QModelIndex current = view_->currentIndex();
    if (personId_ == 0 || model_->rowCount() == 0 || !current.isValid())
        return;
    const util::Period period(model_->raw(current.row(), QStringLiteral("PERSDATA_GOD")).toInt(),
                              model_->raw(current.row(), QStringLiteral("PERSDATA_MES")).toInt());
    try {
        if (!calc::deleteEarlierMonth(data_, prompter_, personId_, period))
            return;
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при изтриване: %1").arg(storage::errorText(e)));
        return;
    }
    reload();
    emit changed();
}

} // namespace plavex::app
