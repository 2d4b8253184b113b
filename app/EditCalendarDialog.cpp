#include "app/EditCalendarDialog.h"

#include "app/FieldFilter.h"
#include "app/MonthGridDialog.h"
#include "reference/Calendar.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/TableData.h"
#include "storage/fb/Error.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

EditCalendarDialog::EditCalendarDialog(storage::DataModule &data, util::Prompter &prompter, int code, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), code_(code)
{
    setObjectName(QStringLiteral("fEditCalendar"));
    setWindowTitle(QStringLiteral("Редакция на календар"));
    storage::TableData row(data_, {QStringLiteral("CAL"),
                                   {QStringLiteral("CAL_IME"), QStringLiteral("CAL_MESEC"), QStringLiteral("CAL_GODINA"),
                                    QStringLiteral("CAL_RABDNI")},
                                   {},
                                   QStringLiteral("CAL_COD=?"),
                                   {code},
                                   {}});
    try {
        row.reload();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    const bool found = row.rowCount() > 0;
    month_ = found ? row.value(0, 1).toInt() : 0;
    year_ = found ? row.value(0, 2).toInt() : 0;
    auto *year = new QLineEdit(year_ ? QString::number(year_) : QString(), this);
    year->setReadOnly(true);
    auto *month = new QLineEdit(util::monthName(month_), this);
    month->setReadOnly(true);
    name_ = new QLineEdit(found ? row.value(0, 0).toString().trimmed() : QString(), this);
    name_->setMaxLength(30);
    FieldFilter::install(name_, util::KeyFilterKind::EnterOnly, prompter_);
    days_ = new QLineEdit(found ? row.value(0, 3).toString() : QString(), this);
    days_->setReadOnly(true);
    days_->setMinimumWidth(days_->fontMetrics().horizontalAdvance(QString(33, QLatin1Char('0'))));
    auto *grid = new QPushButton(QStringLiteral("..."), this);
    grid->setFixedWidth(32);
    grid->setToolTip(QStringLiteral("Редакция на работните дни"));
    auto *daysRow = new QHBoxLayout;
    daysRow->addWidget(days_, 1);
    daysRow->addWidget(grid);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Година"), year);
    form->addRow(QStringLiteral("Месец"), month);
    form->addRow(QStringLiteral("Наименование"), name_);
    form->addRow(QStringLiteral("Раб. дни"), daysRow);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(grid, &QPushButton::clicked, this, &EditCalendarDialog::editWorkingDays);
    connect(ok, &QPushButton::clicked, this, &EditCalendarDialog::store);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    name_->setFocus();
}

void EditCalendarDialog::editWorkingDays()
{
    const QDate first(year_, month_, 1);
    if (!first.isValid())
        return;
    MonthGridDialog grid(first, days_->text(), this);
    grid.exec();
    if (grid.text() == days_->text())
        return;
    QString error;
    try {
        if (!reference::setWorkingDays(data_, code_, grid.text(), &error)) {
            prompter_.message(error);
            return;
        }
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    days_->setText(grid.text());
}

void EditCalendarDialog::store()
{
    try {
        reference::setCalendarName(data_, code_, name_->text().trimmed());
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    accept();
}

} // namespace plavex::app
