#include "calc/PersonTotals.h"

#include "calc/CalcError.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "reference/Rates.h"
#include "reference/TaxScale.h"

#include <algorithm>
#include <cmath>

namespace plavex::calc {

namespace {

using Real = long double;

// Monthly relief of an employee reassigned for health reasons ("Трудоустроен").
constexpr double kReassignedRelief = 660.0;

int monthKey(const util::CompactDate &date) { return date.year * 12 + date.month; }
int monthKey(const util::Period &period) { return (period.year() - 1900) * 12 + period.month(); }

void setDays(reference::CalendarRecord &calendar, int from, int to, int value, bool onlyMarked)
{
    for (int d = std::max(from, 1); d <= std::min(to, calendar.daysInMonth); ++d) {
        int &day = calendar.day[static_cast<size_t>(d)];
        if (!onlyMarked || day != 0)
            day = value;
    }
}

} // namespace

void markCalendar(Context &c, const std::vector<items::ItemRecord> &items)
{
    reference::CalendarRecord &cal = c.calendar;
    const int current = monthKey(c.period);
    const int days = cal.daysInMonth;
    const util::CompactDate firstDay{static_cast<std::uint8_t>(c.period.year() - 1900),
                                     static_cast<std::uint8_t>(c.period.month()), 1};
    for (const items::ItemRecord &item : items) {
        if (!isLeaveType(item.type))
            continue;
        const int began = monthKey(item.beginPacked);
        const bool endsThisMonth = monthKey(item.endPacked) == current;
        const int to = endsThisMonth ? item.endPacked.day : days;
        // The same days the day count reads: a leave that ends on the 1st
        // still takes the 1st.
        if (began == current)
            setDays(cal, item.beginPacked.day, to, item.code, true);
        else if (began < current && item.endPacked >= firstDay)
            setDays(cal, 1, to, item.code, true);
    }

    Totals &t = c.totals;
    const QDate first = c.period.firstDay();
    const QDate next = c.period.next().firstDay();
    const QDate &left = c.employee.left;
    if (left.isValid() && left < next) {
        const int from = left >= first ? left.day() : 1;
        setDays(cal, from, days, 0, false);
        t.nsdni += days - from + 1;
    }
    const QDate &hired = c.employee.hired;
    if (hired.isValid() && hired > first) {
        const int to = hired < next ? hired.day() - 1 : days;
        setDays(cal, 1, to, 0, false);
        t.nsdni += to;
    }

    t.odni = daysWithValue(cal, 1, 1, days);
    t.sdni = t.odni;
    t.personId = c.employee.id;
    t.workingDays = cal.workingDays;
    t.rabdni = cal.workingDays;
}

void capInsurable(Context &c)
{
    Totals &t = c.totals;
    const double max = c.params.company.maxInsurable;
    const double e = t.sfrz - t.pero37 - t.pero54;
    if (e > max) {
        t.wcosuma = max;
        t.wcosuma32 = max;
        t.wcobol = 0;
        t.wcosoc = 0;
        t.bolnFirma = 0;
    } else if (e + t.bolnFirma > max) {
        t.wcosuma = max;
        t.wcosuma32 = std::max(e, 0.0);
        t.bolnFirma = std::max(t.wcosuma - t.wcosuma32, 0.0);
        t.wcosoc = 0;
        t.wcobol = 0;
    } else if (e + t.bolnFirma + t.wcosoc > max) {
        t.wcosuma = max;
        t.wcosuma32 = std::max(e, 0.0);
        t.wcosoc = std::max(t.wcosuma - t.wcosuma32, 0.0);
        t.bolnFirma = std::max(t.wcosuma - t.wcosuma32 - t.wcosoc, 0.0);
    } else {
        t.wcosuma = e + t.bolnFirma + t.wcosoc;
        t.wcosuma32 = std::max(e + t.bolnFirma, 0.0);
    }
    t.wcogarant = t.wcosuma32;
    applyFloor(c);
}

void applyFloor(Context &c)
{
    Totals &t = c.totals;
    Real limit = c.position ? c.position->minLimit : 0.0;
    if (c.employee.paySystem == 6)
        limit = limit / 2;
    else if (c.employee.paySystem == 7)
        limit = limit / 8 * 6;
    const Real floor = (t.odni + t.ofrz + t.dfbol) * (limit / c.workingDays());
    if (t.wcosuma > 0 && t.wcosuma32 < floor) {
        t.wcosuma32 = static_cast<double>(floor);
        t.wcosuma = t.wcosuma32 + t.wcosoc;
    }
}

void evaluateContribution(Context &c, items::ItemRecord &item, double &full)
{
    Totals &t = c.totals;
    const items::Definition &def = items::findDefinition(c.params.definitions, item.code);
    const double max = c.params.company.maxInsurable;
    const Real percent = Real(item.amount1) / 100;
    capInsurable(c);
    double amount = 0;
    if (!def.flag(3) && !def.flag(2)) { // pension funds, on the insurable income from earnings
        applyFloor(c);
        amount = r2(static_cast<double>(percent * t.wcosuma32));
        if (def.flag(4)) {
            t.supkb += amount;
        } else if (def.flag(5)) {
            t.sudzpo += amount;
        } else {
            t.sudoo += amount;
            const double total = c.rate ? c.rate->total : 0.0;
            t.wsdoofi += static_cast<double>(Real(total) * t.wcosuma32 / 100);
            t.wsdooli = t.sudoo;
        }
    } else if (!def.flag(3)) { // on the social benefits
        amount = r2(static_cast<double>(percent * t.wcosoc));
        if (def.flag(5))
            t.sudzpo += amount;
        else
            t.susocr += amount;
    } else { // health insurance
        t.szdr = t.wcosuma32 + t.wcosoc;
        if (t.szdr + t.bolnNoi > max)
            t.bolnNoi = max - t.szdr;
        t.szdrn = static_cast<double>((t.onpl + t.dni23) * ((Real(c.params.company.minInsurable) / 2) / c.workingDays()));
        t.s6zdr = t.wcobol;
        amount = static_cast<double>(percent * t.szdr);
        if (def.flag(4)) {
            amount = static_cast<double>(percent * t.szdrn);
            t.szdrn = 0;
        }
        t.suzdr += r2(amount);
    }
    t.s39 += r2(amount);
    t.s2doo = amount;
    full = amount;
    t.sp2doo += r2(static_cast<double>(percent * std::min(max, t.sfrz - t.special35)));
    item.amount = amount;
}

void evaluateIncomeTax(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    t.specialobl = r2((t.sobl - t.special35) + std::fabs(t.s2doo) - std::fabs(t.sp2doo));
    if (c.employee.reassigned)
        t.sobl -= kReassignedRelief;
    t.sobl = std::max(t.sobl - t.s39 - t.s54 - t.bulgargaz, 0.0);
    const reference::TaxScale &scale = c.params.taxScale;
    item.amount = reference::taxOfYear(scale, c.period.year(), t.sobl, 2);
    t.sdod = item.amount + item.correction;
    t.specialdod = reference::taxOfYear(scale, c.period.year(), t.specialobl, 1);
}

void applyCorrections(std::vector<items::ItemRecord> &list)
{
    if (list.empty())
        return;
    const auto reach = list.end() - 1; // the net pay stays out of reach
    for (auto it = list.begin(); it != reach; ++it) {
        if (it->type != 198)
            continue;
        it->amount = 0;
        const int code = it->d;
        const auto target = std::find_if(list.begin(), reach, [code](const items::ItemRecord &i) { return i.code == code; });
        if (target == reach)
            continue;
        target->correction += it->amount1;
        it->amount = it->amount1;
        it->final = r2(it->amount1);
    }
}

void fixDeductions(Context &c, items::ItemRecord &item)
{
    Totals &t = c.totals;
    switch (item.type) {
    case 141:
    case 144:
    case 145:
    case 155:
        if (t.sudr > t.snach + t.sum50) {
            t.sudr -= item.final;
            item.amount = 0;
            item.final = r2(item.correction);
            t.sudr += item.final;
        }
        break;
    case 143:
        if (t.sudr > t.snach) {
            double amount = item.amount1 - ((t.sudr - t.snach) - t.sum50);
            if (amount > item.amount1)
                amount = item.amount1;
            if (amount <= 0)
                amount = 0;
            item.amount = amount;
            t.sudr -= item.final;
            item.final = r2(item.correction + item.amount);
            t.sudr += item.final;
        }
        break;
    case 148:
    case 197: {
        item.amount -= item.amount2;
        keepRetainedCents(c, item, r2((t.snach - t.sudr) - item.amount));
        t.ud2 = item.amount2;
        t.sudr -= item.final;
        item.final = r2(item.amount + item.correction);
        t.sudr += item.final;
        break;
    }
    case 199:
        t.sudr -= item.final;
        item.amount = std::max(t.snach - t.sudr, 0.0);
        item.final = r2(item.amount + item.correction);
        t.sudr += item.final;
        break;
    case 200:
        item.amount = r2(t.sudr);
        item.final = item.amount;
        break;
    case 201:
        t.spol = r2(t.snach - t.sudr);
        item.amount = t.spol;
        item.final = t.spol;
        break;
    default:
        break;
    }
}

Outcome calculate(Context &c, std::vector<items::ItemRecord> &list, bool autocalc)
{
    if (list.empty())
        return Outcome::NoItems;
    markCalendar(c, list);

    if (c.employee.active != 1) {
        for (items::ItemRecord &item : list) {
            item.amount = 0;
            item.correction = 0;
            item.final = 0;
        }
        return Outcome::Inactive;
    }

    if (!autocalc) {
        for (size_t i = 0; i < list.size(); ++i) {
            items::ItemRecord &item = list[i];
            item.amount = item.amountRead;
            item.correction = item.correctionRead;
            item.final = item.finalRead;
            item.amount2 = item.amount2Read;
            if (i + 1 < list.size() && isLeaveType(item.type))
                recountDays(item, c.calendar, c.period);
        }
        return Outcome::AutocalcOff;
    }

    if (c.workingDays() <= 0)
        throw CalcError(QStringLiteral("Календар %1 няма работни дни през месеца: служител %2 не може да бъде изчислен.")
                            .arg(c.calendar.code)
                            .arg(c.employee.number));
    applyCorrections(list);
    c.items = &list;
    for (items::ItemRecord &item : list)
        evaluateItem(c, item);
    if (Parameters::kNegativeNetSecondPass && c.totals.spol < 0)
        for (items::ItemRecord &item : list)
            fixDeductions(c, item);
    capInsurable(c);
    return Outcome::Calculated;
}

bool writesAmount2(int type) { return type == 148 || type == 197 || type == 198; }

bool itemChanged(const items::ItemRecord &item)
{
    return r2(item.amount) != r2(item.amountRead) || r2(item.correction) != r2(item.correctionRead)
        || r2(item.final) != r2(item.finalRead) || item.d != item.dRead
        || (writesAmount2(item.type) && r2(item.amount2) != r2(item.amount2Read));
}

} // namespace plavex::calc
