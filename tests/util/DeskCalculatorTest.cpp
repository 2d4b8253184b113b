#include "util/DeskCalculator.h"

#include "tests/util/Printers.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace plavex::util;
using B = DeskCalculator::Button;

namespace {

const QString kDivByZero = QStringLiteral("Деление на нула не е възможно!");

// Types the keys and returns the messages they raised.
QStringList type(DeskCalculator &c, QStringView keys)
{
    QStringList messages;
    for (QChar k : keys)
        if (const auto m = c.type(k))
            messages << m->text;
    return messages;
}

QStringList click(DeskCalculator &c, std::initializer_list<B> buttons)
{
    QStringList messages;
    for (B b : buttons)
        if (const auto m = c.click(b))
            messages << m->text;
    return messages;
}

} // namespace

TEST(DeskCalculator, TypedSequences)
{
    const struct {
        const char16_t *keys;
        const char16_t *display;
        QStringList messages;
    } cases[] = {
        {u"0-5=", u"-5", {}},
        {u"5+=", u"10", {}},                   // the display is the second operand
        {u"8+2/0=", u"10", {kDivByZero}},      // not divided: the previous result stays
        {u"5/0=", u"0", {kDivByZero}},
        {u"2+*3=", u"5", {}},                  // the second operator is ignored
        {u"2+3*4=", u"20", {}},                // left to right
        {u"7/2=", u"3.5", {}},
        {u"1/3=", u"0.333333333333333", {}},
        {u"0.1+0.2=", u"0.3", {}},
        {u"1+.5+2=", u"3.5", {}},              // an operator after ".5" completes it
        {u"5..5", u"5.5", {}},
        {u"1234567890123456", u"123456789012345", {}},
        {u"0-5=\b", u"0", {}},
        {u"0-12=\b", u"0", {}},                // a result is not edited: "<----" starts afresh
        {u"12.5\b\b\b", u"1", {}},
        {u"5+3=2", u"2", {}},                  // after "=" a digit starts a new number
        {u"3000=3", u"3", {}},                 // also when nothing was pending
        {u"5+3=27+1=", u"28", {}},
        {u"5+3=.5", u"0.5", {}},
        {u"5+3=*2=", u"16", {}},               // an operator goes on from the result
        {u"5+3==2", u"2", {}},
        {u"5+3=-", u"8", {}},
        {u"9\r5", u"5", {}},
        {u"5+3\x14", u"0", {}},                // Ctrl+T clears all
        {u"5+3\x14" u"2=", u"2", {}},
        {u"9\r", u"9", {}},                    // Enter without an operation: nothing
        {u"5x+1\r", u"6", {}},                 // other keys do nothing
        {u"99999999*99999999=*99999999=", u"9.9999997e+23", {}},
    };
    for (const auto &c : cases) {
        DeskCalculator calc(u'.');
        const QStringList messages = type(calc, c.keys);
        const QString keys = QString::fromUtf16(c.keys);
        EXPECT_EQ(calc.display(), QString::fromUtf16(c.display)) << keys.toStdString();
        EXPECT_EQ(messages, c.messages) << keys.toStdString();
    }
}

TEST(DeskCalculator, CommaLocale)
{
    DeskCalculator calc(u',');
    type(calc, u"1.5+1,25=");
    EXPECT_EQ(calc.display(), u"2,75");
    type(calc, u"2,5,");
    EXPECT_EQ(calc.display(), u"2,5"); // one separator in a number
}

TEST(DeskCalculator, ClickAfterEqualsStartsANewNumber)
{
    DeskCalculator calc(u'.');
    click(calc, {B::Digit5, B::Add, B::Digit3, B::Equals, B::Digit2});
    EXPECT_EQ(calc.display(), u"2");
    click(calc, {B::Add, B::Digit1, B::Equals, B::Add, B::Digit4, B::Equals});
    EXPECT_EQ(calc.display(), u"7"); // after "=" an operator goes on from the result
    click(calc, {B::DeleteLast});
    EXPECT_EQ(calc.display(), u"0");

    // Clicked "=" and typed digits, and the other way round.
    click(calc, {B::Digit3, B::Digit0, B::Digit0, B::Digit0, B::Add, B::Digit0, B::Equals});
    type(calc, u"7");
    EXPECT_EQ(calc.display(), u"7");
    type(calc, u"+1=");
    click(calc, {B::Digit4});
    EXPECT_EQ(calc.display(), u"4");
}

