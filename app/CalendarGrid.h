#pragma once

#include <QDate>
#include <QTableWidget>

#include <array>

namespace plavex::app {

// A month as 7 rows (Monday to Sunday) by 6 columns: the weekday names,
// then the day numbers week by week. Days of a sixth week go into the
// first week's empty cells, so every month fits. Flag 0 draws red, 1
// black, any other mark its number in green.
class CalendarGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit CalendarGrid(QWidget *parent = nullptr);

    // flags[1..31]; `allRed` draws every day red (a dismissed employee).
    void showMonth(const QDate &firstDay, const std::array<int, 32> &flags, bool allRed = false);
    // Flags from a 31-character working-days text.
    static std::array<int, 32> flagsFromText(const QString &text);

    QDate firstDay() const { return firstDay_; }
    // The day in a cell; 0 for the names and empty cells.
    int dayAt(int row, int column) const;
    void selectDay(int day);
    int selectedDay() const;
    QString dayText(int day) const; // what the cell of the day shows

private:
    QDate firstDay_;
};

} // namespace plavex::app
