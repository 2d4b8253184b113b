#include "app/CalendarGrid.h"

#include <QHeaderView>

namespace plavex::app {

namespace {
const char *const kDayNames[] = {"Пон", "Вт", "Ср", "Ч", "П", "С", "Н"};

// Cell of a day: row = weekday, column = week (1..5), the sixth week folded
// back into the first column.
std::pair<int, int> cellOf(const QDate &firstDay, int day)
{
    const int offset = firstDay.dayOfWeek() - 1; // Monday = 0
    const int index = offset + day - 1;
    int column = index / 7 + 1;
    if (column > 5)
        column = 1;
    return {index % 7, column};
}
} // namespace

CalendarGrid::CalendarGrid(QWidget *parent) : QTableWidget(7, 6, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    const int rowHeight = fontMetrics().height() + 4;
    const int colWidth = fontMetrics().horizontalAdvance(QStringLiteral("Пон")) + 10;
    for (int r = 0; r < 7; ++r) {
        setRowHeight(r, rowHeight);
        auto *name = new QTableWidgetItem(QString::fromUtf8(kDayNames[r]));
        name->setFlags(Qt::ItemIsEnabled);
        setItem(r, 0, name);
    }
    for (int c = 0; c < 6; ++c)
        setColumnWidth(c, colWidth);
    setFixedSize(colWidth * 6 + 2 * frameWidth() + 2, rowHeight * 7 + 2 * frameWidth() + 2);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

std::array<int, 32> CalendarGrid::flagsFromText(const QString &text)
{
    std::array<int, 32> flags{};
    for (int i = 1; i <= 31 && i <= text.size(); ++i)
        flags[static_cast<size_t>(i)] = text[i - 1] == u'1' ? 1 : 0;
    return flags;
}

void CalendarGrid::showMonth(const QDate &firstDay, const std::array<int, 32> &flags, bool allRed)
{
    firstDay_ = firstDay;
    for (int r = 0; r < 7; ++r) {
        for (int c = 1; c < 6; ++c) {
            auto *cell = new QTableWidgetItem();
            cell->setFlags(Qt::NoItemFlags);
            setItem(r, c, cell);
        }
    }
    if (!firstDay.isValid())
        return;
    for (int day = 1; day <= firstDay.daysInMonth(); ++day) {
        const auto [row, column] = cellOf(firstDay, day);
        const int flag = flags[static_cast<size_t>(day)];
        auto *cell = item(row, column);
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setData(Qt::UserRole, day);
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (flag == 0 || flag == 1) {
            cell->setText(QString::number(day));
            cell->setForeground(allRed || flag == 0 ? Qt::red : Qt::black);
        } else {
            cell->setText(QString::number(flag));
            cell->setForeground(allRed ? Qt::red : Qt::darkGreen);
        }
    }
}

int CalendarGrid::dayAt(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return (column > 0 && cell) ? cell->data(Qt::UserRole).toInt() : 0;
}

void CalendarGrid::selectDay(int day)
{
    if (!firstDay_.isValid() || day < 1 || day > firstDay_.daysInMonth())
        return;
    const auto [row, column] = cellOf(firstDay_, day);
    setCurrentCell(row, column);
}

int CalendarGrid::selectedDay() const { return dayAt(currentRow(), currentColumn()); }

QString CalendarGrid::dayText(int day) const
{
    if (!firstDay_.isValid() || day < 1 || day > firstDay_.daysInMonth())
        return {};
    const auto [row, column] = cellOf(firstDay_, day);
    return item(row, column)->text();
}

} // namespace plavex::app
