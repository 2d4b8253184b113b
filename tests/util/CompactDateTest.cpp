#include "util/CompactDate.h"
#include "util/DateText.h"

#include "tests/util/Printers.h"

#include <gtest/gtest.h>

using namespace plavex::util;

namespace plavex::util {
void PrintTo(const CompactDate &d, std::ostream *os) { *os << int(d.year) << '/' << int(d.month) << '/' << int(d.day); }
} // namespace plavex::util

TEST(CompactDate, FromEightDigits)
{
    const struct {
        const char16_t *text;
        std::optional<CompactDate> date;
    } cases[] = {
        {u"31122049", CompactDate{149, 12, 31}}, // two-digit years 00-49 are 2000-2049
        {u"01011999", CompactDate{99, 1, 1}},
        {u"15062000", CompactDate{100, 6, 15}},
        {u"00052005", CompactDate{105, 5, 0}},  // day 0: the whole month
        {u"01010075", CompactDate{75, 1, 1}},   // year 0075 is 1975
        {u"31122155", CompactDate{255, 12, 31}}, // the last year the byte holds
        {u"01012156", std::nullopt},            // would wrap round to 1900
        {u"01010300", std::nullopt},            // likewise
        {u"01011500", std::nullopt},
        {u"32012005", std::nullopt},
        {u"01002005", std::nullopt},
        {u"01132005", std::nullopt},
        {u"0101200", std::nullopt},
        {u"010120050", std::nullopt},
        {u"a1012005", std::nullopt},
        {u"01-12005", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CompactDate::fromEightDigits(text), c.date) << text.toStdString();
    }
}

TEST(CompactDate, Conversions)
{
    EXPECT_EQ((CompactDate{105, 3, 7}).sixDigits(), u"070305");
    EXPECT_EQ((CompactDate{149, 12, 31}).sixDigits(), u"311249");

    EXPECT_EQ((CompactDate{105, 5, 0}).toDate(), QDate(2005, 5, 1));
    EXPECT_EQ((CompactDate{105, 2, 28}).toDate(), QDate(2005, 2, 28));
    EXPECT_FALSE((CompactDate{105, 2, 31}).toDate().isValid());
    EXPECT_FALSE(CompactDate{}.toDate().isValid());

    EXPECT_EQ(CompactDate::fromDate(QDate(2007, 12, 31)), (CompactDate{107, 12, 31}));
    EXPECT_EQ(CompactDate::fromDate(QDate(1875, 1, 1)), CompactDate{});
    EXPECT_EQ(CompactDate::fromDate(QDate()), CompactDate{});
    EXPECT_TRUE(CompactDate{}.isEmpty());
    EXPECT_FALSE((CompactDate{0, 0, 1}).isEmpty());
}

TEST(CompactDate, ComparesYearThenMonthThenDay)
{
    EXPECT_LT((CompactDate{105, 12, 31}), (CompactDate{106, 1, 1}));
    EXPECT_LT((CompactDate{106, 1, 31}), (CompactDate{106, 2, 0}));
    EXPECT_LT((CompactDate{106, 2, 0}), (CompactDate{106, 2, 1}));
    EXPECT_FALSE((CompactDate{106, 2, 1}) < (CompactDate{106, 2, 1}));
    EXPECT_LT(CompactDate{}, (CompactDate{0, 1, 0}));
}

TEST(DateText, DateFromEightDigits)
{
    QString text = QStringLiteral("07032005");
    EXPECT_EQ(dateFromEightDigits(text, u'.'), QDate(2005, 3, 7));
    EXPECT_EQ(text, u"07.03.2005");

    // With any other separator the literal is month first.
    text = QStringLiteral("07032005");
    EXPECT_EQ(dateFromEightDigits(text, u'/'), QDate(2005, 3, 7));
    EXPECT_EQ(text, u"03/07/2005");

    for (const char16_t *bad : {u"31022005", u"00052005", u"01011500", u"garbage!"}) {
        text = QString::fromUtf16(bad);
        EXPECT_EQ(dateFromEightDigits(text, u'.'), QDate(1899, 12, 31)) << text.toStdString();
        EXPECT_TRUE(text.isEmpty());
    }
}

TEST(DateText, Formats)
{
    EXPECT_EQ(QDate(2005, 3, 7).toString(displayDateFormat(u'/')), u"07/03/2005");
    EXPECT_EQ(QDate(2005, 3, 7).toString(monthFormat(u'.')), u"03.2005");
    EXPECT_EQ(emptyDateText(u'.'), u"31.12.1899");
}
