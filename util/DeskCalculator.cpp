#include "util/DeskCalculator.h"

#include <charconv>
#include <cmath>
#include <string>

namespace plavex::util {

namespace {

constexpr int kMaxDisplay = 15; // characters kept while typing
constexpr int kSignificant = 15;

const QString kCaption = QStringLiteral("Калкулатор");

// A display text that does not read as a number; caught by guarded(),
// which puts the state back.
struct NotANumber {
    QString text;
};

CalculatorMessage divisionByZero() { return {kCaption, QStringLiteral("Деление на нула не е възможно!")}; }

bool startsAfresh(DeskCalculator::Button b)
{
    using B = DeskCalculator::Button;
    return static_cast<int>(b) <= 9 || b == B::Separator || b == B::DeleteLast || b == B::ClearAll
           || b == B::ClearEntry;
}

bool isOperator(DeskCalculator::Button b)
{
    using B = DeskCalculator::Button;
    return b == B::Divide || b == B::Multiply || b == B::Subtract || b == B::Add;
}

} // namespace

DeskCalculator::DeskCalculator(QChar decimalSeparator) : separator_(decimalSeparator) {}

void DeskCalculator::reset()
{
    // What the user stored on purpose stays; the sum he was doing does not.
    const long double memory = s_.memory;
    const QString marker = s_.marker;
    s_ = State{};
    s_.memory = memory;
    s_.marker = marker;
}

template <typename Step>
CalculatorOutcome DeskCalculator::guarded(Step step)
{
    const State before = s_;
    try {
        return step();
    } catch (const NotANumber &e) {
        s_ = before;
        return CalculatorMessage{kCaption, QStringLiteral("\"%1\" не е валидно число.").arg(e.text)};
    }
}

long double DeskCalculator::value(const QString &text) const
{
    QString t = text;
    if (separator_ != u'.') {
        if (t.contains(u'.'))
            throw NotANumber{text};
        t.replace(separator_, u'.');
    }
    const std::string s = t.toStdString();
    long double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        throw NotANumber{text};
    return v;
}

QString DeskCalculator::format(long double v) const
{
    if (v == 0)
        v = 0; // no "-0"
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, kSignificant);
    (void)ec; // 64 characters hold any long double at this precision
    QString text = QString::fromLatin1(buf, end - buf);
    text.replace(u'.', separator_);
    return text;
}

CalculatorOutcome DeskCalculator::complete()
{
    CalculatorOutcome out;
    switch (s_.pending) {
    case Operation::Divide:
        // Not performed: the previous result stays, and the user is told.
        if (s_.second != 0)
            s_.result = s_.first / s_.second;
        else
            out = divisionByZero();
        break;
    case Operation::Multiply: s_.result = s_.first * s_.second; break;
    case Operation::Subtract: s_.result = s_.first - s_.second; break;
    case Operation::Add: s_.result = s_.first + s_.second; break;
    case Operation::None: break;
    }
    s_.first = s_.result;
    s_.display = format(s_.result);
    s_.pending = Operation::None;
    return out;
}

CalculatorOutcome DeskCalculator::run(Button b)
{
    const int tag = static_cast<int>(b);
    if (tag >= 0 && tag <= 9) {
        doDigit(tag);
        return {};
    }
    switch (b) {
    case Button::ChangeSign: doChangeSign(); return {};
    case Button::Separator: doSeparator(); return {};
    case Button::Divide: return doOperation(Operation::Divide);
    case Button::Multiply: return doOperation(Operation::Multiply);
    case Button::Subtract: return doOperation(Operation::Subtract);
    case Button::Add: return doOperation(Operation::Add);
    case Button::SquareRoot: return doSquareRoot();
    case Button::Reciprocal: return doReciprocal();
    case Button::Equals: return doEquals();
    case Button::MemoryClear:
        s_.memory = 0;
        s_.marker.clear();
        return {};
    case Button::MemoryRecall:
        s_.display = format(s_.memory);
        (s_.pending != Operation::None ? s_.second : s_.first) = s_.memory;
        return {};
    case Button::MemoryStore: s_.memory = value(s_.display); return {};
    case Button::MemoryAdd:
        s_.memory += value(s_.display);
        s_.marker = QStringLiteral("M+");
        return {};
    case Button::DeleteLast: doDeleteLast(); return {};
    case Button::ClearAll: {
        const long double memory = s_.memory;
        const QString marker = s_.marker;
        s_ = State{};
        s_.memory = memory;
        s_.marker = marker;
        s_.display = QStringLiteral("0");
        return {};
    }
    case Button::ClearEntry:
        (s_.pending != Operation::None ? s_.second : s_.first) = 0;
        s_.display = QStringLiteral("0");
        return {};
    default: return {};
    }
}

void DeskCalculator::doDigit(int d)
{
    if (s_.display == u"0")
        s_.display.clear();
    if (s_.newNumber && !s_.separatorTyped) {
        s_.display.clear();
        s_.newNumber = false;
    }
    if (s_.display.size() >= kMaxDisplay)
        return;
    s_.display += QChar(u'0' + d);
}

