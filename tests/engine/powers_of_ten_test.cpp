// The shared powers of ten: exact as far as the format allows, and infinite
// beyond its range, so that parsing and formatting see the same values.

#include "powers_of_ten.h"

#include <cmath>

#include "extended_testing.h"

namespace {

class PowersOfTenTest : public EngineTest {};

// 10^27 = 2^27 * 5^27 and 5^27 < 2^64: every power up to it is an exact product.
TEST_F(PowersOfTenTest, ExactUpTo27)
{
    long double exact = 1;
    for (int k = 0; k <= 27; ++k, exact *= 10)
        EXPECT_PRED_FORMAT2(ExtendedEq, exact, PowerOfTen(k)) << "k = " << k;
}

TEST_F(PowersOfTenTest, RangeEnds)
{
    EXPECT_PRED_FORMAT2(ExtendedEq, 1e4096L, PowerOfTen(4096));
    EXPECT_TRUE(std::isfinite(PowerOfTen(4932)));
    EXPECT_TRUE(std::isinf(PowerOfTen(4933)));
    // Products are rounded one by one, so a large power may sit a unit from
    // the nearest value, never further than a few.
    EXPECT_LE(UlpDistance(1e1000L, PowerOfTen(1000)), 4.0L);
    EXPECT_LE(UlpDistance(1e4900L, PowerOfTen(4900)), 4.0L);
}

}  // namespace
