#include "calc/Evaluation.h"

#include "calc/Parameters.h"
#include "calc/PersonTotals.h"
#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>

namespace plavex::calc {

namespace {

// Formulas are worked out in extended precision and stored as doubles.
using Real = long double;

int monthKey(const util::CompactDate &date) { return date.year * 12 + date.month; } // 0 for no date
int monthKey(const util::Period &period) { return (period.year() - 1900) * 12 + period.month(); }

util::CompactDate dayOf(const util::Period &period, int day)
{
    return {static_cast<std::uint8_t>(period.year() - 1900), static_cast<std::uint8_t>(period.month()),
            static_cast<std::uint8_t>(day)};
}

bool in(int type, std::initializer_list<int> types) { return std::find(types.begin(), types.end(), type) != types.end(); }
bool between(int type, int from, int to) { return type >= from && type <= to; }

// Leave paid from the base item: a month's rate over the working days, or
// the daily tariff.
double fromBase(const Context &c, int days)
{
    if (!c.base)
        return 0;
    if (c.base->type == 1)
        return static_cast<double>(Real(c.base->amount1) / c.workingDays() * days);
    if (c.base->type == 2)
        return static_cast<double>(Real(days) * c.base->amount1);
    return 0;
}

// Worked days before the first day of a changed amount.
int workedBefore(const Context &c, int firstDay) { return daysWithValue(c.calendar, 1, 1, firstDay - 1); }

// Types 2, 4 and 19 are entered with the first day of the changed amount as
// a date ("От дата"), not as D: without a D the date gives the day.
int changeDay(const Context &c, const items::ItemRecord &item)
{
    if (item.d != 0 || item.type == 1 || item.beginPacked.isEmpty())
        return item.d;
    const int key = monthKey(item.beginPacked);
    if (key == monthKey(c.period))
        return item.beginPacked.day;
    return key < monthKey(c.period) ? 1 : 0;
}

// A monthly amount prorated to the worked days, or split at a changed amount.
void prorate(const Context &c, const items::ItemRecord &item, double &amount, double &full)
{
    const int W = c.worked();
    const int K = c.workingDays();
    if (item.amount2 == 0) {
        amount = static_cast<double>(W * (Real(item.amount1) / K));
        full = item.amount1;
        return;
    }
    const int U = workedBefore(c, changeDay(c, item));
    amount = static_cast<double>((U * Real(item.amount1) + (W - U) * Real(item.amount2)) / K);
    full = static_cast<double>((U * Real(item.amount1) + (K - U) * Real(item.amount2)) / K);
}

void takeBase(Context &c, const items::ItemRecord &item)
{
    c.base = BaseItem{item.type, item.amount1, item.amount2};
    c.totals.rr = item.code;
}

void baseSalary(Context &c, items::ItemRecord &item, double &full)
{
    Totals &t = c.totals;
    const int W = c.worked();
    const int K = c.workingDays();
    takeBase(c, item);
    switch (c.employee.paySystem) {
    case 1:
    case 2:
    case 6:
    case 7:
        prorate(c, item, item.amount, full);
        t.zapl = item.amount2 != 0 ? item.amount2 : item.amount1;
        t.szapl += item.amount;
        break;
    case 3: { // hourly: amount 2 holds the hours
        const Real P = 8.0L * W;
        const Real Q = 8.0L * K;
        item.amount = static_cast<double>(item.amount2 < P ? (item.amount2 / Q) * item.amount1 : (P / Q) * item.amount1);
        full = item.amount1;
        t.zapl = item.amount1;
        t.szapl += item.amount;
        break;
    }
    case 4:
        item.amount = item.amount2;
        t.zapl = item.amount1;
        full = item.amount1;
        t.szapl += static_cast<double>(W * (Real(item.amount1) / K));
        break;
    case 5:
        item.amount = item.amount2;
        t.zapl = item.amount1;
        full = item.amount1;
        t.szapl += item.amount;
        break;
    default:
        break;
    }
}

void dailyTariff(Context &c, items::ItemRecord &item, double &full)
{
    Totals &t = c.totals;
    const int W = c.worked();
    const int K = c.workingDays();
    takeBase(c, item);
    if (item.amount2 == 0) {
        item.amount = static_cast<double>(Real(W) * item.amount1);
        full = static_cast<double>(Real(K) * item.amount1);
    } else {
        const int U = workedBefore(c, changeDay(c, item));
        item.amount = static_cast<double>(U * Real(item.amount1) + (W - U) * Real(item.amount2));
        full = static_cast<double>(U * Real(item.amount1) + (K - U) * Real(item.amount2));
    }
    t.zapl = item.amount2 != 0 ? item.amount2 : item.amount1;
    t.szapl += item.amount;
}

// Types 11 and 12: the average of the latest earlier month with more than
// nine worked days, else the pay of the month before or of the base item.
double leavePay(Context &c, const items::ItemRecord &item)
{
    const Totals &t = c.totals;
    const int K = c.workingDays();
    for (const HistoryRow &row : c.history.earlierMonths(c.employee.id)) {
        if (row.period() >= c.period || row.odni <= 9)
            continue;
        Real amount = item.d * (Real(row.rabdni) / K) * (Real(row.bot12) / row.odni);
        // A raise since that month; a month without a base rate cannot show one.
        if (item.type == 12 && row.zapl > 0 && t.zapl > row.zapl && monthKey(item.beginPacked) >= monthKey(c.period))
            amount = (Real(t.zapl) / row.zapl) * amount;
        return static_cast<double>(amount);
    }
    Real amount = averageDaily(c, item);
    if (c.worked() != 0)
        amount += item.d * (Real(t.sklas) / c.worked());
    return static_cast<double>(amount);
}

double sicknessDaily(const SickAverage &s, int days) { return days <= 0 ? s.benefit : s.benefit / days; }

// Step 3: the item's final amount joins the totals.
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

double averageDaily(Context &c, const items::ItemRecord &item)
{
    if (monthKey(item.beginPacked) >= monthKey(c.period))
        return fromBase(c, item.d);
    if (item.beginPacked.isEmpty())
        return 0;
    const util::Period before = util::Period(item.beginPacked.year + 1900, item.beginPacked.month).previous();
    const auto row = c.history.month(c.employee.id, before);
    if (!row)
        return 0;
    if (row->rabdni > 0)
        return static_cast<double>(Real(row->zapl) / c.workingDays() * item.d);
    return fromBase(c, item.d);
}

SickAverage sickAverage(Context &c, const items::ItemRecord &item)
{
    Real fallback = averageDaily(c, item);
    if (item.d > 0)
        fallback /= item.d;
    Real base = 0;
    Real days = 0;
    Real net = 0;
    Real netDays = 0;
    if (!item.beginPacked.isEmpty()) {
        const util::Period began(item.beginPacked.year + 1900, item.beginPacked.month);
        util::Period first = began;
        for (int i = 0; i < 6; ++i)
            first = first.previous();
        const double max = c.params.company.maxInsurable;
        const double minimumWage = c.params.company.minSalary;
        for (const HistoryRow &row : c.history.window(c.employee.id, first, began.previous())) {
            if (row.sdni > 0) {
                base += row.bdoo;
                days += row.sdni;
                if (row.sdni < row.rabdni) {
                    base += Real(row.rabdni - row.sdni) / row.rabdni * minimumWage;
                    days += row.rabdni - row.sdni;
                }
            }
            Real monthNet = Real(row.sfrz) - row.sdod - row.wsdooli - row.supkb - row.suzdr - row.susocr - row.sudzpo;
            if (monthNet > max)
                monthNet = max;
            net += monthNet;
            netDays += row.sdni - row.odoo;
        }
    }
    SickAverage result;
    result.daily = static_cast<double>(days > 0 ? base / days : fallback);
    result.net = static_cast<double>(netDays > 0 ? net / netDays : 0);
    result.benefit = static_cast<double>(item.d * Real(result.daily));
    return result;
}

void evaluateItem(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    const items::Definition &def = items::findDefinition(c.params.definitions, item.code);
    const int type = item.type;
    const int W = c.worked();
    const int K = c.workingDays();
    if (type != 198)
        item.amount = 0;
    if (isLeaveType(type))
        recountDays(item, c.calendar, c.period);
    const int D = item.d;
    const bool inPeriod = touches(item, c.period);
    double full = 0;

    switch (type) {
    case 1:
        baseSalary(c, item, full);
        break;
    case 2:
        dailyTariff(c, item, full);
        break;
    case 3:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * t.szapl);
        full = static_cast<double>(Real(item.amount1) / 100 * t.zapl);
        t.sklas = item.amount;
        c.classRate = full;
        t.pr = item.amount1;
        t.prk = static_cast<std::uint8_t>(D);
        break;
    case 7:
    case 52:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * t.szapl);
        full = static_cast<double>(Real(item.amount1) / 100 * t.zapl);
        break;
    case 4:
    case 19:
        prorate(c, item, item.amount, full);
        break;
    case 5: {
        const Real hours = W * Real(c.params.hoursPerDay());
        item.amount = hours > 0 ? static_cast<double>((Real(item.amount1) / 100) * (t.szapl / hours) * item.amount2) : 0;
        if (!def.flag(4))
            t.wizvtrud += D;
        break;
    }
    case 6:
        item.amount = item.amount1;
        full = item.amount1;
        if (def.flag(4))
            t.bulgargaz = item.amount1;
        break;
    case 18:
        item.amount = item.amount1;
        if (def.flag(4))
            t.sobl += item.amount1;
        break;
    case 30:
    case 31:
    case 33:
    case 141:
    case 142:
    case 143:
    case 145:
        item.amount = item.amount1;
        break;
    case 155:
        item.amount = item.amount1;
        t.pero55 += item.amount1;
        break;
    case 8:
        item.amount = static_cast<double>(W * Real(item.amount1) * item.amount2);
        break;
    case 9:
        item.amount = static_cast<double>(Real(item.amount1) * item.amount2);
        break;
    case 10:
    case 17:
        item.amount = static_cast<double>(W * Real(item.amount1));
        full = static_cast<double>(K * Real(item.amount1));
        if (def.flag(4))
            t.sobl += item.amount;
        break;
    case 11:
    case 12:
        item.amount = leavePay(c, item);
        t.ofrz += D;
        break;
    case 13:
        item.amount = static_cast<double>(Real(t.bsl) / K * D);
        t.ofrz += D;
        break;
    case 14:
        t.onpl += D;
        t.nsdni += D;
        break;
    case 15:
        t.onpl += D;
        t.npls += D;
        break;
    case 16:
        item.amount = static_cast<double>(
            W * ((Real(item.amount1) * c.params.company.minSalary * c.params.company.coefficient1 * c.params.company.coefficient2 / 100) / K));
        full = item.amount;
        break;
    case 20:
        item.amount = static_cast<double>((Real(t.zapl) + c.classRate) / K);
        if (W + t.ofrz != 0)
            item.amount = static_cast<double>(Real(t.sfrz) / (W + t.ofrz));
        if (def.flag(4))
            t.sobl += item.amount;
        if (inPeriod) {
            t.odoo += D;
            t.dbol += D;
            t.dfbol += D;
        }
        break;
    case 21: {
        const SickAverage s = sickAverage(c, item);
        t.testsbol = sicknessDaily(s, D);
        item.amount = static_cast<double>(0.9L * s.benefit);
        t.wdoo22 += item.amount;
        if (inPeriod) {
            t.wdnitrzl = D;
            t.odoo += D;
            t.sbol += item.amount;
            t.dbol += D;
            if (def.flag(3)) {
                t.doosbol += item.amount;
                t.dfbol += D;
            }
        }
        break;
    }
    case 22:
        if (inPeriod) {
            t.odoo += D;
            t.dni23 += D;
            t.omajki += D;
        }
        break;
    case 23:
    case 24:
    case 27:
        if (inPeriod) {
            t.odoo += D;
            if (type == 24)
                t.omajki += D;
            else
                t.dbol += D;
            if (type == 27 && def.flag(3))
                t.dfbol += D;
            t.bolnNoi += static_cast<double>(D * (Real(c.params.company.minInsurable) / K));
        }
        break;
    case 25: {
        const SickAverage s = sickAverage(c, item);
        t.testsbol = sicknessDaily(s, D);
        item.amount = s.benefit;
        t.wdoo22 += item.amount;
        if (inPeriod) {
            t.odoo += D;
            t.sbol += item.amount;
            t.dbol += D;
            if (def.flag(3))
                t.dfbol += D;
        }
        break;
    }
    case 26: {
        const SickAverage s = sickAverage(c, item);
        t.testsbol = sicknessDaily(s, D);
        item.amount = static_cast<double>(0.8L * s.benefit);
        const Real capped = D * Real(s.net);
        if (capped < item.amount && capped > 0.01L)
            item.amount = static_cast<double>(capped);
        t.wdoo22 += item.amount;
        if (inPeriod) {
            t.odoo += D;
            t.sbol += item.amount;
            t.dbol += D;
            if (def.flag(3)) {
                t.doosbol += item.amount;
                t.dfbol += D;
            }
        }
        break;
    }
    case 29:
        item.amount = static_cast<double>(W * ((Real(item.amount1) / 100 * c.params.company.minSalary) / K));
        full = item.amount;
        break;
    case 32:
        item.amount = static_cast<double>(W * Real(item.amount1));
        break;
    case 34:
        item.amount = static_cast<double>((t.sdni - t.npls) * Real(item.amount1) / K);
        break;
    case 35:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * t.zapl);
        t.special35 = item.amount;
        break;
    case 37:
        item.amount = item.amount1;
        full = item.amount1;
        t.pero37 += item.amount1;
        break;
    case 100:
        item.amount = t.snach;
        break;
    case 101:
        item.amount = item.amount1;
        t.s54 += item.amount1;
        if (def.flag(4))
            t.pero54 += item.amount1;
        break;
    case 139:
        evaluateContribution(c, item, full);
        break;
    case 140:
        evaluateIncomeTax(c, item);
        break;
    case 144:
        item.amount = item.amount1 != 0 ? item.amount1 : item.amount2;
        break;
    case 146:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * t.ssoc);
        break;
    case 147:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * (Real(t.sobl) - t.sdod));
        break;
    case 148:
    case 197: {
        // Last month's retained cents come back; this month's net keeps
        // whole leva only.
        item.amount = -item.amount1;
        const double x = r2(t.snach - t.sudr + item.amount1);
        item.amount2 = 0;
        if (x > 0 && stays(c.employee, c.period)) {
            const double cents = retainedCents(x);
            if (cents > 0) {
                item.amount += cents;
                item.amount2 = cents;
            }
        }
        t.ud1 = item.amount1;
        t.ud2 = item.amount2;
        break;
    }
    case 150:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * (Real(t.sfrz) - t.sdod - t.sp2doo));
        break;
    case 151:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * t.sfrz);
        break;
    case 153:
        item.amount = static_cast<double>(Real(item.amount1) / 100 * (Real(t.sobl) - t.ssoc - t.sdod));
        break;
    case 198: {
        const int target = items::findDefinition(c.params.definitions, D).type;
        if (in(target, {20, 21, 23, 25, 26, 27}))
            t.wdoo22 += item.amount1;
        updateNet(c);
        return; // its amount went onto the target's correction
    }
    case 199:
        item.amount = std::max(0.0, t.snach - t.sudr);
        break;
    case 200:
        item.amount = t.sudr;
        break;
    case 201:
        t.spol = r2(t.snach - t.sudr);
        item.amount = t.spol;
        break;
    default: // 28, 36, 38, 152 and unknown types: no amount
        break;
    }
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
