#include "reference/Calendar.h"
#include "reference/Rates.h"
#include "reference/TaxScale.h"

#include <gtest/gtest.h>

using namespace plavex::reference;

TEST(TaxScale, BracketWalkAndTheFlatRateFrom2008)
{
    const TaxScale scale{{0, 0, 0.20}, {200, 40, 0.22}};
    struct Case {
        int year;
        double amount;
        double tax;
    } cases[] = {
        {2007, 150, 30.00}, {2007, 200, 40.00}, {2007, 300, 62.00}, {2007, 199.99, 40.00},
        {2008, 300, 60.00}, // only the first row counts from 2008
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(taxOfYear(scale, c.year, c.amount, 2), c.tax) << c.year << " " << c.amount;

    const TaxScale flat{{0, 0, 0.10}};
    EXPECT_DOUBLE_EQ(taxOfYear(flat, 2008, 1234.56, 2), 123.46);
    EXPECT_DOUBLE_EQ(taxOfYear(flat, 2025, 1234.55, 1), 123.5);
    EXPECT_DOUBLE_EQ(taxOfYear({}, 2007, 500, 2), 0.0);

    // Below the first limit there is no tax; a one-row table gives none either.
    const TaxScale from100{{100, 0, 0.15}, {300, 30, 0.2}};
    EXPECT_DOUBLE_EQ(taxOfYear(from100, 2006, 50, 2), 0.0);
    EXPECT_DOUBLE_EQ(taxFromTable(from100, 400, 2), 50.0);
    EXPECT_DOUBLE_EQ(taxFromTable(flat, 400, 2), 0.0);
}

TEST(Calendar, DefaultMonthTexts)
{
    const QString feb2007 = defaultMonthText(5, QDate(2007, 2, 1));
    EXPECT_EQ(feb2007, QStringLiteral("1100111110011111001111100111000")) << feb2007.toStdString();
    CalendarRecord c;
    ASSERT_TRUE(setCalendarText(c, feb2007, QDate(2007, 2, 1)));
    EXPECT_EQ(c.workingDays, 20);
    EXPECT_EQ(c.daysInMonth, 28);
    EXPECT_EQ(c.weekdayOfDay1, 4);

    // 24 May 2007 is a Thursday and still a day off; the 6th is not marked.
    const QString may = defaultMonthText(5, QDate(2007, 5, 1));
    EXPECT_EQ(may[23], QLatin1Char('0'));
    EXPECT_EQ(may[0], QLatin1Char('0'));
    EXPECT_EQ(may[22], QLatin1Char('1'));

    // A six-day week works on Saturdays; September keeps the 6th and 23rd off.
    const QString sep6 = defaultMonthText(6, QDate(2007, 9, 1));
    EXPECT_EQ(sep6[0], QLatin1Char('1')); // Saturday 1 September 2007
    EXPECT_EQ(sep6[5], QLatin1Char('0'));
    EXPECT_EQ(sep6[22], QLatin1Char('0'));
    EXPECT_EQ(sep6[30], QLatin1Char('0')); // no 31st
}

// The working days of the law's calendar by month, against the published
// counts (2026: 248 days; December 2025 with the decided 31st).
TEST(LawCalendar, WorkingDaysOfTheMonthsOf2025To2026)
{
    const LawCalendar law({{QDate(2025, 12, 31), false, {}}, {QDate(2026, 1, 2), false, {}}});
    auto working = [&](int year, int month, int week = 5) {
        CalendarRecord c;
        const QDate first(year, month, 1);
        EXPECT_TRUE(setCalendarText(c, defaultMonthText(week, first, law), first));
        return c.workingDays;
    };
    const struct {
        int year, month, days;
    } months[] = {{2025, 12, 19}, {2026, 1, 20}, {2026, 2, 20}, {2026, 3, 21}, {2026, 4, 20}, {2026, 5, 18},
                  {2026, 6, 22},  {2026, 7, 23}, {2026, 8, 21}, {2026, 9, 20}, {2026, 10, 22}, {2026, 11, 21},
                  {2026, 12, 20}};
    int year2026 = 0;
    for (const auto &m : months) {
        EXPECT_EQ(working(m.year, m.month), m.days) << m.month << "." << m.year;
        if (m.year == 2026)
            year2026 += m.days;
    }
    EXPECT_EQ(year2026, 248);
    EXPECT_EQ(static_cast<int>(law.daysOff(QDate(2026, 1, 1), QDate(2026, 12, 31)).size()), 365 - 248);

    auto off = [&](int y, int m, int d) { return law.isDayOff(QDate(y, m, d)); };
    EXPECT_TRUE(off(2026, 4, 10) && off(2026, 4, 13));                   // Good Friday, Easter Monday
    EXPECT_TRUE(off(2026, 5, 1) && off(2026, 5, 6) && off(2026, 5, 25)); // 24 May is a Sunday
    EXPECT_TRUE(off(2026, 9, 7) && off(2026, 9, 22));
    EXPECT_FALSE(off(2026, 9, 23));
    EXPECT_TRUE(off(2026, 12, 24) && off(2026, 12, 25) && off(2026, 12, 28)); // the 26th is a Saturday
    EXPECT_FALSE(off(2026, 12, 29));
    // Without the decided days the last day of 2025 is worked.
    EXPECT_FALSE(LawCalendar().isDayOff(QDate(2025, 12, 31)));

    // The six-day week works on Saturdays but not on the holidays; December
    // 2026 less four Sundays and 24, 25, 26 and 28.
    EXPECT_EQ(working(2026, 12, 6), 23);
    EXPECT_EQ(defaultMonthText(6, QDate(2026, 12, 1), law)[25], QLatin1Char('0'));
}

TEST(LawCalendar, EasterAndTheDaysAfterAWeekendHoliday)
{
    EXPECT_EQ(orthodoxEaster(2025), QDate(2025, 4, 20));
    EXPECT_EQ(orthodoxEaster(2026), QDate(2026, 4, 12));
    EXPECT_EQ(orthodoxEaster(2027), QDate(2027, 5, 2));
    EXPECT_EQ(orthodoxEaster(2021), QDate(2021, 5, 2));
    const LawCalendar law;
    // 2021 as published: 1 May on Easter Saturday gives Tuesday the 4th (the
    // Monday is Easter's); 25 and 26 December on the weekend give 27 and 28;
    // 1 January 2022 on a Saturday gives the 3rd. Easter itself gives none.
    for (const QDate &d : {QDate(2021, 5, 4), QDate(2021, 12, 27), QDate(2021, 12, 28), QDate(2022, 1, 3), QDate(2027, 5, 4)})
        EXPECT_TRUE(law.isHoliday(d)) << d.toString(Qt::ISODate).toStdString();
    for (const QDate &d : {QDate(2021, 5, 5), QDate(2021, 12, 29), QDate(2026, 4, 14), QDate(2026, 11, 1)})
        EXPECT_FALSE(law.isHoliday(d)) << d.toString(Qt::ISODate).toStdString();
    // A working Saturday decided by the Council of Ministers.
    const LawCalendar moved({{QDate(2026, 3, 7), true, {}}});
    EXPECT_FALSE(moved.isDayOff(QDate(2026, 3, 7)));
    EXPECT_TRUE(moved.isDayOff(QDate(2026, 3, 14)));
}

// The months before 2017 keep the program's fixed days, whatever the law's
// calendar holds: every 2006–2008 figure stays.
TEST(LawCalendar, MonthsBefore2017KeepTheFixedDays)
{
    const LawCalendar law({{QDate(2008, 3, 4), false, {}}});
    for (int month = 1; month <= 12; ++month)
        for (int week : {5, 6}) {
            const QDate first(2008, month, 1);
            EXPECT_EQ(defaultMonthText(week, first, law), defaultMonthText(week, first)) << month;
        }
    CalendarRecord march;
    ASSERT_TRUE(setCalendarText(march, defaultMonthText(5, QDate(2008, 3, 1), law), QDate(2008, 3, 1)));
    EXPECT_EQ(march.workingDays, 20); // 3 March off, the decided 4th not
    const QString september = defaultMonthText(5, QDate(2008, 9, 1), law);
    EXPECT_EQ(september[21], QLatin1Char('1')); // 22 September worked
    EXPECT_EQ(september[22], QLatin1Char('0')); // 23 September off
}

TEST(Calendar, CountDaysAndBadText)
{
    CalendarRecord c;
    ASSERT_TRUE(setCalendarText(c, defaultMonthText(5, QDate(2007, 2, 1)), QDate(2007, 2, 1)));
    EXPECT_EQ(countDays(c, 1, 0, 31), 20);
    EXPECT_EQ(countDays(c, 1, 1, 2), 2);
    EXPECT_EQ(countDays(c, 0, 1, 31), 8); // days past the 28th do not count
    c.day[5] = 11;                         // a leave mark
    EXPECT_EQ(countDays(c, 11, 1, 28), 1);

    CalendarRecord kept = c;
    QString error;
    EXPECT_FALSE(setCalendarText(kept, QStringLiteral("11111x1111111111111111111111111"), QDate(2007, 2, 1), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("ден 6"))) << error.toStdString();
    EXPECT_EQ(kept.text, c.text);
}

TEST(Rates, VariantZeroUnknownTypeAndTheRegimeBoundary)
{
    std::vector<NoiType> rates(3);
    rates[0].type = 1, rates[0].variant = 1, rates[0].total = 26.5;
    rates[1].type = 1, rates[1].variant = 2, rates[1].total = 27.5;
    rates[2].type = 8, rates[2].variant = 1, rates[2].total = 30.0;
    EXPECT_EQ(findRate(rates, 1, 0)->total, 26.5);
    EXPECT_EQ(findRate(rates, 1, 2)->total, 27.5);
    EXPECT_EQ(findRate(rates, 8, 1)->total, 30.0);
    EXPECT_EQ(findRate(rates, 3, 1)->total, 26.5); // unknown type: the first row
    EXPECT_EQ(findRate({}, 1, 1), nullptr);

    EXPECT_FALSE(bornAfter1959(QStringLiteral("6001010000")));
    EXPECT_TRUE(bornAfter1959(QStringLiteral("6001010001")));
    EXPECT_TRUE(bornAfter1959(QStringLiteral("7501011234")));
    EXPECT_FALSE(bornAfter1959(QStringLiteral("5912310000")));
    EXPECT_TRUE(bornAfter1959(QStringLiteral("0541011234"))); // born 2005: month 41–52 sorts below, yet is young
}
