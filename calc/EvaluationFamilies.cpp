#include "calc/EvaluationFamilies.h"

#include "calc/LawOfMonth.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "reference/Calendar.h"

#include <algorithm>
#include <cstdint>

namespace plavex::calc {

using families::monthKey;
using families::Real;

namespace {

// Kept in extended precision: a rounded percent would shift the cents.
Real percentOf(double percent, Real of) { return Real(percent) / 100 * of; }

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

// The base item as it was before its own evaluation: leave of a later
// item is paid from it.
void takeBase(Context &c, const items::ItemRecord &item)
{
    c.base = BaseItem{item.type, item.amount1, item.amount2};
    c.totals.rr = item.code;
}

// Type 1 by the employee's pay system; other systems have no base pay.
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

// Type 2: the daily tariff times the worked days.
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

// The benefit of D days from the average: work accident 90 %, care of a
// child 100 %, care of the sick 80 % and not above the average net pay.
double benefitAmount(int type, const SickAverage &s, int D)
{
    if (type == 21)
        return static_cast<double>(0.9L * s.benefit);
    if (type == 25)
        return s.benefit;
    const double amount = static_cast<double>(0.8L * s.benefit);
    const Real capped = D * Real(s.net);
    return capped < amount && capped > 0.01L ? static_cast<double>(capped) : amount;
}

} // namespace

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

namespace {

// The average daily income of the months before the one the sickness
// began, and the average daily net pay of the same months; a working day
// without insurance counts at the minimum wage.
SickAverage averageOver(Context &c, const items::ItemRecord &item, int months, double HistoryRow::*income)
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
        for (int i = 0; i < months; ++i)
            first = first.previous();
        const double max = c.params.company.maxInsurable;
        const double minimumWage = c.params.company.minSalary;
        for (const HistoryRow &row : c.history.window(c.employee.id, first, began.previous())) {
            if (row.sdni > 0) {
                base += row.*income;
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

} // namespace

SickAverage sickAverage(Context &c, const items::ItemRecord &item) { return averageOver(c, item, 6, &HistoryRow::bdoo); }

SickAverage fundSickAverage(Context &c, const items::ItemRecord &item)
{
    return averageOver(c, item, kFundBenefitMonths, &HistoryRow::wcosuma);
}

namespace {

util::Period onsetOf(const Context &c, const items::ItemRecord &item)
{
    if (item.beginPacked.isEmpty())
        return c.period;
    return util::Period(item.beginPacked.year + 1900, item.beginPacked.month);
}

// Working days of the incapacity in the months before this one. Those
// months' own calendars are not at hand: their working days are the
// company's working week less the days off of their law.
int workingDaysBefore(const Context &c, const items::ItemRecord &item, const util::Period &onset)
{
    int days = 0;
    for (util::Period month = onset; month < c.period; month = month.next()) {
        reference::CalendarRecord calendar;
        const QDate first = month.firstDay();
        if (!reference::setCalendarText(calendar, reference::defaultMonthText(c.params.company.workingWeek, first, c.params.lawCalendar), first))
            continue;
        const int from = month == onset ? item.beginPacked.day : 1;
        days += reference::countDays(calendar, 1, from, calendar.daysInMonth);
    }
    return days;
}

// Another sickness of the month that runs up to the day before this one
// began (or past it): this one continues it, and the employer's days were
// those of the first.
bool continuesAnother(const Context &c, const items::ItemRecord &item)
{
    if (!c.items || !item.hasBegin())
        return false;
    for (const items::ItemRecord &other : *c.items) {
        if (&other == &item || (other.id != 0 && other.id == item.id))
            continue;
        const bool sickness = other.type == 20 || other.type == 21 || other.type == 26 || other.type == 27;
        if (sickness && other.hasBegin() && other.hasEnd() && other.begin < item.begin && other.end >= item.begin.addDays(-1))
            return true;
    }
    return false;
}

} // namespace

EmployerSickPay employerSickPay(Context &c, const items::ItemRecord &item)
{
    const Totals &t = c.totals;
    const int W = c.worked();
    const int K = c.workingDays();
    EmployerSickPay p;
    p.onset = onsetOf(c, item);
    p.lawDays = employerPaidSickDays(p.onset);
    if (p.olderRule()) {
        // The base rate's day, unless the month so far gives an average.
        p.amount = static_cast<double>((Real(t.zapl) + c.classRate) / K);
        if (W + t.ofrz != 0)
            p.amount = static_cast<double>(Real(t.sfrz) / (W + t.ofrz));
        p.dailyGross = p.amount;
        p.days = 1;
        p.rate = 1;
        return p;
    }

    // The month's gross over the days it pays, and the agreed pay's day:
    // a monthly rate (with the class) over the working days, a daily
    // tariff as it is.
    Real gross = W + t.ofrz != 0 ? Real(t.sfrz) / (W + t.ofrz) : 0;
    Real agreed = c.base && c.base->type == 2 ? Real(t.zapl) + c.classRate : (Real(t.zapl) + c.classRate) / K;
    if (p.onset < c.period) {
        if (const auto row = c.history.month(c.employee.id, p.onset)) {
            gross = row->odni + row->ofrz > 0 ? Real(row->sfrz) / (row->odni + row->ofrz) : 0;
            agreed = row->rabdni > 0 ? Real(row->zapl) / row->rabdni : 0;
        }
        p.daysBefore = workingDaysBefore(c, item, p.onset);
    }
    p.dailyGross = static_cast<double>(gross);
    p.dailyAgreed = static_cast<double>(agreed);
    p.rate = kEmployerSickRate;
    p.continuation = continuesAnother(c, item);
    if (!p.continuation && touches(item, c.period))
        p.days = std::clamp(p.lawDays - p.daysBefore, 0, std::max(item.d, 0));
    p.amount = static_cast<double>(Real(p.rate) * std::max(gross, agreed) * p.days);
    return p;
}

namespace families {

void basePay(Context &c, items::ItemRecord &item, double &full)
{
    if (item.type == 1)
        baseSalary(c, item, full);
    else
        dailyTariff(c, item, full);
}

void percentOfPay(Context &c, items::ItemRecord &item, const items::Definition &def, double &full)
{
    Totals &t = c.totals;
    switch (item.type) {
    case 3: // the seniority class: its rate also raises the employer's sick days
        item.amount = static_cast<double>(percentOf(item.amount1, t.szapl));
        full = static_cast<double>(percentOf(item.amount1, t.zapl));
        t.sklas = item.amount;
        c.classRate = full;
        t.pr = item.amount1;
        t.prk = static_cast<std::uint8_t>(item.d); // years, one byte in the record
        break;
    case 5: { // overtime: a percent of an hour's base pay, times the hours
        const Real hours = c.worked() * Real(c.params.hoursPerDay());
        item.amount = hours > 0 ? static_cast<double>((Real(item.amount1) / 100) * (t.szapl / hours) * item.amount2) : 0;
        if (!def.flag(4))
            t.wizvtrud += item.d;
        break;
    }
    case 35:
        item.amount = static_cast<double>(percentOf(item.amount1, t.zapl));
        t.special35 = item.amount;
        break;
    default: // 7, 52
        item.amount = static_cast<double>(percentOf(item.amount1, t.szapl));
        full = static_cast<double>(percentOf(item.amount1, t.zapl));
        break;
    }
}

void proportionalToDays(Context &c, items::ItemRecord &item, const items::Definition &def, double &full)
{
    Totals &t = c.totals;
    const reference::Company &company = c.params.company;
    const int W = c.worked();
    const int K = c.workingDays();
    switch (item.type) {
    case 4:
    case 19:
        prorate(c, item, item.amount, full);
        break;
    case 8:
        item.amount = static_cast<double>(W * Real(item.amount1) * item.amount2);
        break;
    case 10:
    case 17:
        item.amount = static_cast<double>(W * Real(item.amount1));
        full = static_cast<double>(K * Real(item.amount1));
        if (def.flag(4))
            t.sobl += item.amount;
        break;
    case 16: // points of working conditions, valued on the minimum wage
        item.amount = static_cast<double>(W * ((Real(item.amount1) * company.minSalary * company.coefficient1 * company.coefficient2 / 100) / K));
        full = item.amount;
        break;
    case 29:
        item.amount = static_cast<double>(W * (percentOf(item.amount1, company.minSalary) / K));
        full = item.amount;
        break;
    case 34: // insured days less the unpaid leave that counts as service
        item.amount = static_cast<double>((t.sdni - t.npls) * Real(item.amount1) / K);
        break;
    default: // 32
        item.amount = static_cast<double>(W * Real(item.amount1));
        break;
    }
}

void enteredEarning(Context &c, items::ItemRecord &item, const items::Definition &def, double &full)
{
    Totals &t = c.totals;
    switch (item.type) {
    case 6:
        item.amount = item.amount1;
        full = item.amount1;
        if (def.flag(4))
            t.bulgargaz = item.amount1;
        break;
    case 9:
        item.amount = static_cast<double>(Real(item.amount1) * item.amount2);
        break;
    case 18:
        item.amount = item.amount1;
        if (def.flag(4))
            t.sobl += item.amount1;
        break;
    case 37:
        item.amount = item.amount1;
        full = item.amount1;
        t.pero37 += item.amount1;
        break;
    default: // 30, 31, 33
        item.amount = item.amount1;
        break;
    }
}

void leave(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    const int D = item.d;
    switch (item.type) {
    case 11:
    case 12:
        item.amount = leavePay(c, item);
        t.ofrz += D;
        break;
    case 13:
        item.amount = static_cast<double>(Real(t.bsl) / c.workingDays() * D);
        t.ofrz += D;
        break;
    case 14:
        t.onpl += D;
        t.nsdni += D;
        break;
    default: // 15
        t.onpl += D;
        t.npls += D;
        break;
    }
}

void employerSickDays(Context &c, items::ItemRecord &item, const items::Definition &def)
{
    Totals &t = c.totals;
    const int D = item.d;
    const EmployerSickPay pay = employerSickPay(c, item);
    item.amount = pay.amount;
    c.employerSick[item.id] = pay;
    // Since 2010 the law names this pay as free of income tax (ЗДДФЛ art. 24
    // (2) 14); the older rule taxed it by the definition's flag.
    if (pay.olderRule() && def.flag(4))
        t.sobl += item.amount;
    if (touches(item, c.period)) {
        t.odoo += D;
        t.dbol += D;
        t.dfbol += D;
    }
}

void sicknessBenefit(Context &c, items::ItemRecord &item, const items::Definition &def)
{
    Totals &t = c.totals;
    const int D = item.d;
    const SickAverage s = sickAverage(c, item);
    t.testsbol = D <= 0 ? s.benefit : s.benefit / D;
    item.amount = benefitAmount(item.type, s, D);
    t.wdoo22 += item.amount;
    if (!touches(item, c.period))
        return;
    if (item.type == 21)
        t.wdnitrzl = D;
    t.odoo += D;
    t.sbol += item.amount;
    t.dbol += D;
    if (def.flag(3)) {
        if (item.type != 25)
            t.doosbol += item.amount;
        t.dfbol += D;
    }
}

void absenceDays(Context &c, const items::ItemRecord &item, const items::Definition &def)
{
    Totals &t = c.totals;
    const int D = item.d;
    if (!touches(item, c.period))
        return;
    t.odoo += D;
    if (item.type == 22) {
        t.dni23 += D;
        t.omajki += D;
        return;
    }
    if (item.type == 24)
        t.omajki += D;
    else
        t.dbol += D;
    if (item.type == 27 && def.flag(3))
        t.dfbol += D;
    // The institute's share, on the minimum insurable income.
    t.bolnNoi += static_cast<double>(D * (Real(c.params.company.minInsurable) / c.workingDays()));
}

void deduction(Context &c, items::ItemRecord &item, const items::Definition &def)
{
    Totals &t = c.totals;
    switch (item.type) {
    case 101:
        item.amount = item.amount1;
        t.s54 += item.amount1;
        if (def.flag(4))
            t.pero54 += item.amount1;
        break;
    case 144:
        item.amount = item.amount1 != 0 ? item.amount1 : item.amount2;
        break;
    case 146:
        item.amount = static_cast<double>(percentOf(item.amount1, t.ssoc));
        break;
    case 147:
        item.amount = static_cast<double>(percentOf(item.amount1, Real(t.sobl) - t.sdod));
        break;
    case 150:
        item.amount = static_cast<double>(percentOf(item.amount1, Real(t.sfrz) - t.sdod - t.sp2doo));
        break;
    case 151:
        item.amount = static_cast<double>(percentOf(item.amount1, t.sfrz));
        break;
    case 153:
        item.amount = static_cast<double>(percentOf(item.amount1, Real(t.sobl) - t.ssoc - t.sdod));
        break;
    case 155:
        item.amount = item.amount1;
        t.pero55 += item.amount1;
        break;
    default: // 141, 142, 143, 145
        item.amount = item.amount1;
        break;
    }
}

void retainedCentsItem(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    // Last month's retained cents come back; this month's net keeps
    // whole leva only.
    item.amount = -item.amount1;
    keepRetainedCents(c, item, r2(t.snach - t.sudr + item.amount1));
    t.ud1 = item.amount1;
    t.ud2 = item.amount2;
}

void total(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    switch (item.type) {
    case 100:
        item.amount = t.snach;
        break;
    case 199: // paid without cash: all that is left, never below 0
        item.amount = std::max(0.0, t.snach - t.sudr);
        break;
    case 200:
        item.amount = t.sudr;
        break;
    default: // 201
        t.spol = r2(t.snach - t.sudr);
        item.amount = t.spol;
        break;
    }
}

void correction(Context &c, const items::ItemRecord &item)
{
    const int target = items::findDefinition(c.params.definitions, item.d).type;
    if (target == 20 || target == 21 || target == 23 || target == 25 || target == 26 || target == 27)
        c.totals.wdoo22 += item.amount1;
}

} // namespace families

} // namespace plavex::calc
