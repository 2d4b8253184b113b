// The rules the law changed after 2008, each by the month it applies to:
// the employer's sick days and the fund's average. No database.
#include "calc/LawOfMonth.h"
#include "calc/MinimumWage.h"
#include "calc/Parameters.h"
#include "calc/PersonTotals.h"
#include "items/Definitions.h"
#include "reference/Calendar.h"
#include "reports/SickSlip.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace plavex;
using items::ItemRecord;

namespace {

enum Code { Salary = 100, Bonus = 110, Sick = 200, Fund = 270, Tax = 500, Gross = 1000, Deductions = 2000, Net = 2010 };

ItemRecord item(int type, int code, double amount1 = 0)
{
    ItemRecord it;
    it.type = type;
    it.code = code;
    it.amount1 = amount1;
    return it;
}

ItemRecord dated(int type, int code, const QDate &begin, const QDate &end)
{
    ItemRecord it = item(type, code);
    it.id = code; // one item of each code
    it.begin = begin;
    it.end = end;
    it.beginPacked = util::CompactDate::fromDate(begin);
    it.endPacked = util::CompactDate::fromDate(end);
    return it;
}

class EmployerSickDays : public ::testing::Test {
protected:
    EmployerSickDays()
    {
        // Flag 4 would make the older rule's pay taxable.
        params.definitions = {
            items::makeDefinition(Salary, 1, QStringLiteral("Заплата"), QStringLiteral("1000000000")),
            items::makeDefinition(Bonus, 6, QStringLiteral("Премия"), QStringLiteral("0")),
            items::makeDefinition(Sick, 20, QStringLiteral("Болничен от работодателя"), QStringLiteral("0001000000")),
            items::makeDefinition(Fund, 27, QStringLiteral("Болничен (изплаща НОИ)"), QStringLiteral("0")),
            items::makeDefinition(Tax, 140, QStringLiteral("ДДФЛ"), QStringLiteral("0")),
            items::makeDefinition(Gross, 100, QStringLiteral("Общо"), QStringLiteral("1110000000")),
            items::makeDefinition(Deductions, 200, QStringLiteral("Удръжки"), QStringLiteral("1110000000")),
            items::makeDefinition(Net, 201, QStringLiteral("Сума"), QStringLiteral("1110000000")),
        };
        params.company.maxInsurable = 4000;
        params.company.minSalary = 620.20;
        params.taxScale = {{0, 0, 0.10}};
        params.positions = {{5, QStringLiteral("Оператор"), 0}};
        employee.id = 7;
        employee.number = 7;
        employee.paySystem = 1;
        employee.position = 5;
    }

    struct Month {
        calc::Totals t;
        std::vector<ItemRecord> items;
        std::map<int, calc::EmployerSickPay> paid;
        double final(int code) const
        {
            return std::find_if(items.begin(), items.end(), [code](const ItemRecord &i) { return i.code == code; })->final;
        }
    };

    // A five-day calendar of the month with its fixed days off.
    Month run(const util::Period &period, std::vector<ItemRecord> list)
    {
        params.calendar = {};
        params.calendar.code = 1;
        EXPECT_TRUE(reference::setCalendarText(params.calendar, reference::defaultMonthText(5, period.firstDay()), period.firstDay()));
        for (int type : {140, 100, 200, 201})
            list.push_back(item(type, type == 140 ? Tax : type == 100 ? Gross : type == 200 ? Deductions : Net));
        std::stable_sort(list.begin(), list.end(), [](const ItemRecord &a, const ItemRecord &b) { return a.type < b.type; });
        calc::Context context(params, period, employee, history);
        EXPECT_EQ(calc::calculate(context, list, true), calc::Outcome::Calculated);
        return {context.totals, list, context.employerSick};
    }

