#include "util/Currency.h"
#include "util/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

using plavex::util::roundHalfEven;

// The cents below depend on it: a platform without a wider long double
// fails here, by name, rather than with wrong cents further down.
TEST(Rounding, NeedsALongDoubleWiderThanDouble)
{
    ASSERT_GT(std::numeric_limits<long double>::digits, std::numeric_limits<double>::digits)
        << "roundHalfEven needs a long double wider than double on this platform";
}

// The quotient by the factor 0.01 (a double) decides, ties go to the even
// neighbour: 0.235 is just below a tie once divided, 0.125 is a tie.
TEST(Rounding, DividesByTheFactorAndBreaksTiesToEven)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {0.235, 2, 0.23}, {0.125, 2, 0.12}, {0.375, 2, 0.37}, {2.5, 0, 2.0},  {3.5, 0, 4.0},
        {-2.5, 0, -2.0},  {1234.565, 2, 1234.57}, {62.0, 2, 62.0}, {0.05, 1, 0.0}, {0.15, 1, 0.1},
        {123.455, 2, 123.45}, {-0.005, 2, -0.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(roundHalfEven(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(EuroChangeover, TheTwoRoundingRules)
{
    using plavex::util::euroHalfUp;
    using plavex::util::euroRoundingUp;
    const struct {
        double leva, pay, general;
    } cases[] = {
        {2000.0, 1022.59, 1022.58}, // 1022.58376
        {100.0, 51.13, 51.13},      // 51.12969
        {4130.0, 2111.64, 2111.64}, // 2111.63552
        {1077.0, 550.67, 550.66},   // 550.66140
        {1000.0, 511.30, 511.29},   // 511.29188
        {19558.3, 10000.00, 10000.00}, // exact: no cent added
        {3911.66, 2000.00, 2000.00},
        {0.0, 0.0, 0.0},
        {-50.0, -25.57, -25.56}, // 25.56459
        {0.005, 0.01, 0.00},
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(euroRoundingUp(c.leva), c.pay) << c.leva;
        EXPECT_DOUBLE_EQ(euroHalfUp(c.leva), c.general) << c.leva;
    }
}
