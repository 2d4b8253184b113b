// The calculator window.
#include "app/CalculatorWindow.h"
#include "storage/IniFile.h"
#include "tests/support/GuiTest.h"
#include "util/DeskCalculator.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLatin1Char>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::application;
} // namespace

TEST(Calculator, EdgeCasesThroughTheButtons)
{
    application();
    storage::IniFile ini;
    app::CalculatorWindow window(ini);
    QStringList told;
    window.setMessageHandler([&told](const util::CalculatorMessage &m) { told << m.caption + QLatin1Char('|') + m.text; });
    using B = util::DeskCalculator::Button;
    auto press = [&window](std::initializer_list<B> keys) {
        for (B k : keys)
            QTest::mouseClick(window.button(k), Qt::LeftButton);
        return window.display()->text();
    };
    const struct {
        const char *what;
        std::initializer_list<B> keys;
        const char *shown;
    } cases[] = {
        {"0 - 5 =", {B::Digit0, B::Subtract, B::Digit5, B::Equals}, "-5"},
        {"5 + =", {B::Digit5, B::Add, B::Equals}, "10"},
        {"8 + 2 / 0 =", {B::Digit8, B::Add, B::Digit2, B::Divide, B::Digit0, B::Equals}, "10"},
        {"5 / 0 =", {B::Digit5, B::Divide, B::Digit0, B::Equals}, "0"},
        {"two operators", {B::Digit6, B::Add, B::Multiply, B::Digit2, B::Equals}, "8"},
        {"<---- on -5", {B::Digit5, B::ChangeSign, B::DeleteLast}, "0"},
        {"<---- on -12", {B::Digit1, B::Digit2, B::ChangeSign, B::DeleteLast}, "-1"},
        {"16 digits", {B::Digit1, B::Digit2, B::Digit3, B::Digit4, B::Digit5, B::Digit6, B::Digit7, B::Digit8,
                       B::Digit9, B::Digit0, B::Digit1, B::Digit2, B::Digit3, B::Digit4, B::Digit5, B::Digit6},
         "123456789012345"},
    };
    for (const auto &c : cases) {
        // Every case starts on a window shown afresh.
        window.hide();
        window.show();
        press({B::ClearAll});
        EXPECT_EQ(press(c.keys), QString::fromUtf8(c.shown)) << c.what;
    }
    // Both divisions by zero say why nothing was divided.
    const QString byZero = QStringLiteral("Калкулатор|Деление на нула не е възможно!");
    EXPECT_EQ(told, (QStringList{byZero, byZero}));
    told.clear();

    press({B::ClearAll, B::Digit4, B::ChangeSign, B::SquareRoot});
    EXPECT_EQ(told, QStringList{QStringLiteral("Отрицателни числа|Отрицателни числа не се позволяват!")});
    EXPECT_EQ(window.display()->text(), QStringLiteral("-4"));

    // A key counts where it was pressed, even when let go elsewhere.
    press({B::ClearAll});
    QTest::mousePress(window.button(B::Digit7), Qt::LeftButton);
    QTest::mouseRelease(window.button(B::Digit7), Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(window.display()->text(), QStringLiteral("7"));
    // Typed keys work anywhere in the window.
    QTest::keyClicks(&window, QStringLiteral("*3"));
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(window.display()->text(), QStringLiteral("21"));

    // A closed window forgets the sum and its result, not the memory.
    QTest::keyClicks(&window, QStringLiteral("3000="));
    press({B::MemoryStore});
    window.close();
    window.show();
    QTest::keyClicks(&window, QStringLiteral("7"));
    EXPECT_EQ(window.display()->text(), QStringLiteral("7"));
    press({B::MemoryRecall});
    EXPECT_EQ(window.display()->text(), QStringLiteral("3000"));

    // M+ shows its marker; MC takes it away.
    press({B::MemoryAdd});
    EXPECT_EQ(window.memoryMarker()->text(), QStringLiteral("M+"));
    press({B::MemoryClear});
    EXPECT_TRUE(window.memoryMarker()->text().isEmpty());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
}
