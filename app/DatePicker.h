#pragma once

#include <QDate>
#include <QDialog>

class QLabel;

namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

class CalendarGrid;

// Tfsetcalendnar in picking mode: a month grid with previous/next month;
// "ОК" (or a double click on a day) returns the selected day's date.
class DatePicker : public QDialog {
    Q_OBJECT
public:
    // Starts on `start`, or on `fallback` (the period's first day) when invalid.
    // With a settings file the picker keeps its place there.
    DatePicker(const QDate &start, const QDate &fallback, QWidget *parent = nullptr, storage::IniFile *ini = nullptr);

    QDate date() const;
    CalendarGrid *grid() const { return grid_; }

    // Opens the picker and returns the date chosen, or an invalid date.
    static QDate pick(const QDate &start, const QDate &fallback, QWidget *parent = nullptr,
                      storage::IniFile *ini = nullptr);

private:
    void showMonth(const QDate &firstDay, int day);

    CalendarGrid *grid_;
    QLabel *caption_;
};

} // namespace plavex::app
