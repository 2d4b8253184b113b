#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/TextHelpers.h"

#include "tests/util/Printers.h"

#include <gtest/gtest.h>

using namespace plavex::util;

TEST(NumberText, ReadsTheLeadingNumberAndNeverThrows)
{
    const struct {
        const char16_t *text;
        int integer;
        double real;
    } cases[] = {
        {u"  42  ", 42, 42},
        {u"-17", -17, -17},
        {u"+5", 5, 5},
        {u"12.75", 12, 12.75},
        {u"12abc", 12, 12},
        {u"3.5 лв", 3, 3.5},
        {u".5", 0, 0.5},
        {u"1e3", 1, 1000},
        {u"", 0, 0},
        {u"abc", 0, 0},
        {u"-", 0, 0},
        {u"--5", 0, 0},
        {u"inf", 0, 0},
        {u"nan", 0, 0},
        {u"99999999999", 0, 99999999999.0}, // beyond int
        {u"1e999", 1, 0},
        {u"12,5", 12, 12}, // a comma is not a decimal point here
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(textToInt(text), c.integer) << text.toStdString();
        EXPECT_DOUBLE_EQ(textToFloat(text), c.real) << text.toStdString();
    }
}

TEST(NumberText, FixedWidthColumns)
{
    EXPECT_EQ(fixedNumber(3.5, 5, 2), u" 3.50");
    EXPECT_EQ(fixedNumber(3.5, 1, 2), u"3.50");
    EXPECT_EQ(fixedNumber(-1234.567, 10, 2), u"  -1234.57");
    EXPECT_EQ(fixedNumber(-0.001, 6, 2), u"  0.00");
    EXPECT_EQ(fixedNumber(-0.0, 0, 3), u"0.000");

    EXPECT_EQ(rightAligned(42, 5), u"   42");
    EXPECT_EQ(rightAligned(-42, 5), u"  -42");
    EXPECT_EQ(rightAligned(123456, 3), u"123456");
    EXPECT_EQ(zeroPadded(7, 3), u"007");
    EXPECT_EQ(zeroPadded(-7, 4), u"-007");
    EXPECT_EQ(zeroPadded(1234, 2), u"1234");

    EXPECT_EQ(minimum(1, 2), 1);
    EXPECT_EQ(minimum(2, -1), -1);
}

TEST(TextHelpers, PadAndRepeat)
{
    EXPECT_EQ(padLeft(u"ab", 5, u'*'), u"***ab");
    EXPECT_EQ(padRight(u"ab", 5, u' '), u"ab   ");
    EXPECT_EQ(padLeft(u"abcdef", 3, u'*'), u"abcdef");
    EXPECT_EQ(padRight(u"abcdef", 3, u'*'), u"abcdef");
    EXPECT_EQ(repeatChar(3, u'<'), u"<<<");
    EXPECT_EQ(repeatChar(0, u'<'), u"");
    EXPECT_EQ(repeatChar(-2, u'<'), u"");
}

TEST(TextHelpers, TakeFields)
{
    QString line = QStringLiteral("Иван,,12.50");
    EXPECT_EQ(takeCommaField(line), u"Иван");
    EXPECT_EQ(line, u",12.50");
    EXPECT_EQ(takeCommaField(line), u"");
    EXPECT_EQ(takeCommaField(line), u"12.50");
    EXPECT_EQ(line, u"");
    EXPECT_EQ(takeCommaField(line), u"");

    // A run of blanks is one separator.
    line = QStringLiteral("  101   Заплата, 1");
    EXPECT_EQ(takeField(line, u' '), u"101");
    EXPECT_EQ(line, u"Заплата, 1");
    EXPECT_EQ(takeField(line, u' '), u"Заплата,");
    EXPECT_EQ(takeField(line, u' '), u"1");
    EXPECT_TRUE(line.isEmpty());

    line = QStringLiteral("a;;b");
    EXPECT_EQ(takeField(line, u';'), u"a");
    EXPECT_EQ(takeField(line, u';'), u"");
    EXPECT_EQ(line, u"b");
}

TEST(TextHelpers, EditCharacters)
{
    EXPECT_EQ(removeFirst(u"1.234.5", u'.'), u"1234.5");
    EXPECT_EQ(removeFirst(u"abc", u'x'), u"abc");
    EXPECT_EQ(replaceAll(u"   12345", u' ', u'<'), u"<<<12345");
    EXPECT_EQ(replaceAllUnlessBlank(u"   12345", u' ', u'<'), u"<<<12345");
    EXPECT_EQ(replaceAllUnlessBlank(u"     ", u' ', u'<'), u"     ");
    EXPECT_EQ(replaceAll(u"     ", u' ', u'<'), u"<<<<<");
    EXPECT_EQ(stripLeading(u"000120", u'0'), u"120");
    EXPECT_EQ(stripLeading(u"0000", u'0'), u"");
}

TEST(MonthNames, TwelveNamesAndNothingElse)
{
    EXPECT_EQ(monthName(1), u"Януари");
    EXPECT_EQ(monthName(2), u"Февруари");
    EXPECT_EQ(monthName(9), u"Септември");
    EXPECT_EQ(monthName(12), u"Декември");
    EXPECT_EQ(monthName(0), u"");
    EXPECT_EQ(monthName(13), u"");
}
