#pragma once

#include "calc/History.h"
#include "calc/Totals.h"
#include "items/ItemRecord.h"
#include "reference/Calendar.h"
#include "util/Period.h"

#include <QDate>
#include <QString>

#include <map>
#include <optional>
#include <vector>

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

// The sick days an employer pays (type 20) by the law of the month the
// incapacity began: what the calculation paid and the sick-leave slip
// prints.
struct EmployerSickPay {
    util::Period onset;     // the month the incapacity began
    int lawDays = 0;        // the employer's working days by that month's law; 0: the older rule
    bool continuation = false; // continues an earlier certificate without a break: no employer's days
    int daysBefore = 0;     // of the incapacity's working days, those in earlier months
    int days = 0;           // the employer's days paid in this month
    double dailyGross = 0;  // the onset month's gross over the days it pays
    double dailyAgreed = 0; // the agreed monthly pay over the month's working days
    double rate = 0;        // 0.7 by the law; 1 for the older rule's one day
    double amount = 0;      // rate x the larger daily x days (unrounded)
    bool olderRule() const { return lawDays == 0; }
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
    // All the employee's items of the month, when the caller has them: a
    // sickness looks at the one before it.
    const std::vector<items::ItemRecord> *items = nullptr;
    // What each type-20 item was paid, by item id.
    std::map<int, EmployerSickPay> employerSick;

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
// The cents of a positive net below the rounding unit, kept back on the
// item (its amount and PERO_SUMA2) when the employee stays past the month.
void keepRetainedCents(const Context &context, items::ItemRecord &item, double net);

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
// The fund's average from 2015 (КСО art. 41 (1)): the insurable income of
// the 18 calendar months before the month of onset over their insured
// days, and the average daily net pay of the same months.
SickAverage fundSickAverage(Context &context, const items::ItemRecord &item);

// The employer's sick days of a type-20 item and their pay, from the
// totals so far (the item's turn in type order). From 07.2010 the first
// working days of the incapacity by the onset month's law, each at 70 % of
// the larger of the onset month's average daily gross (its gross over the
// days it pays: worked days and paid leave) and of the agreed pay's daily
// share (the monthly rate and class over the month's working days; a daily
// tariff as it is). Before 07.2010 one day at the month's average pay.
EmployerSickPay employerSickPay(Context &context, const items::ItemRecord &item);

// Evaluates one item by its type and adds it to the running totals. Items
// must come in ascending type order.
void evaluateItem(Context &context, items::ItemRecord &item);

// WNETNO after every item.
void updateNet(Context &context);

} // namespace plavex::calc
