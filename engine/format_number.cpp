// FormatNumber: a number as fixed-point text with the mask's decimals (six).
//
// Method: the value is reduced to an 18-significant-digit decimal integer N and
// a decimal exponent d (N * 10^(d - 17)), using the shared powers of ten; the
// fixed-point text is then cut from that digit string and rounded on it, ties to
// even, so every step after the reduction is exact.
// Special cases: NaN, zeros, denormals (and the encodings the x87 unit rejects)
// give "0.000000"; an infinity gives 19 nines and 980 zeros before the point.
// Accuracy: the text differs from the value by at most half a unit of the last
// decimal plus the reduction's error (one rounding of |x| * 10^k and the error
// of 10^k itself), which is below 10^-17 relative.

#include "format_number.h"

#include <cstdint>

#include "extended.h"
#include "powers_of_ten.h"
#include "x87_math.h"

namespace {

// Digits of the reduced decimal form.
constexpr int kReducedDigits = 18;
// 10^18: the reduction's integer N must stay below it.
constexpr long double kTenToThe18 = 1e18L;
// Multiplier that estimates the decimal exponent from the binary one:
// 19728 / 65536 is log10(2) = 0.30103 rounded down to 16 bits, so the estimate
// floor(e * 19728 / 65536) is never above the true decimal exponent.
constexpr std::int32_t kLog10Of2Times65536 = 19728;
constexpr int kLog10Of2Shift = 16;
// Biased exponent of infinities and NaNs, and the significand of an infinity.
constexpr std::uint16_t kSpecialExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
// The integer part shown for an infinity: 19 nines, then 980 zeros.
constexpr int kInfinityNines = 19;
constexpr int kInfinityZeros = 980;

// Decimals a mask asks for: the placeholders after its point.
int DecimalsOfMask(std::string_view mask)
{
    const std::size_t point = mask.find('.');
    if (point == std::string_view::npos)
        return 0;
    int decimals = 0;
    for (char c : mask.substr(point + 1))
        if (c == '0' || c == '#')
            ++decimals;
    return decimals;
}

std::string ZeroText(int decimals)
{
    std::string text = "0";
    if (decimals > 0)
        text += '.' + std::string(static_cast<std::size_t>(decimals), '0');
    return text;
}

// Scales |x| by 10^k (k may be negative) as the reduction does: a power beyond
// 10^4096 is applied as 10^4096 first and then the rest.
long double ScaleByPowerOfTen(long double magnitude, int k)
{
    if (k > 0) {
        if (k > kPowerOfTenSplit) {
            magnitude *= kTenToThe4096;
            k -= kPowerOfTenSplit;
        }
        return magnitude * PowerOfTenUpToSplit(k);
    }
    if (k < 0) {
        k = -k;
        if (k > kPowerOfTenSplit) {
            magnitude /= kTenToThe4096;
            k -= kPowerOfTenSplit;
        }
        return magnitude / PowerOfTenUpToSplit(k);
    }
    return magnitude;
}

// Adds one to the last digit of `digits`, carrying leftwards; returns true when
// the carry runs off the front (all nines).
bool IncrementDigits(std::string& digits)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Fixed-point text of N * 10^(d - 17), rounded to `decimals` on the digit string.
std::string FixedPointText(std::uint64_t n, int d, int decimals, bool negative)
{
    const std::string significant = std::to_string(n);  // kReducedDigits digits
    std::string integerPart;
    std::string fraction;
    const int pointAfter = d + 1;  // digits of `significant` before the point
    if (pointAfter <= 0) {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-pointAfter), '0') + significant;
    } else if (pointAfter >= kReducedDigits) {
        integerPart = significant + std::string(static_cast<std::size_t>(pointAfter - kReducedDigits), '0');
    } else {
        integerPart = significant.substr(0, static_cast<std::size_t>(pointAfter));
        fraction = significant.substr(static_cast<std::size_t>(pointAfter));
    }

    const std::size_t kept = static_cast<std::size_t>(decimals);
    if (fraction.size() < kept + 1)
        fraction.resize(kept + 1, '0');

    // Round on the digit string: above 5 up, below 5 keep; exactly 5 goes up if
    // any later digit is not zero, else only when the last kept digit is odd.
    const char first = fraction[kept];
    const bool laterNonZero = fraction.find_first_not_of('0', kept + 1) != std::string::npos;
    const char lastKept = kept > 0 ? fraction[kept - 1] : integerPart.back();
    const bool roundUp = first > '5' || (first == '5' && (laterNonZero || (lastKept - '0') % 2 == 1));
    fraction.resize(kept);
    if (roundUp && IncrementDigits(fraction) && IncrementDigits(integerPart))
        integerPart.insert(integerPart.begin(), '1');

    std::string text;
    text.reserve(integerPart.size() + fraction.size() + 2);
    if (negative)
        text += '-';
    text += integerPart;
    if (decimals > 0)
        text += '.' + fraction;
    return text;
}

}  // namespace

std::string FormatNumber(long double value, std::string_view mask)
{
    const int decimals = DecimalsOfMask(mask);
    const ExtendedBits bits = BitsOfExtended(value);
    const bool negative = (bits.signExponent & 0x8000u) != 0;
    const int biased = bits.signExponent & 0x7FFF;

    // Zeros and denormals; unnormals and the other encodings the unit treats as
    // invalid read as NaN.
    if (biased == 0 || (bits.significand & kIntegerBit) == 0)
        return ZeroText(decimals);
    if (biased == kSpecialExponent) {
        if (bits.significand != kIntegerBit)
            return ZeroText(decimals);  // NaN
        std::string text = negative ? "-" : "";
        text += std::string(kInfinityNines, '9') + std::string(kInfinityZeros, '0');
        if (decimals > 0)
            text += '.' + std::string(static_cast<std::size_t>(decimals), '0');
        return text;
    }

    // Reduce |x| to N * 10^(d - 17) with 10^17 <= N < 10^18.
    const std::int32_t e = biased - kExtendedExponentBias;
    int d = (e * kLog10Of2Times65536) >> kLog10Of2Shift;  // floor, also for negative e
    const long double magnitude = negative ? -value : value;
    const long double y = ScaleByPowerOfTen(magnitude, kReducedDigits - 1 - d);
    long double n = x87::RoundToInteger(y);
    if (n >= kTenToThe18) {
        n = x87::RoundToInteger(n / 10.0L);
        ++d;
    }
    return FixedPointText(static_cast<std::uint64_t>(n), d, decimals, negative);
}
