#include "util/KeyFilter.h"

#include <utility>

namespace plavex::util {

namespace {

constexpr char16_t kBackspace = 0x08;
constexpr char16_t kTab = 0x09;
constexpr char16_t kEnter = 0x0D;
constexpr char16_t kEscape = 0x1B;

const QString kDigitsAndSymbol = QStringLiteral("Това поле може да съдържа само цифри (0 - 9) и символа");

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Editing and leaving keys pass every filter. Escape is among them so that
// it still closes a dialog instead of raising the filter's message.
bool isControlKey(QChar c) { return c == kBackspace || c == kTab || c == kEscape; }

KeyVerdict reject(QString message) { return {KeyVerdict::Reject, std::move(message)}; }

} // namespace

KeyVerdict filterKey(KeyFilterKind kind, QStringView currentText, QChar typed, const Separators &separators)
{
    if (typed == kEnter)
        return {KeyVerdict::NextField, {}};
    if (kind == KeyFilterKind::EnterOnly || isDigit(typed) || isControlKey(typed))
        return {};

    switch (kind) {
    case KeyFilterKind::DigitsAndDateSeparator:
        if (typed == separators.date)
            return {};
        return reject(kDigitsAndSymbol + QStringLiteral(" \" ") + separators.date + QStringLiteral(" \""));
    case KeyFilterKind::Digits:
        if (typed == u'-')
            return {};
        return reject(QStringLiteral("Това поле може да съдържа само цифри!"));
    case KeyFilterKind::Decimal:
        if (typed == u'-')
            return {};
        if (typed == separators.decimal)
            return currentText.contains(separators.decimal) ? KeyVerdict{KeyVerdict::Drop, {}} : KeyVerdict{};
        return reject(kDigitsAndSymbol + QStringLiteral(" \"") + separators.decimal + QStringLiteral("\""));
    case KeyFilterKind::EnterOnly:
        break;
    }
    return {};
}

} // namespace plavex::util
