// The calculation's formulas on records in memory: no database.
#include "calc/CalcError.h"
#include "calc/ItemText.h"
#include "calc/Parameters.h"
#include "calc/PersonTotals.h"
#include "items/Definitions.h"
#include "reference/Calendar.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace plavex;
using items::ItemRecord;

namespace {

const util::Period kJanuary(2008, 1); // 22 working days; the 1st is a holiday

// Codes of the fixture's definitions.
enum Code {
    Salary = 100, Tariff = 110, Prorated = 120, ProratedFree = 125, Klas = 130, Hourly = 140,
    Leave = 300, Leave12 = 305, Injury = 310, Care = 320, Unpaid = 330,
    Constant = 700, Pension = 400, Health = 401, Unemployment = 402, Tax = 500,
    Deduction = 600, Advance = 610, Cents = 620, Remainder = 630, Correction = 640,
    Gross = 1000, Deductions = 2000, Net = 2010,
};

ItemRecord item(int type, int code, double amount1 = 0, double amount2 = 0, int d = 0)
{
    ItemRecord it;
    it.type = type;
    it.code = code;
    it.amount1 = amount1;
    it.amount2 = amount2;
    it.d = d;
    it.dRead = d;
    it.amount2Read = amount2;
    return it;
}

ItemRecord dated(ItemRecord it, const QDate &begin, const QDate &end)
{
    it.begin = begin;
    it.end = end;
    it.beginPacked = util::CompactDate::fromDate(begin);
    it.endPacked = util::CompactDate::fromDate(end);
    return it;
}

ItemRecord leave(int type, int code, int fromDay, int toDay, int d = 0)
{
    return dated(item(type, code, 0, 0, d), QDate(2008, 1, fromDay), QDate(2008, 1, toDay));
}

struct Month {
    calc::Outcome outcome;
    calc::Totals t;
    std::vector<ItemRecord> items;
    reference::CalendarRecord calendar;

    const ItemRecord &of(int code) const
    {
        const auto it = std::find_if(items.begin(), items.end(), [code](const ItemRecord &i) { return i.code == code; });
        if (it == items.end())
            throw std::runtime_error("no item " + std::to_string(code));
        return *it;
    }
    double final(int code) const { return of(code).final; }
};

class Formula : public ::testing::Test {
protected:
    Formula()
    {
        auto def = [](int code, int type, const char *hars) {
            return items::makeDefinition(code, type, QStringLiteral("Перо %1").arg(code), QLatin1String(hars));
        };
        params.definitions = {
            def(Salary, 1, "1000000000"),      def(Tariff, 2, "1000000000"),     def(Prorated, 4, "1000000000"),
            def(ProratedFree, 19, "0"),        def(Klas, 3, "1000000000"),       def(Hourly, 5, "0"),
            def(Leave, 11, "0"),               def(Leave12, 12, "0"),            def(Injury, 21, "0010000000"),
            def(Care, 26, "0"),                def(Unpaid, 14, "0"),             def(Constant, 6, "0"),
            def(Pension, 139, "0"),            def(Health, 139, "0010000000"),   def(Unemployment, 139, "0001000000"),
            def(Tax, 140, "0"),                def(Deduction, 145, "0"),         def(Advance, 142, "0"),
            def(Cents, 148, "0"),              def(Remainder, 199, "0"),         def(Correction, 198, "0"),
            def(Gross, 100, "1110000000"),     def(Deductions, 200, "1110000000"), def(Net, 201, "1110000000"),
        };
        params.company.maxInsurable = 2000;
        params.company.minInsurable = 220;
        params.company.minSalary = 180;
        params.taxScale = {{0, 0, 0.10}};
        params.positions = {{5, QStringLiteral("Оператор"), 600}};
        reference::NoiType rate;
        rate.type = 1;
        rate.variant = 1;
        rate.total = 20;
        params.rates = {rate};
        setCalendar(reference::defaultMonthText(5, kJanuary.firstDay()));
        employee.id = 7;
        employee.number = 7;
        employee.paySystem = 1;
        employee.insuranceType = 1;
        employee.position = 5;
    }

