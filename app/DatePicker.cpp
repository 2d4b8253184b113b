#include "app/DatePicker.h"

#include "app/FormPlacement.h"

#include "app/CalendarGrid.h"
#include "reference/Calendar.h"
#include "util/MonthNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

DatePicker::DatePicker(const QDate &start, const QDate &fallback, QWidget *parent, storage::IniFile *ini)
    : QDialog(parent), grid_(new CalendarGrid(this)), caption_(new QLabel(this))
{
    setObjectName(QStringLiteral("fSetCalendar"));
    setWindowTitle(QStringLiteral("Календар"));
    auto *previous = new QPushButton(QStringLiteral("<"), this);
    auto *next = new QPushButton(QStringLiteral(">"), this);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Изход"), this);
    caption_->setAlignment(Qt::AlignCenter);

    auto *top = new QHBoxLayout;
    top->addWidget(previous);
    top->addWidget(caption_, 1);
    top->addWidget(next);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);

    if (ini)
        new FormPlacement(this, *ini, objectName());
    const QDate s = start.isValid() ? start : fallback.isValid() ? fallback : QDate::currentDate();
    showMonth(QDate(s.year(), s.month(), 1), s.day());

    connect(previous, &QPushButton::clicked, this, [this] { showMonth(grid_->firstDay().addMonths(-1), 1); });
    connect(next, &QPushButton::clicked, this, [this] { showMonth(grid_->firstDay().addMonths(1), 1); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (grid_->selectedDay() > 0)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (grid_->dayAt(row, column) > 0)
            accept();
    });
}

void DatePicker::showMonth(const QDate &firstDay, int day)
{
    grid_->showMonth(firstDay, CalendarGrid::flagsFromText(reference::defaultMonthText(5, firstDay)));
    grid_->selectDay(day);
    caption_->setText(util::monthName(firstDay.month()) + u' ' + QString::number(firstDay.year()));
}

QDate DatePicker::date() const
{
    const int day = grid_->selectedDay();
    return day > 0 ? grid_->firstDay().addDays(day - 1) : QDate();
}

QDate DatePicker::pick(const QDate &start, const QDate &fallback, QWidget *parent, storage::IniFile *ini)
{
    DatePicker picker(start, fallback, parent, ini);
    return picker.exec() == QDialog::Accepted ? picker.date() : QDate();
}

} // namespace plavex::app
