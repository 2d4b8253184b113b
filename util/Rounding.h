#pragma once

namespace plavex::util {

// The one rounding of money and rates: scale by 10^decimals, round to the
// nearest integer with ties to even, scale back, on doubles.
double roundHalfEven(double value, int decimals);

} // namespace plavex::util
