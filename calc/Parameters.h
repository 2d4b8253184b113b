#pragma once

#include "items/Definitions.h"
#include "reference/Calendar.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "reference/TaxScale.h"

#include <QString>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::calc {

// Everything the calculation reads from the reference tables, held in
// memory and reloaded by the tables' own events (after open, after post),
// so the calculation never queries a reference table while it works.
struct Parameters {
    reference::Company company;
    std::vector<reference::NoiType> rates;
    reference::TaxScale taxScale;
    std::vector<reference::Position> positions{reference::Position{}};
    std::vector<items::Definition> definitions;
    reference::CalendarRecord calendar;
    // The law's days off, for the months whose calendars are not at hand.
    reference::LawCalendar lawCalendar;
    QString calendarError; // why the last calendar could not be loaded, if it could not

    // Fixed constants of the calculation.
    static constexpr double kHoursPerDayFiveDayWeek = 8.0;
    static constexpr double kHoursPerDaySixDayWeek = 8.0;
    static constexpr double kRetainedCentsUnit = 1.0;
    static constexpr bool kNegativeNetSecondPass = true;

    // Subscribes to the data module's table events; the object must outlive
    // the data module's use of it.
    void attach(storage::DataModule &data);
    // Reloads what one table feeds ("FIRMA", "NOI", "DOD", "DL", "KAT", "PERADEFS", "CAL").
    void reload(storage::DataModule &data, const QString &base);
    void reloadAll(storage::DataModule &data);
    // Everything loaded once, when a calculation first needs it: a command
    // refused before that writes nothing, not even the default calendars.
    void ensureLoaded(storage::DataModule &data);
    bool loaded = false;
    // The employee's calendar for the current period.
    bool loadCalendar(storage::DataModule &data, int code);

    // The position of the code; the first one when none has it.
    const reference::Position &findPosition(int code) const;
    // Hours of a working day for the company's working week.
    double hoursPerDay() const;
};

} // namespace plavex::calc
