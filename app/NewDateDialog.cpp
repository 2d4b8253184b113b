#include "app/NewDateDialog.h"

#include "app/FieldFilter.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plavex::app {

NewDateDialog::NewDateDialog(int year, int month, util::Prompter &prompter, QWidget *parent)
    : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("fNewDate"));
    setWindowTitle(QStringLiteral("Нова дата"));
    month_ = new QComboBox(this);
    for (int m = 1; m <= 12; ++m)
        month_->addItem(util::monthName(m));
    month_->setCurrentIndex(std::clamp(month, 1, 12) - 1);
    year_ = new QSpinBox(this);
    year_->setRange(1000, 9999);
    year_->setValue(year);
    yearEdit()->setMaxLength(4);
    FieldFilter::install(yearEdit(), util::KeyFilterKind::Digits, prompter_);
    new EnterMovesFocus(month_);
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Месец"), month_);
    form->addRow(QStringLiteral("Година (гггг)"), year_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &NewDateDialog::tryAccept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *NewDateDialog::yearEdit() const { return year_->findChild<QLineEdit *>(); }

int NewDateDialog::year() const { return year_->cleanText().trimmed().toInt(); }

int NewDateDialog::month() const { return month_->currentIndex() + 1; }

void NewDateDialog::tryAccept()
{
    // The box holds what was typed even when it is below its range.
    if (year_->cleanText().trimmed().size() <= 3) {
        prompter_.message(
            QStringLiteral("Моля попълнете данни в полето \"ГОДИНА\" или натиснете бутона \"Изход\"."));
        year_->setFocus();
        return;
    }
    accept();
}

} // namespace plavex::app
