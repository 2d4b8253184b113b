#include "util/Rounding.h"

#include <cfenv>
#include <cmath>

namespace plavex::util {

double roundHalfEven(double value, int decimals)
{
    // The factor is held as a double (0.01 for two decimals) and the quotient
    // is taken in extended precision, so 0.235 becomes 0.23, not 0.24.
    const double factor = std::pow(10.0, -decimals);
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const long double quotient = static_cast<long double>(value) / static_cast<long double>(factor);
    const long double rounded = std::nearbyintl(quotient);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return static_cast<double>(rounded * static_cast<long double>(factor));
}

} // namespace plavex::util
