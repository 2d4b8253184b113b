#pragma once

#include "util/Period.h"

#include <QString>

namespace plavex::util {

// The currency of a period's amounts, the one source of every currency word
// on screen, in documents and in amounts in words: the lev before January
// 2026, the euro from then on.
struct Currency {
    QString code;         // "BGN"
    QString abbreviation; // "лв."
    QString plural;       // "лева"
    QString subunit;      // "ст."
};

Currency currencyOf(const Period &period);
bool isEuroPeriod(const Period &period);

} // namespace plavex::util