    calc::Parameters params;
    calc::MemoryHistory history;
    calc::Employee employee;
};

TEST(LawOfMonth, RulesByTheirDates)
{
    EXPECT_EQ(calc::employerPaidSickDays(util::Period(2008, 12)), 0);
    EXPECT_EQ(calc::employerPaidSickDays(util::Period(2010, 6)), 0);
    EXPECT_EQ(calc::employerPaidSickDays(util::Period(2010, 7)), 3);
    EXPECT_EQ(calc::employerPaidSickDays(util::Period(2023, 12)), 3);
    EXPECT_EQ(calc::employerPaidSickDays(util::Period(2024, 1)), 2);
    EXPECT_FALSE(calc::fundBenefitFrom18Months(util::Period(2014, 12), 27));
    EXPECT_TRUE(calc::fundBenefitFrom18Months(util::Period(2015, 1), 27));
    EXPECT_FALSE(calc::fundBenefitFrom18Months(util::Period(2026, 2), 24)); // a fixed benefit, not an average
    EXPECT_FALSE(calc::annualTaxByArticle49(2008));
    EXPECT_TRUE(calc::annualTaxByArticle49(2009));
}

// Agreed 1 500.00 € in February 2026 (20 working days), sick on the 10th and
// 11th: 18 days worked for 1 350.00, 75.00 a day either way, 70 % of it for
// two days. Insurable, not taxable.
TEST_F(EmployerSickDays, TheWorkedExample)
{
    const Month m = run(util::Period(2026, 2), {item(1, Salary, 1500), dated(20, Sick, QDate(2026, 2, 10), QDate(2026, 2, 11))});
    EXPECT_DOUBLE_EQ(m.final(Sick), 105.00);
    EXPECT_DOUBLE_EQ(m.final(Salary), 1350.00);
    EXPECT_DOUBLE_EQ(m.final(Tax), 135.00); // 10 % of the pay alone
    EXPECT_DOUBLE_EQ(m.t.bolnFirma, 105.00);
    EXPECT_DOUBLE_EQ(m.t.wcosuma32, 1455.00);
    const calc::EmployerSickPay &p = m.paid.at(Sick);
    EXPECT_EQ(p.lawDays, 2);
    EXPECT_EQ(p.days, 2);
    EXPECT_DOUBLE_EQ(p.dailyGross, 75.00);
    EXPECT_DOUBLE_EQ(p.dailyAgreed, 75.00);
}

TEST_F(EmployerSickDays, ByTheLawOfTheMonthTheSicknessBegan)
{
    struct Case {
        const char *what;
        util::Period period;
        std::vector<ItemRecord> items;
        double paid;
        int days;
    };
    // January 2026: 21 working days, 20 worked for 1 400.00 on an agreed 1 500.00.
    calc::HistoryRow january;
    january.personId = 7;
    january.year = 2026;
    january.month = 1;
    january.sfrz = 1400;
    january.odni = 20;
    january.zapl = 1500;
    january.rabdni = 21;
    const Case cases[] = {
        {"11.2023: the first three of five working days at 100.00",
         util::Period(2023, 11),
         {item(1, Salary, 2200), dated(20, Sick, QDate(2023, 11, 13), QDate(2023, 11, 17))},
         210.00,
         3},
        {"02.2026: the first two of four, the gross with a bonus above the agreed pay",
         util::Period(2026, 2),
         {item(1, Salary, 1500), item(6, Bonus, 300), dated(20, Sick, QDate(2026, 2, 10), QDate(2026, 2, 13))},
         131.25, // 0.7 x (1 200 + 300) / 16 x 2
         2},
        {"01.2008: one day at the month's average, as ever",
         util::Period(2008, 1),
         {item(1, Salary, 1100), dated(20, Sick, QDate(2008, 1, 28), QDate(2008, 1, 29))},
         50.00,
         1},
        {"02.2026: a certificate that continues the fund's days gives the employer none",
         util::Period(2026, 2),
         {item(1, Salary, 1500), dated(27, Fund, QDate(2026, 2, 5), QDate(2026, 2, 9)),
          dated(20, Sick, QDate(2026, 2, 10), QDate(2026, 2, 11))},
         0.00,
         0},
        {"begun on Friday 30.01.2026: one day left, at January's agreed day above its gross",
         util::Period(2026, 2),
         {item(1, Salary, 1500), dated(20, Sick, QDate(2026, 1, 30), QDate(2026, 2, 3))},
         50.00, // 0.7 x 1 500 / 21
         1},
    };
    history.rows = {january};
    for (const Case &c : cases) {
        const Month m = run(c.period, c.items);
        EXPECT_DOUBLE_EQ(m.final(Sick), c.paid) << c.what;
        EXPECT_EQ(m.paid.at(Sick).days, c.days) << c.what;
    }
    // The older rule taxes its day by the definition's flag; the law since
    // 2010 never does.
    EXPECT_DOUBLE_EQ(run(util::Period(2008, 1), cases[2].items).final(Tax), 105.00); // 10 % of 1 000 + 50
    EXPECT_DOUBLE_EQ(run(util::Period(2023, 11), cases[0].items).final(Tax), 170.00); // 10 % of 1 700
}

// From 2015 the fund's average spans the 18 months before the month of
// onset, across two year ends.
TEST_F(EmployerSickDays, TheFundsAverageOfEighteenMonths)
{
    auto row = [](int year, int month, double insurable, int days, double net) {
        calc::HistoryRow r;
        r.personId = 7;
        r.year = year;
        r.month = month;
        r.wcosuma = insurable;
        r.sdni = days;
        r.rabdni = days;
        r.sfrz = net;
        return r;
    };
    // June 2026: December 2024 to May 2026 count, November 2024 and June 2026 do not.
    history.rows = {row(2024, 11, 9999, 21, 9999), row(2024, 12, 2000, 20, 1000), row(2025, 6, 2100, 21, 1050),
                    row(2026, 5, 2200, 20, 1100), row(2026, 6, 9999, 21, 9999)};
    params.calendar = {};
    ASSERT_TRUE(reference::setCalendarText(params.calendar, reference::defaultMonthText(5, QDate(2026, 6, 1)), QDate(2026, 6, 1)));
    calc::Context context(params, util::Period(2026, 6), employee, history);
    ItemRecord sick = dated(27, Fund, QDate(2026, 6, 8), QDate(2026, 6, 10));
    sick.d = 3;
    const calc::SickAverage a = calc::fundSickAverage(context, sick);
    EXPECT_DOUBLE_EQ(a.daily, 6300.0 / 61);
    EXPECT_DOUBLE_EQ(a.net, 3150.0 / 61);

    // 80 % a day, at most the daily net; a work accident 90 %.
    const reports::SlipBenefit b = reports::fundSlipBenefit(27, 3, a.daily, a.net);
    EXPECT_DOUBLE_EQ(b.rate, 0.8);
    EXPECT_DOUBLE_EQ(b.benefit, 3 * a.net);
    EXPECT_DOUBLE_EQ(reports::fundSlipBenefit(27, 3, 100, 90).benefit, 240.0);
    EXPECT_DOUBLE_EQ(reports::fundSlipBenefit(21, 2, 100, 0).benefit, 180.0);
}

} // namespace