    void setCalendar(const QString &text)
    {
        params.calendar = {};
        params.calendar.code = 1;
        ASSERT_TRUE(reference::setCalendarText(params.calendar, text, kJanuary.firstDay()));
    }

    // The employee's month with the three totals added, items in type order.
    Month run(std::vector<ItemRecord> list, bool autocalc = true, bool totals = true)
    {
        if (totals) {
            list.push_back(item(100, Gross));
            list.push_back(item(200, Deductions));
            list.push_back(item(201, Net));
        }
        std::stable_sort(list.begin(), list.end(), [](const ItemRecord &a, const ItemRecord &b) { return a.type < b.type; });
        calc::Context context(params, kJanuary, employee, history);
        const calc::Outcome outcome = calc::calculate(context, list, autocalc);
        return {outcome, context.totals, list, context.calendar};
    }

    calc::Parameters params;
    calc::MemoryHistory history;
    calc::Employee employee;
};

// 11 of 22 working days lie before the 16th.
const QString kSplitMonth = QStringLiteral("1111111111100001111111111100000");

TEST_F(Formula, BaseSalaryFollowsThePaySystem)
{
    struct Case {
        const char *what;
        int paySystem;
        ItemRecord item;
        double expected;
    } cases[] = {
        {"changed amount from the 16th", 1, item(1, Salary, 5000, 10000, 16), 7500.00},
        {"D = 0: every worked day before the change", 1, item(1, Salary, 5000, 10000, 0), 5000.00},
        {"D = 1: every worked day at the new amount", 1, item(1, Salary, 5000, 10000, 1), 10000.00},
        {"part time, no change", 6, item(1, Salary, 600), 600.00},
        {"hourly below the month's hours", 3, item(1, Salary, 880, 100), 500.00},
        {"hourly above the month's hours", 3, item(1, Salary, 880, 200), 880.00},
        {"ИРЗ takes the second amount", 4, item(1, Salary, 1000, 1234.5), 1234.50},
        {"daily tariff", 1, item(2, Tariff, 50), 1100.00},
        {"daily tariff changed from the 16th", 1, item(2, Tariff, 50, 60, 16), 1210.00},
        {"prorated, changed on the date entered", 1, dated(item(4, Prorated, 300, 600), QDate(2008, 1, 16), QDate()), 450.00},
        {"prorated, changed before the month", 1, dated(item(4, Prorated, 300, 600), QDate(2007, 12, 3), QDate()), 600.00},
        {"non-taxable prorated, changed from D", 1, item(19, ProratedFree, 300, 600, 16), 450.00},
    };
    setCalendar(kSplitMonth);
    for (const Case &c : cases) {
        employee.paySystem = c.paySystem;
        const Month r = run({c.item});
        EXPECT_DOUBLE_EQ(r.final(c.item.code), c.expected) << c.what;
    }
}

TEST_F(Formula, ClassAndOvertimeFollowTheBasePay)
{
    // Five days of leave: 17 of 22 days worked.
    const Month r = run({item(1, Salary, 1100), item(3, Klas, 10, 0, 12), item(5, Hourly, 10, 50, 2), leave(11, Leave, 21, 25)});
    EXPECT_EQ(r.t.odni, 17);
    EXPECT_DOUBLE_EQ(r.final(Salary), 850.00);
    EXPECT_DOUBLE_EQ(r.final(Klas), 85.00);
    EXPECT_DOUBLE_EQ(r.t.sklas, 85.00);
    EXPECT_EQ(r.t.prk, 12);
    EXPECT_DOUBLE_EQ(r.t.zapl, 1100);
    // 10 hours at 50 % of an hour of the base pay (850 over 17 days of 8 hours).
    EXPECT_DOUBLE_EQ(r.final(Hourly), 31.25);
    EXPECT_DOUBLE_EQ(r.t.wizvtrud, 2); // D of an overtime item without flag 4
}

TEST_F(Formula, LeaveIsPaidFromTheLatestMonthWithMoreThanNineDays)
{
    auto row = [](int year, int month, int rabdni, int odni, double bot12, double zapl) {
        calc::HistoryRow r;
        r.personId = 7;
        r.year = year;
        r.month = month;
        r.rabdni = rabdni;
        r.odni = odni;
        r.bot12 = bot12;
        r.zapl = zapl;
        return r;
    };
    const std::vector<ItemRecord> month{item(1, Salary, 1100), leave(11, Leave, 21, 25)};

    // No history: the base item's daily rate.
    Month r = run(month);
    EXPECT_EQ(r.of(Leave).d, 5);
    EXPECT_DOUBLE_EQ(r.final(Leave), 250.00);
    EXPECT_EQ(r.t.ofrz, 5);

    // Rows of this month and later, and months of nine days, do not count.
    history.rows = {row(2008, 1, 22, 20, 2000, 1100), row(2007, 12, 21, 9, 900, 1000), row(2007, 11, 21, 21, 1050, 1000)};
    r = run(month);
    EXPECT_DOUBLE_EQ(r.final(Leave), 238.64); // 5 x 21/22 x 1050/21

    // Type 12 follows a raise since that month.
    r = run({item(1, Salary, 1100), leave(12, Leave12, 21, 25)});
    EXPECT_DOUBLE_EQ(r.final(Leave12), 262.50); // 238.636... x 1100/1000

    // A month typed in by hand without a base rate cannot show a raise.
    history.rows = {row(2007, 11, 21, 21, 1050, 0)};
    r = run({item(1, Salary, 1100), leave(12, Leave12, 21, 25)});
    EXPECT_DOUBLE_EQ(r.final(Leave12), 238.64);
}

TEST_F(Formula, SicknessUsesTheSixMonthsBeforeIt)
{
    auto row = [](int month, int rabdni, int sdni, double bdoo, double sfrz, double sdod) {
        calc::HistoryRow r;
        r.personId = 7;
        r.year = 2007;
        r.month = month;
        r.rabdni = rabdni;
        r.sdni = sdni;
        r.bdoo = bdoo;
        r.sfrz = sfrz;
        r.sdod = sdod;
        return r;
    };
    const ItemRecord salary = item(1, Salary, 1100);

    // Two days: Dec 21 of 21 days (1050); Nov 20 of 22 days (1000 + 2/22 of
    // the minimum wage 180); June lies outside the window.
    history.rows = {row(12, 21, 21, 1050, 1050, 80), row(11, 22, 20, 1000, 1000, 80), row(6, 22, 22, 9999, 9999, 0)};
    Month r = run({salary, leave(21, Injury, 28, 29)});
    EXPECT_EQ(r.of(Injury).d, 2);
    EXPECT_DOUBLE_EQ(r.final(Injury), 86.50); // 0.9 x 2 x 2066.36/43
    EXPECT_NEAR(r.t.testsbol, 48.05497, 1e-5); // the average daily insurable income
    EXPECT_EQ(r.t.dfbol, 2); // flag 3
    EXPECT_EQ(r.t.odoo, 2);
    EXPECT_DOUBLE_EQ(r.t.doosbol, r.of(Injury).amount);

    // No month with insured days: the leave average (50 a day).
    history.rows = {row(12, 21, 0, 0, 0, 0)};
    r = run({salary, leave(21, Injury, 28, 29)});
    EXPECT_DOUBLE_EQ(r.final(Injury), 90.00);

    // Type 26: 80 %, capped at the average net pay when there is one.
    history.rows = {row(12, 21, 21, 1050, 1050, 80)};
    r = run({salary, leave(26, Care, 28, 29)});
    EXPECT_DOUBLE_EQ(r.final(Care), 80.00); // 2 x 46.19 is above 80
    history.rows = {row(12, 21, 21, 1050, 1050, 400)};
    r = run({salary, leave(26, Care, 28, 29)});
    EXPECT_DOUBLE_EQ(r.final(Care), 61.90); // 2 x 650/21
    history.rows = {row(12, 21, 0, 0, 0, 0)};
    r = run({salary, leave(26, Care, 28, 29)});
    EXPECT_DOUBLE_EQ(r.final(Care), 80.00); // no net history: not capped
}

TEST_F(Formula, InsurableIncomeIsCappedAndRaisedToTheFloor)
{
    struct Case {
        const char *what;
        int paySystem;
        double salary;
        double pension;      // 12.5 %
        double insurable32;  // WCOSUMA32
    } cases[] = {
        {"gross above the maximum", 1, 3000, 250.00, 2000},
        {"below the position's minimum", 1, 500, 75.00, 600},
        {"half the minimum for four hours a day", 6, 200, 37.50, 300},
        {"six hours a day: three quarters", 7, 200, 56.25, 450},
        {"no earnings: no floor", 1, 0, 0.00, 0},
    };
    for (const Case &c : cases) {
        employee.paySystem = c.paySystem;
        const Month r = run({item(1, Salary, c.salary), item(139, Pension, 12.5)});
        EXPECT_DOUBLE_EQ(r.final(Pension), c.pension) << c.what;
        EXPECT_DOUBLE_EQ(r.t.wcosuma32, c.insurable32) << c.what;
        EXPECT_DOUBLE_EQ(r.t.wcosuma, c.insurable32) << c.what;
    }
    const Month r = run({item(1, Salary, 3000), item(139, Pension, 12.5), item(139, Unemployment, 1), item(139, Health, 2)});
    EXPECT_DOUBLE_EQ(r.t.sudoo, 250.00);
    EXPECT_DOUBLE_EQ(r.t.wsdooli, 250.00);
    EXPECT_DOUBLE_EQ(r.t.wsdoofi, 400.00); // the type's 20 % of the capped base
    EXPECT_DOUBLE_EQ(r.t.supkb, 20.00);
    EXPECT_DOUBLE_EQ(r.t.suzdr, 40.00);
    EXPECT_DOUBLE_EQ(r.t.s39, 310.00);
    EXPECT_DOUBLE_EQ(r.t.wcogarant, 2000);
}

TEST_F(Formula, IncomeTaxAfterContributionsAndRelief)
{
    params.positions[0].minLimit = 0;
    Month r = run({item(1, Salary, 500), item(139, Pension, 12), item(140, Tax)});
    EXPECT_DOUBLE_EQ(r.t.sobl, 440.00);
    EXPECT_DOUBLE_EQ(r.final(Tax), 44.00);
    EXPECT_DOUBLE_EQ(r.t.sdod, 44.00);
    EXPECT_DOUBLE_EQ(r.t.spol, 396.00);

    employee.reassigned = true; // "Трудоустроен": 500 - 660 - 60 is below 0
    r = run({item(1, Salary, 500), item(139, Pension, 12), item(140, Tax)});
    EXPECT_DOUBLE_EQ(r.t.sobl, 0.00);
    EXPECT_DOUBLE_EQ(r.final(Tax), 0.00);
    EXPECT_DOUBLE_EQ(r.t.spol, 440.00);
}

TEST_F(Formula, RetainedCentsArePaidBackNextMonth)
{
    struct Case {
        const char *what;
        double gross;
        double deduction;
        double paidBack; // SUMA1: last month's cents
        bool leaves;
        double retained; // SUMA2
        double final;
        double net;
    } cases[] = {
        {"net 1 234.56", 1234.56, 0, 0, false, 0.56, 0.56, 1234.00},
        {"last month's 0.56 comes back first", 1000.30, 0, 0.56, false, 0.86, 0.30, 1000.00},
        {"a leaver keeps his cents", 1234.56, 0, 0.56, true, 0.00, -0.56, 1235.12},
        {"a whole net computed as 1023.99999...", 1024.09, 0.09, 0, false, 0.00, 0.00, 1024.00},
    };
    for (const Case &c : cases) {
        employee.left = c.leaves ? QDate(2008, 1, 31) : QDate();
        std::vector<ItemRecord> list{item(6, Constant, c.gross), item(148, Cents, c.paidBack)};
        if (c.deduction != 0)
            list.push_back(item(145, Deduction, c.deduction));
        const Month r = run(list);
        EXPECT_DOUBLE_EQ(r.of(Cents).amount2, c.retained) << c.what;
        EXPECT_DOUBLE_EQ(r.final(Cents), c.final) << c.what;
        EXPECT_DOUBLE_EQ(r.t.spol, c.net) << c.what;
        EXPECT_DOUBLE_EQ(r.t.ud1, c.paidBack) << c.what;
        EXPECT_DOUBLE_EQ(r.t.ud2, c.retained) << c.what;
    }
}

TEST_F(Formula, NegativeNetDropsConstantDeductions)
{
    // 150 against a gross of 100: the second pass drops the deduction.
    Month r = run({item(6, Constant, 100), item(145, Deduction, 150)});
    EXPECT_DOUBLE_EQ(r.final(Deduction), 0.00);
    EXPECT_DOUBLE_EQ(r.final(Deductions), 0.00);
    EXPECT_DOUBLE_EQ(r.t.spol, 100.00);
    EXPECT_DOUBLE_EQ(r.final(Net), 100.00);

    // An advance is not dropped; the non-cash remainder stays at 0.
    r = run({item(6, Constant, 100), item(142, Advance, 150), item(199, Remainder)});
    EXPECT_DOUBLE_EQ(r.final(Remainder), 0.00);
    EXPECT_DOUBLE_EQ(r.t.spol, -50.00);

    // With a positive net the remainder takes it all.
    r = run({item(6, Constant, 100), item(142, Advance, 30), item(199, Remainder)});
    EXPECT_DOUBLE_EQ(r.final(Remainder), 70.00);
    EXPECT_DOUBLE_EQ(r.t.spol, 0.00);
}

TEST_F(Formula, CorrectionsGoOntoTheItemTheyName)
{
    const Month r = run({item(6, Constant, 100), item(145, Deduction, 10), item(198, Correction, 5, 0, Constant),
                       item(198, Correction, 7, 0, 999), item(198, Correction, 3, 0, Net), item(198, Correction, 2, 0, Deductions)});
    EXPECT_DOUBLE_EQ(r.of(Constant).correction, 5);
    EXPECT_DOUBLE_EQ(r.final(Constant), 105.00);
    const std::vector<double> amounts = [&] {
        std::vector<double> a;
        for (const ItemRecord &i : r.items)
            if (i.type == 198)
                a.push_back(i.amount);
        return a;
    }();
    EXPECT_EQ(amounts, (std::vector<double>{5, 0, 0, 2})); // the missing code and the net pay are out of reach
    EXPECT_DOUBLE_EQ(r.final(Deductions), 12.00);
    EXPECT_DOUBLE_EQ(r.t.spol, 95.00);
}

TEST_F(Formula, DaysOfLeaveAndEmployment)
{
    struct Case {
        const char *what;
        QDate begin;
        QDate end;
        int d;
        int expected;
    } cases[] = {
        {"in the month", QDate(2008, 1, 21), QDate(2008, 1, 25), 9, 5},
        {"over the weekend", QDate(2008, 1, 25), QDate(2008, 1, 28), 0, 2},
        {"from last month", QDate(2007, 12, 20), QDate(2008, 1, 4), 0, 3},
        {"ending on the 2nd", QDate(2007, 12, 27), QDate(2008, 1, 2), 0, 1},
        {"into next month", QDate(2008, 1, 28), QDate(2008, 2, 8), 0, 4},
        {"next month", QDate(2008, 2, 4), QDate(2008, 2, 8), 4, 0},
        {"over before the month", QDate(2007, 12, 3), QDate(2007, 12, 7), 5, 5},
    };
    for (const Case &c : cases) {
        const Month r = run({item(1, Salary, 1100), dated(item(14, Unpaid, 0, 0, c.d), c.begin, c.end)});
        EXPECT_EQ(r.of(Unpaid).d, c.expected) << c.what;
        EXPECT_EQ(r.t.onpl, c.expected) << c.what;
    }

    // Hired on the 10th, leaving on the 25th: 16 days uninsured, 10 worked
    // and one of unpaid leave.
    employee.hired = QDate(2008, 1, 10);
    employee.left = QDate(2008, 1, 25);
    const Month r = run({item(1, Salary, 1100), leave(14, Unpaid, 24, 28)});
    EXPECT_EQ(r.t.odni, 10);
    EXPECT_EQ(r.of(Unpaid).d, 1); // the days from leaving are not leave
    EXPECT_EQ(r.t.nsdni, 16 + 1);
    EXPECT_EQ(r.calendar.day[24], Unpaid);
    EXPECT_EQ(r.calendar.day[28], 0);
    EXPECT_FALSE(calc::stays(employee, kJanuary));
    EXPECT_DOUBLE_EQ(r.final(Salary), 500.00); // 10 of 22 days
}

TEST_F(Formula, InactiveAndAutocalcOff)
{
    ItemRecord salary = item(1, Salary, 1100);
    salary.amountRead = salary.finalRead = 1100;
    ItemRecord stale = leave(11, Leave, 21, 25, 3);
    stale.amountRead = stale.finalRead = 150;

    employee.active = 0;
    Month r = run({salary, stale});
    EXPECT_EQ(r.outcome, calc::Outcome::Inactive);
    for (const ItemRecord &i : r.items)
        EXPECT_EQ(i.amount, 0.0) << i.code;
    EXPECT_TRUE(calc::itemChanged(r.of(Salary)));
    EXPECT_EQ(r.of(Leave).d, 3);

    employee.active = 1;
    r = run({salary, stale}, false);
    EXPECT_EQ(r.outcome, calc::Outcome::AutocalcOff);
    EXPECT_EQ(r.of(Leave).d, 5);
    EXPECT_DOUBLE_EQ(r.of(Leave).final, 150);
    EXPECT_DOUBLE_EQ(r.of(Salary).final, 1100);

    EXPECT_EQ(run({}, true, false).outcome, calc::Outcome::NoItems);
}

TEST_F(Formula, CalendarWithoutWorkingDaysIsRefused)
{
    setCalendar(QString(31, u'0'));
    EXPECT_THROW(run({item(1, Salary, 1100)}), calc::CalcError);
}

TEST_F(Formula, ChangedItemsAreThoseThatWouldBeStoredDifferently)
{
    ItemRecord it = item(6, Constant, 0);
    it.amountRead = it.finalRead = 1234.56;
    it.amount = it.final = 1234.57; // one cent: 1234.57 - 1234.56 is below 0.01 in doubles
    EXPECT_TRUE(calc::itemChanged(it));
    it.amount = it.final = 1234.5600001;
    EXPECT_FALSE(calc::itemChanged(it));
    it.d = 1;
    EXPECT_TRUE(calc::itemChanged(it));
}

TEST_F(Formula, ItemDescriptions)
{
    calc::Totals last;
    last.odni = 21;
    last.wcosuma32 = 1200;
    last.szdr = 1250;
    last.sobl = 987.6;
    struct Case {
        ItemRecord item;
        const char *expected;
    } cases[] = {
        {item(3, Klas, 6.6, 0, 12), "12 категория  6.600  % "},
        {item(148, Cents, 0.56, 0.23), " начислени 0.56 удържани 0.23 лв "},
        {item(1, Salary, 1100, 1200, 16), "1100.00 лв  1200.00 лв от 16 21 дни"},
        {item(1, Salary, 900), " 900.00 лв  21 дни"},
        {leave(11, Leave, 21, 25, 5), "от 21.01.2008 до 25.01.2008  5 дни"},
        {item(139, Pension, 12.5), "12.500  % 1200.00 лв "},
        {item(139, Health, 6), " 6.000  % 1250.00 лв "},
        {item(140, Tax), " облагаема сума  987.60 лв "},
        {item(198, Correction, 5, 0, Constant), "700 Перо 700"},
        {item(201, Net), "Перо 2010"},
        {item(36, 999), ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(calc::itemDescription(c.item, params.definitions, last, 1, util::Period(2008, 1)), QString::fromUtf8(c.expected)) << c.expected;
}

} // namespace
