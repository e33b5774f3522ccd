// The engine's sine, cosine and arctangent against quadruple-precision
// references: within one unit in the last place of the extended format over the
// angles a thread calculation meets, and exact bits pinned for both builds.

#include "x87_math.h"

#include <quadmath.h>

#include <cmath>

#include "extended_testing.h"

namespace {

// Angles of the sweep: the whole range of lead, pressure and key angles, in radians.
constexpr long double kSweepLimit = 1.5L;
constexpr int kSweepSteps = 20000;
// Worst error allowed, in units in the last place: the unit's own accuracy.
constexpr long double kMaxUlps = 1.0L;

long double UlpErrorAgainst(__float128 reference, long double got)
{
    const long double rounded = static_cast<long double>(reference);
    int exponent;
    std::frexp(rounded, &exponent);
    const __float128 ulp = ldexpq(1, exponent - 64);
    return static_cast<long double>(fabsq(static_cast<__float128>(got) - reference) / ulp);
}

class X87MathTest : public EngineTest {};

TEST_F(X87MathTest, WithinOneUlpOverThreadAngles)
{
    long double worstSin = 0, worstCos = 0, worstAtan = 0;
    for (int i = -kSweepSteps; i <= kSweepSteps; ++i) {
        // A step that is not a round binary fraction, so the sweep sees many significands.
        const long double x = kSweepLimit * i / kSweepSteps + 0x1p-40L * i;
        if (x == 0)
            continue;
        const __float128 q = x;
        worstSin = std::max(worstSin, UlpErrorAgainst(sinq(q), x87::Sin(x)));
        worstCos = std::max(worstCos, UlpErrorAgainst(cosq(q), x87::Cos(x)));
        const long double t = x * 40;  // arctangent of ratios up to 60
        worstAtan = std::max(worstAtan, UlpErrorAgainst(atanq(static_cast<__float128>(t)), x87::Atan(t)));
    }
    EXPECT_LE(worstSin, kMaxUlps);
    EXPECT_LE(worstCos, kMaxUlps);
    EXPECT_LE(worstAtan, kMaxUlps);
}

// The same bits in every build: values computed once and written down.
TEST_F(X87MathTest, PinnedBits)
{
    EXPECT_PRED_FORMAT2(ExtendedEq, 0xd.76aa47848677021p-4L, x87::Sin(1.0L));
    EXPECT_PRED_FORMAT2(ExtendedEq, 0x8.a51407da8345c92p-4L, x87::Cos(1.0L));
    EXPECT_PRED_FORMAT2(ExtendedEq, 0xc.90fdaa22168c235p-4L, x87::Atan(1.0L));
}

// Arguments beyond 2^63, which the unit refuses to reduce, are reduced modulo
// 2*pi first: the result is a sine, not the argument handed back.
TEST_F(X87MathTest, HugeArgumentsAreReduced)
{
    for (long double x : {0x1p63L, 1e30L, -1e300L, LDBL_MAX}) {
        const long double s = x87::Sin(x), c = x87::Cos(x);
        EXPECT_TRUE(std::fabs(s) <= 1 && std::fabs(c) <= 1) << HexOf(x) << " " << HexOf(s) << " " << HexOf(c);
    }
    EXPECT_TRUE(std::isnan(x87::Sin(INFINITY)));
    EXPECT_TRUE(std::isnan(x87::Cos(-INFINITY)));
    EXPECT_TRUE(std::isnan(x87::Sin(NAN)));
}

TEST_F(X87MathTest, RoundToIntegerTiesToEven)
{
    EXPECT_PRED_FORMAT2(ExtendedEq, 2.0L, x87::RoundToInteger(2.5L));
    EXPECT_PRED_FORMAT2(ExtendedEq, 4.0L, x87::RoundToInteger(3.5L));
    EXPECT_PRED_FORMAT2(ExtendedEq, -2.0L, x87::RoundToInteger(-2.5L));
    EXPECT_PRED_FORMAT2(ExtendedEq, 999999999999999999.0L, x87::RoundToInteger(999999999999999999.4375L));
}

// The program's mode: a division by zero and an invalid operation give an
// infinity and a NaN, never a trap, and the precision is the full 64 bits.
TEST_F(X87MathTest, ProgramModeMasksAndKeepsFullPrecision)
{
    // Bit 6 of the control word is reserved and always reads as set.
    constexpr std::uint16_t kReservedBit = 0x0040;
    EXPECT_EQ(kProgramFpuControlWord, CurrentFpuControlWord() & ~kReservedBit);
    volatile long double zero = 0.0L, one = 1.0L;
    EXPECT_TRUE(std::isinf(one / zero));
    EXPECT_TRUE(std::isnan(zero / zero));
    volatile long double third = one / 3.0L;
    EXPECT_PRED_FORMAT2(ExtendedEq, 0xa.aaaaaaaaaaaaaabp-5L, third);
}

}  // namespace
