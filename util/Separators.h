#pragma once

#include <QChar>

namespace plavex::util {

// The decimal and date separators of the user's locale. Everything that
// types, shows or reads numbers and dates the user's way takes them from
// here; tests pass their own or pin the locale with QLocale::setDefault.
struct Separators {
    QChar decimal = u'.';
    QChar date = u'.';

    // From the default QLocale (the system's unless a test set another).
    static Separators current();
};

} // namespace plavex::util
