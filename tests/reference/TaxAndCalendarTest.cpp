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
