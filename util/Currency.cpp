#include "util/Currency.h"

#include <cmath>
#include <cstdint>

namespace plavex::util {

bool isEuroPeriod(const Period &period) { return period >= Period(2026, 1); }

bool levaIntoEuro(const Period &stored, const Period &reader) { return !isEuroPeriod(stored) && isEuroPeriod(reader); }

Currency currencyOf(const Period &period)
{
    if (isEuroPeriod(period))
        return {QStringLiteral("EUR"), QStringLiteral("€"), QStringLiteral("евро"), QStringLiteral("ц."), QStringLiteral("€"),
                QStringLiteral("Суми в евро")};
    return {QStringLiteral("BGN"), QStringLiteral("лв."), QStringLiteral("лева"), QStringLiteral("ст."), QStringLiteral("лв"),
            QStringLiteral("Суми в лева")};
}

Currency currencyOn(const QDate &date) { return currencyOf(Period(date.year(), date.month())); }

namespace {

// Stored amounts have at most three decimals: in thousandths of a lev the
// division by the rate (195583 / 100000) is exact integer arithmetic, with
// no binary fraction to push an exact cent over the edge.
struct Thousandths {
    bool negative;
    std::int64_t value;
};

Thousandths thousandths(double leva)
{
    const auto t = static_cast<std::int64_t>(std::llround(std::fabs(leva) * 1000.0));
    return {leva < 0, t};
}

double cents(bool negative, std::int64_t c) { return (negative ? -1.0 : 1.0) * static_cast<double>(c) / 100.0; }

// cents = thousandths × 10000 / 195583
constexpr std::int64_t kRateDigits = 195583;

} // namespace

double euroRoundingUp(double leva)
{
    const Thousandths t = thousandths(leva);
    const std::int64_t scaled = t.value * 10000;
    return cents(t.negative, (scaled + kRateDigits - 1) / kRateDigits);
}

double euroHalfUp(double leva)
{
    const Thousandths t = thousandths(leva);
    const std::int64_t scaled = t.value * 10000;
    return cents(t.negative, (2 * scaled + kRateDigits) / (2 * kRateDigits));
}

} // namespace plavex::util
