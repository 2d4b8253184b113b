#pragma once

namespace plavex::util {

// The one rounding of money and rates: divide by the factor 10^-decimals
// (held as a double), round the quotient to the nearest integer with ties to
// even, multiply back.
//
// Contract: the quotient is taken in long double, which must be wider than
// double (x86's 80 bits, or 128). Where long double is only a double, values
// like 0.235, 0.375 and 123.455 land on an exact tie and round the other way
// by a cent; the rounding tests refuse such a platform outright.
double roundHalfEven(double value, int decimals);

} // namespace plavex::util
