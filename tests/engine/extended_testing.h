// Exact comparison of extended values for the engine's tests: a failure prints
// what was wanted and what came, as hex floats, with the distance in units in
// the last place of the wanted value.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "extended.h"
#include "fpu_mode.h"

inline std::string HexOf(long double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%La", value);
    return text;
}

// True when the two values have the same bits (a NaN equals a NaN of any payload).
inline bool SameExtended(long double a, long double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    const ExtendedBits x = BitsOfExtended(a);
    const ExtendedBits y = BitsOfExtended(b);
    return x.significand == y.significand && x.signExponent == y.signExponent;
}

// Distance of `got` from `want` in units in the last place of `want`.
inline long double UlpDistance(long double want, long double got)
{
    if (want == 0)
        return got == 0 ? 0.0L : INFINITY;
    int exponent;
    std::frexp(want, &exponent);
    const long double ulp = std::ldexp(1.0L, exponent - 64);
    return std::fabs(got - want) / ulp;
}

// EXPECT_PRED_FORMAT2(ExtendedEq, want, got): bit-exact equality.
inline testing::AssertionResult ExtendedEq(const char* wantExpr, const char* gotExpr, long double want,
                                           long double got)
{
    if (SameExtended(want, got))
        return testing::AssertionSuccess();
    char ulps[64];
    std::snprintf(ulps, sizeof ulps, "%.3Lg", UlpDistance(want, got));
    return testing::AssertionFailure() << gotExpr << " (" << wantExpr << ")\n  want " << HexOf(want)
                                       << "\n  got  " << HexOf(got) << "\n  ulp error " << ulps;
}

// Puts the program's FPU mode in force for each test: the test framework's own
// code runs in whatever mode the runtime set up.
class EngineTest : public testing::Test {
protected:
    void SetUp() override { LoadProgramFpuMode(); }
};
