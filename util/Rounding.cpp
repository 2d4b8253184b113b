#include "util/Rounding.h"

#include <cfenv>
#include <cmath>

namespace plavex::util {

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value * scale);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return rounded / scale;
}

} // namespace plavex::util
