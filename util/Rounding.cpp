#include "util/Rounding.h"

#include <array>
#include <cfenv>
#include <cmath>

namespace plavex::util {

namespace {

// Every figure of a run is rounded, most to 0-3 decimals: their factors are
// computed once, by the same pow as any other.
constexpr int kKnownFactors = 8;

double factorOf(int decimals)
{
    static const auto known = [] {
        std::array<double, kKnownFactors> f{};
        for (int i = 0; i < kKnownFactors; ++i)
            f[static_cast<size_t>(i)] = std::pow(10.0, -i);
        return f;
    }();
    return decimals >= 0 && decimals < kKnownFactors ? known[static_cast<size_t>(decimals)] : std::pow(10.0, -decimals);
}

} // namespace

double roundHalfEven(double value, int decimals)
{
    // The factor is held as a double (0.01 for two decimals) and the quotient
    // is taken in extended precision, so 0.235 becomes 0.23, not 0.24.
    const double factor = factorOf(decimals);
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const long double quotient = static_cast<long double>(value) / static_cast<long double>(factor);
    // In the nearest mode rintl is nearbyintl without saving and restoring
    // the floating-point environment each time.
    const long double rounded = std::rintl(quotient);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return static_cast<double>(rounded * static_cast<long double>(factor));
}

} // namespace plavex::util
