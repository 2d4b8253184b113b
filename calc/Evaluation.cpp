#include "calc/Evaluation.h"

#include "calc/EvaluationFamilies.h"
#include "calc/Parameters.h"
#include "calc/PersonTotals.h"
#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>

namespace plavex::calc {

namespace {

using families::monthKey;

// A day of the period in the items' packed form, to compare with their dates.
util::CompactDate dayOf(const util::Period &period, int day)
{
    return {static_cast<std::uint8_t>(period.year() - 1900), static_cast<std::uint8_t>(period.month()),
            static_cast<std::uint8_t>(day)};
}

bool in(int type, std::initializer_list<int> types) { return std::find(types.begin(), types.end(), type) != types.end(); }
bool between(int type, int from, int to) { return type >= from && type <= to; }

// The type's formula, by family. Types 28, 36, 38 and 152 and unknown
// types have none: their amount stays 0.
void applyFormula(Context &c, items::ItemRecord &item, const items::Definition &def, double &full)
{
    using namespace families;
    switch (item.type) {
    case 1: case 2:
        basePay(c, item, full);
        break;
    case 3: case 5: case 7: case 35: case 52:
        percentOfPay(c, item, def, full);
        break;
    case 4: case 8: case 10: case 16: case 17: case 19: case 29: case 32: case 34:
        proportionalToDays(c, item, def, full);
        break;
    case 6: case 9: case 18: case 30: case 31: case 33: case 37:
        enteredEarning(c, item, def, full);
        break;
    case 11: case 12: case 13: case 14: case 15:
        leave(c, item);
        break;
    case 20:
        employerSickDays(c, item, def);
        break;
    case 21: case 25: case 26:
        sicknessBenefit(c, item, def);
        break;
    case 22: case 23: case 24: case 27:
        absenceDays(c, item, def);
        break;
    case 101: case 141: case 142: case 143: case 144: case 145: case 146: case 147: case 150: case 151: case 153: case 155:
        deduction(c, item, def);
        break;
    case 139:
        evaluateContribution(c, item, full);
        break;
    case 140:
        evaluateIncomeTax(c, item);
        break;
    case 148: case 197:
        retainedCentsItem(c, item);
        break;
    case 100: case 199: case 200: case 201:
        total(c, item);
        break;
    default:
        break;
    }
}

// The item's final amount joins the totals.
void accumulate(Context &c, items::ItemRecord &item, const items::Definition &def, double full)
{
    Totals &t = c.totals;
    const int type = item.type;
    item.final = r2(item.amount + item.correction);
    const double final = item.final;
    if (items::isDeduction(type)) {
        t.sudr += final;
        if (between(type, 150, 153))
            t.sum50 += final;
        return;
    }
    if (type == 1 || type == 2)
        t.szapl += item.correction;
    if (items::isEarning(type))
        t.snach += final;
    if (between(type, 1, 16) || in(type, {29, 33, 35, 37}))
        t.sobl += final;
    if (between(type, 1, 16) || in(type, {29, 35, 37}))
        t.sfrz += final;
    if (between(type, 17, 19)) {
        t.ssoc += final;
        t.wcosoc += final;
    }
    if (between(type, 1, 3) || ((between(type, 4, 10) || in(type, {16, 29, 35})) && def.flag(2)))
        t.bot12 += final;
    if (in(type, {1, 2, 11, 12, 13}) || (def.flag(3) && (between(def.type, 3, 16) || in(def.type, {29, 35}))))
        t.bdoo += item.amount;
    if (between(type, 1, 3) || (between(type, 4, 10) && def.flag(4)))
        t.bsl += full;
    if ((between(type, 11, 13) || in(type, {15, 16}) || between(type, 20, 28)) && touches(item, c.period))
        t.sdni += item.d;
    if (in(type, {22, 23, 24, 25, 28, 30, 34, 36}) || (in(type, {21, 26}) && !def.flag(3)))
        t.sdoo += final;
    if (in(type, {21, 23, 24, 25, 26}))
        t.s6zdr += final;
    if (in(type, {21, 23, 25, 26}))
        t.wcobol += final;
    if (type == 24)
        t.wmdo2 += final;
    if (type == 20)
        t.bolnFirma += final;
}

} // namespace

Context::Context(const Parameters &p, const util::Period &per, const Employee &e, History &h)
    : params(p), period(per), employee(e), history(h), calendar(p.calendar)
{
    rate = reference::findRate(p.rates, e.insuranceType, e.insuranceVariant);
    position = &p.findPosition(e.position);
}

double r2(double value) { return util::roundHalfEven(value, 2); }

double retainedCents(double net)
{
    const double unit = Parameters::kRetainedCentsUnit;
    return r2(net - std::trunc(net / unit) * unit);
}

int daysWithValue(const reference::CalendarRecord &calendar, int value, int first, int last)
{
    return reference::countDays(calendar, value, first, last == -1 ? calendar.daysInMonth : last);
}

bool touches(const items::ItemRecord &item, const util::Period &period)
{
    const util::CompactDate first = dayOf(period, 1);
    const util::CompactDate last = dayOf(period, period.daysInMonth());
    const util::CompactDate &b = item.beginPacked;
    const util::CompactDate &e = item.endPacked;
    return !(b < first && e < first) && !(b > last && e > last);
}

bool stays(const Employee &employee, const util::Period &period)
{
    return !employee.left.isValid() || employee.left > period.next().firstDay().addDays(-1);
}

void keepRetainedCents(const Context &c, items::ItemRecord &item, double net)
{
    item.amount2 = 0;
    if (net > 0 && stays(c.employee, c.period)) {
        const double cents = retainedCents(net);
        if (cents > 0) {
            item.amount += cents;
            item.amount2 = cents;
        }
    }
}

bool isLeaveType(int type) { return between(type, 11, 15) || between(type, 20, 28); }

void recountDays(items::ItemRecord &item, const reference::CalendarRecord &calendar, const util::Period &period)
{
    const int current = monthKey(period);
    const int began = monthKey(item.beginPacked);
    const bool endsThisMonth = monthKey(item.endPacked) == current;
    int from = 0;
    int to = 0;
    if (began == current) {
        from = item.beginPacked.day;
        to = endsThisMonth ? item.endPacked.day : calendar.daysInMonth;
    } else if (began < current && item.endPacked >= dayOf(period, 1)) {
        from = 1;
        to = endsThisMonth ? item.endPacked.day : calendar.daysInMonth;
    } else if (began > current) {
        item.d = 0;
        return;
    } else {
        return; // over before the period: the days stay as entered
    }
    item.d = reference::countDays(calendar, item.code, from, to);
}

void evaluateItem(Context &c, items::ItemRecord &item)
{
    const items::Definition &def = items::findDefinition(c.params.definitions, item.code);
    if (item.type == 198) {
        families::correction(c, item); // its amount stays as the corrections left it
        updateNet(c);
        return;
    }
    item.amount = 0;
    if (isLeaveType(item.type))
        recountDays(item, c.calendar, c.period);
    double full = 0;
    applyFormula(c, item, def, full);
    accumulate(c, item, def, full);
    updateNet(c);
}

void updateNet(Context &c)
{
    Totals &t = c.totals;
    double net = t.sfrz - t.sdod - t.sudoo - t.supkb - t.suzdr - t.sudzpo - t.susocr;
    if (net < 0)
        net = 0;
    if (net > c.params.company.maxInsurable)
        net = c.params.company.maxInsurable;
    t.wnetno = net;
}

} // namespace plavex::calc