// The basic salary against the minimum wage: before proration, a day's
// tariff over the month, a changed amount where the pay system has one, the
// share of a shorter day; never an inactive employee or an empty salary.
TEST(MinimumWage, TheBasicSalaryBeforeProration)
{
    auto base = [](int type, double amount1, double amount2 = 0) {
        items::ItemRecord r;
        r.type = type;
        r.amount1 = amount1;
        r.amount2 = amount2;
        return r;
    };
    const struct {
        int paySystem;
        int active;
        std::vector<items::ItemRecord> items;
        double salary; // 0: not below
        double minimum;
    } cases[] = {
        {1, 1, {base(1, 603.33)}, 603.33, 620.20},
        {1, 1, {base(1, 620.20)}, 0, 0},
        {1, 0, {base(1, 500)}, 0, 0},                  // dismissed
        {1, 1, {base(1, 0)}, 0, 0},                    // nothing entered yet
        {1, 1, {base(1, 700, 600)}, 600, 620.20},      // the changed amount stands
        {3, 1, {base(1, 700, 120)}, 0, 0},             // hourly: the second field is hours
        {1, 1, {base(2, 28)}, 616, 620.20},            // 28 a day over 22 days
        {6, 1, {base(1, 310.09)}, 310.09, 310.10},     // four hours
        {7, 1, {base(1, 465.15)}, 0, 0},               // six hours
        {1, 1, {base(6, 100), base(1, 600)}, 600, 620.20}, // a bonus does not count
    };
    for (const auto &c : cases) {
        calc::Employee e;
        e.active = c.active;
        e.paySystem = c.paySystem;
        const auto below = calc::belowMinimumWage(e, c.items, 620.20, 22);
        EXPECT_EQ(below.has_value(), c.salary != 0) << c.paySystem << " " << c.items.front().amount1;
        if (below) {
            EXPECT_DOUBLE_EQ(below->salary, c.salary);
            EXPECT_DOUBLE_EQ(below->minimum, c.minimum);
        }
    }
    EXPECT_FALSE(calc::belowMinimumWage({}, {base(1, 100)}, 0, 22)); // no minimum wage in the company row
}
