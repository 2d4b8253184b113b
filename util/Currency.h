#pragma once

#include "util/Period.h"

#include <QDate>
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
    QString sign;         // "лв" in item texts, "€"
    QString caption;      // a document's heading: "Суми в лева", "Суми в евро"
};

Currency currencyOf(const Period &period);
bool isEuroPeriod(const Period &period);
// The currency of what is paid on `date` (an order, an advance): the euro
// from 01.01.2026.
Currency currencyOn(const QDate &date);
// True when the amounts of `stored` are in leva and `reader` counts in euro:
// what a euro month reads of an earlier one, and the closing of the change-over.
bool levaIntoEuro(const Period &stored, const Period &reader);

// The fixed rate of the change-over: leva for one euro.
inline constexpr double kLevaPerEuro = 1.95583;

// An amount in leva in euro, divided by the full rate and taken to the cent
// by one of the two rules of the change-over (negative amounts mirror the
// positive ones).
// Pay, benefits and what is owed to the employee: up to the next cent when
// any further digit is not zero (2000 лв → 1022.59 €).
double euroRoundingUp(double leva);
// Everything else: half a cent and more up (100 лв → 51.13 €).
double euroHalfUp(double leva);

} // namespace plavex::util
