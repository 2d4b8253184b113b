#include "app/MonthGridDialog.h"

#include "app/CalendarGrid.h"
#include "util/MonthNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

MonthGridDialog::MonthGridDialog(const QDate &firstDay, const QString &text, QWidget *parent)
    : QDialog(parent), firstDay_(firstDay), original_(text), text_(text.leftJustified(31, QLatin1Char('0'), true))
{
    setObjectName(QStringLiteral("fsetcalendnar"));
    setWindowTitle(QStringLiteral("Работни дни"));
    auto *caption = new QLabel(QStringLiteral("%1 %2").arg(util::monthName(firstDay.month())).arg(firstDay.year()), this);
    caption->setAlignment(Qt::AlignCenter);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    grid_ = new CalendarGrid(this);
    grid_->showMonth(firstDay_, CalendarGrid::flagsFromText(text_));
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(grid_, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    connect(grid_, &CalendarGrid::cellDoubleClicked, this, [this](int row, int column) { toggle(grid_->dayAt(row, column)); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void MonthGridDialog::toggle(int day)
{
    if (day < 1 || day > firstDay_.daysInMonth())
        return;
    text_[day - 1] = text_.at(day - 1) == QLatin1Char('1') ? QLatin1Char('0') : QLatin1Char('1');
    grid_->showMonth(firstDay_, CalendarGrid::flagsFromText(text_));
    grid_->selectDay(day);
}

} // namespace plavex::app
