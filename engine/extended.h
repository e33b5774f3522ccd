// The number format every quantity of Vintrel is held and computed in: the
// x87 80-bit extended format (sign, 15-bit exponent, 64-bit significand with
// an explicit integer bit), which is `long double` for gcc on x86 and x86-64.
#pragma once

#include <cfloat>
#include <cstdint>

static_assert(LDBL_MANT_DIG == 64, "Vintrel computes in the x87 80-bit extended format");
static_assert(LDBL_MAX_EXP == 16384, "Vintrel computes in the x87 80-bit extended format");

// The fields of an extended value as stored in memory (little-endian).
struct ExtendedBits {
    std::uint64_t significand;   // explicit integer bit in bit 63
    std::uint16_t signExponent;  // sign in bit 15, biased exponent below it
};

// Exponent bias of the format: a normal value is 1.f * 2^(biased - 16383).
inline constexpr int kExtendedExponentBias = 16383;

ExtendedBits BitsOfExtended(long double value);
long double ExtendedFromBits(std::uint64_t significand, std::uint16_t signExponent);
