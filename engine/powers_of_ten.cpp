// The table of decimal powers shared by ParseNumber and FormatNumber.

#include "powers_of_ten.h"

#include <array>

namespace {

// 10^0 to 10^7: exact integers, the low three bits of the exponent.
constexpr std::array<long double, 8> kSmallPowers = {
    1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L,
};

// 10^(8 * 2^i): the extended value nearest to each exact power, selected by bit
// i of k / 8. 10^8 and 10^16 are exact; the rest are rounded once, by the
// compiler's correctly rounded reading of the literal. 10^4096 stands at bit 9
// for k = 4096 itself.
constexpr std::array<long double, 10> kBinaryPowers = {
    1e8L, 1e16L, 1e32L, 1e64L, 1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L, kTenToThe4096,
};

}  // namespace

long double PowerOfTenUpToSplit(int k)
{
    long double power = kSmallPowers[static_cast<unsigned>(k) % 8];
    unsigned bits = static_cast<unsigned>(k) / 8;
    for (long double factor : kBinaryPowers) {
        if (bits == 0)
            break;
        if (bits & 1u)
            power *= factor;
        bits >>= 1;
    }
    return power;
}

long double PowerOfTen(int k)
{
    if (k > kPowerOfTenSplit)
        return PowerOfTenUpToSplit(k - kPowerOfTenSplit) * kTenToThe4096;
    return PowerOfTenUpToSplit(k);
}
