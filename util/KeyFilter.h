#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include "util/Separators.h"

namespace plavex::util {

// What an entry field lets through as the user types. The windows ask this
// for every typed character and act on the answer; nothing here knows a widget.
enum class KeyFilterKind {
    DigitsAndDateSeparator, // dates typed by hand
    Digits,                 // numbers, codes, ЕГН
    Decimal,                // amounts and percentages
    EnterOnly,              // free text
};

struct KeyVerdict {
    enum Action {
        Accept,    // the edit takes the character
        Reject,    // beep, show `message`, keep the focus
        Drop,      // cancel quietly
        NextField, // Enter: move the focus on, no beep, no line break
    };
    Action action = Accept;
    QString message;

    friend bool operator==(const KeyVerdict &, const KeyVerdict &) = default;
};

// `currentText` is the edit's text before the character; only the decimal
// filter looks at it (a second separator is dropped).
KeyVerdict filterKey(KeyFilterKind kind, QStringView currentText, QChar typed,
                     const Separators &separators = Separators::current());

} // namespace plavex::util
