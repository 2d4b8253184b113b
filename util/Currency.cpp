#include "util/Currency.h"

namespace plavex::util {

bool isEuroPeriod(const Period &period) { return period >= Period(2026, 1); }

Currency currencyOf(const Period &period)
{
    if (isEuroPeriod(period))
        return {QStringLiteral("EUR"), QStringLiteral("€"), QStringLiteral("евро"), QStringLiteral("ц.")};
    return {QStringLiteral("BGN"), QStringLiteral("лв."), QStringLiteral("лева"), QStringLiteral("ст.")};
}

} // namespace plavex::util
