#pragma once

#include "reference/LawCalendar.h"

#include <QDate>
#include <QString>

#include <array>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {

// One employee's month as the calculation holds it: the calendar's working
// days plus the marks the calculation puts on days (leave, employment).
struct CalendarRecord {
    int code = 0;
    QString name;
    int month = 0;
    int daysInMonth = 0;
    int weekdayOfDay1 = 0; // Monday = 1 … Sunday = 7
    int year = 0;
    QString text;              // 31 characters, "1" = working day
    std::array<int, 32> day{}; // [1..31]: 0 day off, 1 working day, other marks
    int workingDays = 0;
};

// Working days of the month for a five- or six-day week. Months before 2017
// keep the program's fixed days off (1 Jan, 3 Mar, 1 and 24 May, 6 and 23
// Sep, 25 and 26 Dec); later ones take the law's calendar.
QString defaultMonthText(int workingWeek, const QDate &firstDay, const LawCalendar &law = LawCalendar());

// Days from first to last (a first day of 0 counts as 1, a last day past
// the month is cut to it) whose flag equals the given one.
int countDays(const CalendarRecord &calendar, int flag, int first, int last);

// Fills the record from a 31-character text for the given month. False
// (with the reason) when the text holds anything but digits.
bool setCalendarText(CalendarRecord &calendar, const QString &text, const QDate &firstDay, QString *error = nullptr);

// The law's calendar with the decided days shipped in the program's noms/.
LawCalendar lawCalendar(storage::DataModule &data);

// "Петдневна" and "Шестдневна " for the current month, when the table is empty.
void ensureDefaultCalendars(storage::DataModule &data);

// Every calendar of the current period (the default ones made first when
// there is none) with its working days, by number.
struct CalendarDays {
    int code = 0;
    QString name;
    int workingDays = 0;
};
std::vector<CalendarDays> calendarDays(storage::DataModule &data);

// Loads calendar `code` of the current period into the record; a code the
// period does not have leaves the record as it was (false).
bool loadCalendar(storage::DataModule &data, int code, CalendarRecord &calendar, QString *error = nullptr);

// "Нов": a calendar with a blank name and this month's five-day text; returns its number.
int newCalendar(storage::DataModule &data);
// Stores edited working days; refuses a text that is not 31 "0"/"1" characters.
bool setWorkingDays(storage::DataModule &data, int code, const QString &text, QString *error = nullptr);
void setCalendarName(storage::DataModule &data, int code, const QString &name);

} // namespace plavex::reference
