#include "app/PeriodDialog.h"

#include "app/FormPlacement.h"

#include "util/MonthNames.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plavex::app {

PeriodDialog::PeriodDialog(const QString &caption, const util::Period &start, QWidget *parent, storage::IniFile *ini)
    : QDialog(parent), month_(new QComboBox(this)), year_(new QSpinBox(this))
{
    setObjectName(QStringLiteral("fChangecurdate"));
    setWindowTitle(caption);
    for (int m = 1; m <= 12; ++m)
        month_->addItem(util::monthName(m), m);
    year_->setRange(1990, 2100);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Месец"), month_);
    form->addRow(QStringLiteral("Година"), year_);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отказ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setPeriod(start.isValid() ? start : util::Period::today());
    if (ini)
        new FormPlacement(this, *ini, objectName());
}

util::Period PeriodDialog::period() const { return util::Period(year_->value(), month_->currentData().toInt()); }

void PeriodDialog::setPeriod(const util::Period &period)
{
    month_->setCurrentIndex(period.month() - 1);
    year_->setValue(period.year());
}

} // namespace plavex::app