TEST(DeskCalculator, SignRootAndReciprocal)
{
    DeskCalculator calc(u'.');
    type(calc, u"5+3");
    calc.changeSign();
    calc.equals();
    EXPECT_EQ(calc.display(), u"2");

    type(calc, u"\x14" u"9");
    calc.squareRoot();
    EXPECT_EQ(calc.display(), u"3");
    type(calc, u"\x14" u"0-4=");
    EXPECT_EQ(calc.squareRoot(),
              (CalculatorMessage{QStringLiteral("Отрицателни числа"), QStringLiteral("Отрицателни числа не се позволяват!")}));
    EXPECT_EQ(calc.display(), u"-4");

    type(calc, u"\x14" u"4");
    calc.reciprocal();
    EXPECT_EQ(calc.display(), u"0.25");
    type(calc, u"\x14" u"0.");
    ASSERT_TRUE(calc.reciprocal());
    EXPECT_EQ(calc.display(), u"0.");

    type(calc, u"\x14" u"12");
    calc.changeSign();
    calc.deleteLast();
    EXPECT_EQ(calc.display(), u"-1");

    type(calc, u"\x14");
    EXPECT_FALSE(calc.changeSign()); // "0" keeps no sign
    EXPECT_EQ(calc.display(), u"0");
}

TEST(DeskCalculator, MemoryAndClearing)
{
    DeskCalculator calc(u'.');
    type(calc, u"5");
    calc.memoryStore();
    calc.memoryAdd();
    EXPECT_EQ(calc.memoryMarker(), u"M+");
    type(calc, u"\x14");
    calc.memoryRecall();
    EXPECT_EQ(calc.display(), u"10"); // "CE" keeps the memory
    type(calc, u"+");
    calc.memoryRecall();
    calc.equals();
    EXPECT_EQ(calc.display(), u"20");
    calc.memoryClear();
    EXPECT_EQ(calc.memoryMarker(), u"");

    type(calc, u"\x14" u"5+3");
    calc.clearEntry();
    EXPECT_EQ(calc.display(), u"0");
    type(calc, u"2=");
    EXPECT_EQ(calc.display(), u"7");

    // Showing the window again starts afresh; only the memory stays.
    type(calc, u"4");
    EXPECT_EQ(calc.display(), u"4");
    calc.memoryAdd();
    type(calc, u"+");
    calc.reset();
    EXPECT_EQ(calc.display(), u"");
    EXPECT_EQ(calc.memoryMarker(), u"M+");
    type(calc, u"=");
    EXPECT_EQ(calc.display(), u"");
    calc.memoryRecall();
    EXPECT_EQ(calc.display(), u"4");
    type(calc, u"+1=");
    EXPECT_EQ(calc.display(), u"5");
    type(calc, u"=");
    calc.reset();
    type(calc, u"7");
    EXPECT_EQ(calc.display(), u"7"); // neither the result nor its "=" outlive the window
}

TEST(DeskCalculator, UnreadableDisplayLeavesEverythingAsItWas)
{
    DeskCalculator calc(u'.'); // a window shown for the first time: empty display
    EXPECT_EQ(type(calc, u"+"), QStringList{QStringLiteral("\"\" не е валидно число.")});
    EXPECT_EQ(calc.display(), u"");

    const auto sign = calc.changeSign(); // "-" alone is no number
    ASSERT_TRUE(sign);
    EXPECT_EQ(sign->caption, u"Калкулатор");
    EXPECT_EQ(sign->text, u"\"-\" не е валидно число.");
    EXPECT_EQ(calc.display(), u"");

    EXPECT_TRUE(calc.click(B::Equals) == std::nullopt); // nothing pending
    type(calc, u"5+3=");
    EXPECT_EQ(calc.display(), u"8");
}
