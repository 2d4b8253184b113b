#pragma once

#include <QChar>
#include <QString>

#include <optional>

#include "util/Separators.h"

namespace plavex::util {

// A message the calculator window shows in a box; the state is as it was
// before the key unless the text says otherwise.
struct CalculatorMessage {
    QString caption;
    QString text;

    friend bool operator==(const CalculatorMessage &, const CalculatorMessage &) = default;
};
using CalculatorOutcome = std::optional<CalculatorMessage>;

// The desk calculator without its window: one method per operation, the
// buttons and typed keys dispatched onto them, the display text as state.
// Numbers are shown with up to 15 significant digits and the locale's
// decimal separator and read back from the display on every operation; a
// display that does not read as a number leaves everything as it was.
class DeskCalculator {
public:
    // The window's button tags (17 is not used).
    enum class Button {
        Digit0 = 0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
        ChangeSign = 10, Separator = 11,
        Divide = 12, Multiply = 13, Subtract = 14, Add = 15,
        SquareRoot = 16, Reciprocal = 18, Equals = 19,
        MemoryClear = 20, MemoryRecall = 21, MemoryStore = 22, MemoryAdd = 23,
        DeleteLast = 24, ClearAll = 25, ClearEntry = 26,
    };
    enum class Operation { None, Divide, Multiply, Subtract, Add };

    explicit DeskCalculator(QChar decimalSeparator = Separators::current().decimal);

    // The window was shown: everything but the memory starts afresh.
    void reset();

    // A button released over the window. After "=", a digit, the separator,
    // "<----", "CE" or "C" starts from "0", clicked or typed.
    CalculatorOutcome click(Button button);
    // A key typed anywhere in the window: digits, "." (or the locale's
    // separator), / * - +, "=" and Enter, Backspace, Ctrl+T. Others do nothing.
    CalculatorOutcome type(QChar key);

    CalculatorOutcome digit(int value);
    CalculatorOutcome decimalSeparator();
    CalculatorOutcome operation(Operation op);
    CalculatorOutcome equals();
    CalculatorOutcome changeSign();
    CalculatorOutcome squareRoot();
    CalculatorOutcome reciprocal();
    CalculatorOutcome memoryClear();
    CalculatorOutcome memoryRecall();
    CalculatorOutcome memoryStore();
    CalculatorOutcome memoryAdd();
    CalculatorOutcome deleteLast();
    CalculatorOutcome clearAll();
    CalculatorOutcome clearEntry();

    const QString &display() const { return s_.display; }
    const QString &memoryMarker() const { return s_.marker; }

private:
    struct State {
        QString display;
        QString marker;
        long double first = 0;
        long double second = 0;
        long double result = 0;
        long double memory = 0;
        Operation pending = Operation::None;
        bool newNumber = false;
        bool separatorTyped = false;
        bool resultShown = false; // the display holds what "=" gave
    };

    // Runs `step` on the state; when the display does not read as a number
    // the state goes back to what it was and the message says why.
    template <typename Step>
    CalculatorOutcome guarded(Step step);
    CalculatorOutcome press(Button b); // one operation, guarded
    CalculatorOutcome run(Button b);   // one operation, unguarded

    long double value(const QString &text) const; // throws NotANumber
    QString format(long double value) const;
    CalculatorOutcome complete();

    void doDigit(int d);
    void doSeparator();
    CalculatorOutcome doOperation(Operation op);
    CalculatorOutcome doEquals();
    void doChangeSign();
    CalculatorOutcome doSquareRoot();
    CalculatorOutcome doReciprocal();
    void doDeleteLast();

    QChar separator_;
    State s_;
};

} // namespace plavex::util
