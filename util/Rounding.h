#pragma once

namespace plavex::util {

// The one rounding of money and rates: divide by the factor 10^-decimals
// (held as a double), round the quotient to the nearest integer with ties to
// even, multiply back.
double roundHalfEven(double value, int decimals);

} // namespace plavex::util
