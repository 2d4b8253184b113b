#pragma once

#include "calc/History.h"
#include "calc/Totals.h"
#include "items/ItemRecord.h"
#include "reference/Calendar.h"
#include "util/Period.h"

#include <QDate>
#include <QString>

#include <optional>

namespace plavex::reference {
struct NoiType;
struct Position;
}

namespace plavex::calc {

struct Parameters;

// The employee fields the calculation reads. Dates are invalid when empty.
struct Employee {
    int id = 0;
    int number = 0;
    QString name;
    int active = 1;        // PERSON_ACT, 1 = active
    int calendarCode = 0;  // PERSON_KALENDAR
    int insuranceType = 0; // PERSON_NOS read as a number
    int insuranceVariant = 0;
    int position = 0;   // PERSON_DLUV
    int paySystem = 0;  // PERSON_SYSZ
    bool reassigned = false; // PERSON_TRUSTR = 1, "Трудоустроен"
    QDate hired;
    QDate left;
};

// The last evaluated base-salary item (type 1 or 2), as it was before its
// own evaluation.
struct BaseItem {
    int type = 0;
    double amount1 = 0;
    double amount2 = 0;
};

// One employee's calculation: the parameters, the employee, the calendar
// with its leave and employment marks, the running totals. Nothing here
// touches the database except through the history.
struct Context {
    Context(const Parameters &params, const util::Period &period, const Employee &employee, History &history);

    const Parameters &params;
    util::Period period;
    Employee employee;
    History &history;
    reference::CalendarRecord calendar;
    Totals totals;
    const reference::NoiType *rate = nullptr;  // the employee's insurance type
    const reference::Position *position = nullptr;
    std::optional<BaseItem> base;
    double classRate = 0; // type-3 percent of the base rate

    int worked() const { return totals.odni; }                 // W
    int workingDays() const { return calendar.workingDays; }   // K
};

// The calculation's rounding: two decimals unless said otherwise.
double r2(double value);
// The part of a positive net pay (in cents) below the rounding unit.
double retainedCents(double net);

// Days from first to last (first below 1 counts from 1; last beyond the
// month is cut to it; last = -1 counts to the end of the month) whose
// calendar value is the given one.
int daysWithValue(const reference::CalendarRecord &calendar, int value, int first, int last);

// The item's begin-end range overlaps the period; an empty date lies
// before every period.
bool touches(const items::ItemRecord &item, const util::Period &period);
// No leaving date, or one after the period's last day.
bool stays(const Employee &employee, const util::Period &period);

// Leave and absence items, whose days are marked on the calendar and
// counted from it.
bool isLeaveType(int type);
// D of a leave item: its days in this month that carry its code.
void recountDays(items::ItemRecord &item, const reference::CalendarRecord &calendar, const util::Period &period);

// Pay of a leave from the month before it or from the base item.
double averageDaily(Context &context, const items::ItemRecord &item);

struct SickAverage {
    double benefit = 0; // D x daily
    double daily = 0;   // average daily insurable income
    double net = 0;     // average daily net pay, 0 without history
};
// The six calendar months before the month the sickness began.
SickAverage sickAverage(Context &context, const items::ItemRecord &item);

// Evaluates one item by its type and adds it to the running totals. Items
// must come in ascending type order.
void evaluateItem(Context &context, items::ItemRecord &item);

// WNETNO after every item.
void updateNet(Context &context);

} // namespace plavex::calc