void DeskCalculator::doSeparator()
{
    if (s_.newNumber) {
        // The separator begins the new number, so the next operator completes
        // it rather than being taken for a second operator in a row.
        s_.display = QStringLiteral("0") + separator_;
        s_.newNumber = false;
    } else if (s_.display.contains(separator_)) {
        return;
    } else {
        s_.display += separator_;
    }
    s_.separatorTyped = true;
}

CalculatorOutcome DeskCalculator::doOperation(Operation op)
{
    if (s_.newNumber)
        return {};
    CalculatorOutcome out;
    if (s_.pending != Operation::None) {
        s_.second = value(s_.display);
        out = complete();
    } else {
        s_.first = value(s_.display);
    }
    s_.newNumber = true;
    s_.separatorTyped = false;
    s_.pending = op;
    return out;
}

CalculatorOutcome DeskCalculator::doEquals()
{
    if (s_.pending == Operation::None)
        return {};
    s_.second = value(s_.display);
    const CalculatorOutcome out = complete();
    s_.separatorTyped = false;
    s_.first = value(s_.display);
    s_.second = 0;
    s_.result = 0;
    return out;
}

void DeskCalculator::doChangeSign()
{
    if (s_.display == u"0")
        return;
    if (s_.display.startsWith(u'-'))
        s_.display.remove(0, 1);
    else
        s_.display.prepend(u'-');
    if (s_.pending == Operation::None)
        s_.first = value(s_.display);
}

CalculatorOutcome DeskCalculator::doSquareRoot()
{
    if (s_.display == u"0")
        return {};
    if (s_.display.startsWith(u'-'))
        return CalculatorMessage{QStringLiteral("Отрицателни числа"), QStringLiteral("Отрицателни числа не се позволяват!")};
    s_.display = format(std::sqrt(value(s_.display)));
    return {};
}

CalculatorOutcome DeskCalculator::doReciprocal()
{
    if (s_.display == u"0")
        return {};
    const long double v = value(s_.display);
    if (v == 0) // "0,", "0,00": nothing changes
        return divisionByZero();
    s_.display = format(1 / v);
    s_.newNumber = false;
    return {};
}

void DeskCalculator::doDeleteLast()
{
    if (s_.display.size() <= 1) {
        s_.display = QStringLiteral("0");
        return;
    }
    s_.display.chop(1);
    if (s_.display == u"-")
        s_.display = QStringLiteral("0");
}

CalculatorOutcome DeskCalculator::press(Button b)
{
    // Typed or clicked alike: after "=" a digit starts a new number and an
    // operator goes on from the result.
    return guarded([&] {
        if (s_.resultShown && startsAfresh(b)) {
            s_.display = QStringLiteral("0");
            s_.resultShown = false;
        }
        if (isOperator(b))
            s_.resultShown = false;
        const CalculatorOutcome out = run(b);
        if (b == Button::Equals)
            s_.resultShown = true;
        return out;
    });
}

CalculatorOutcome DeskCalculator::click(Button b) { return press(b); }

CalculatorOutcome DeskCalculator::type(QChar key)
{
    const char16_t k = key.unicode();
    if (k >= u'0' && k <= u'9')
        return press(static_cast<Button>(k - u'0'));
    if (key == u'.' || key == separator_)
        return press(Button::Separator);
    switch (k) {
    case u'/': return press(Button::Divide);
    case u'*': return press(Button::Multiply);
    case u'-': return press(Button::Subtract);
    case u'+': return press(Button::Add);
    case u'=':
    case u'\r': return press(Button::Equals);
    case u'\b': return press(Button::DeleteLast);
    case 0x14: return press(Button::ClearAll); // Ctrl+T
    default: return {};
    }
}

CalculatorOutcome DeskCalculator::digit(int d)
{
    return d >= 0 && d <= 9 ? press(static_cast<Button>(d)) : CalculatorOutcome{};
}
CalculatorOutcome DeskCalculator::decimalSeparator() { return press(Button::Separator); }
CalculatorOutcome DeskCalculator::operation(Operation op)
{
    switch (op) {
    case Operation::Divide: return press(Button::Divide);
    case Operation::Multiply: return press(Button::Multiply);
    case Operation::Subtract: return press(Button::Subtract);
    case Operation::Add: return press(Button::Add);
    case Operation::None: break;
    }
    return {};
}
CalculatorOutcome DeskCalculator::equals() { return press(Button::Equals); }
CalculatorOutcome DeskCalculator::changeSign() { return press(Button::ChangeSign); }
CalculatorOutcome DeskCalculator::squareRoot() { return press(Button::SquareRoot); }
CalculatorOutcome DeskCalculator::reciprocal() { return press(Button::Reciprocal); }
CalculatorOutcome DeskCalculator::memoryClear() { return press(Button::MemoryClear); }
CalculatorOutcome DeskCalculator::memoryRecall() { return press(Button::MemoryRecall); }
CalculatorOutcome DeskCalculator::memoryStore() { return press(Button::MemoryStore); }
CalculatorOutcome DeskCalculator::memoryAdd() { return press(Button::MemoryAdd); }
CalculatorOutcome DeskCalculator::deleteLast() { return press(Button::DeleteLast); }
CalculatorOutcome DeskCalculator::clearAll() { return press(Button::ClearAll); }
CalculatorOutcome DeskCalculator::clearEntry() { return press(Button::ClearEntry); }

} // namespace plavex::util
