// format_number_fuzz: FormatNumber on arbitrary 80-bit patterns (the first ten
// bytes of the input, little-endian as the format is stored): NaNs, denormals,
// infinities and the encodings the x87 unit rejects included.
//
// Every text must have the shape -?[0-9]+\.[0-9]{6} with no leading zero, be
// the same under both masks, and carry the value's sign. Below 10^15 the text
// read back exactly (integer arithmetic, no rounding) must lie within half a
// unit of the sixth decimal plus the 18-digit reduction's error of the value;
// above, where the sixth decimal is lost in that error, the reduction's error
// alone bounds the text read back by strtold.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "format_number.h"
#include "fpu_mode.h"
#include "fuzz_check.h"

namespace {

using UInt128 = unsigned __int128;

// Bytes of the stored format; the rest of a long double is padding.
constexpr std::size_t kFormatBytes = 10;
constexpr int kExponentBias = 16383;
constexpr int kSpecialExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
// Decimals of every text.
constexpr std::size_t kDecimals = 6;
// The integer part of an infinity: 19 nines, then 980 zeros.
const std::string kInfinityText = std::string(19, '9') + std::string(980, '0') + ".000000";

// Below this magnitude the text is checked exactly.
constexpr long double kExactCheckLimit = 1e15L;
// Fraction bits of the fixed-point form the exact check computes in: with
// |x| * 10^6 below 2^70, every quantity stays below 2^127.
constexpr int kFixedPointBits = 50;
// The 18-digit reduction's error relative to the value: half a unit of the
// 18th digit of digits that start at 10^17, or 0.55 of a unit of digits that
// start at 10^18 and are divided by ten, is at most 5.5 * 10^-18; the scaled
// value's rounding adds 2^-64. Below 10^15 the power of ten is exact wherever
// the bound is not dwarfed by the half unit of the sixth decimal.
constexpr UInt128 kReductionErrorNumerator = 6;
constexpr UInt128 kTenToThe18 = 1000000000000000000ULL;
// Above 10^15 the power of ten is rounded too (at most 19 roundings of 2^-64,
// 1.1 * 10^-18), and the read-back adds the roundings of strtold and of the
// division by ten that keeps texts near the largest value finite.
constexpr long double kLargeValueRelativeError = 7e-18L;

// The stored fields of the pattern.
struct Pattern {
    bool negative;
    int biasedExponent;
    std::uint64_t significand;
};

Pattern Decode(const unsigned char* bytes)
{
    Pattern p;
    std::memcpy(&p.significand, bytes, sizeof p.significand);
    const unsigned signExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    p.negative = (signExponent & 0x8000u) != 0;
    p.biasedExponent = static_cast<int>(signExponent & 0x7FFFu);
    return p;
}

// The stored bytes from the sign and exponent down, as hex digits.
std::string PatternText(const unsigned char* bytes)
{
    std::string text;
    for (std::size_t i = kFormatBytes; i-- > 0;) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
    }
    return text;
}

// True for -?[0-9]+\.[0-9]{6} with the integer part "0" or without a leading zero.
bool HasTextShape(std::string_view text)
{
    if (text.starts_with('-'))
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || text.size() - point - 1 != kDecimals)
        return false;
    if (text.find_first_not_of("0123456789.") != std::string_view::npos || text.find('.', point + 1) != text.npos)
        return false;
    return text[0] != '0' || point == 1;
}

// The text's value times 10^6, without its sign: integer part and decimals
// read as one integer. Only for texts of at most 22 digits.
UInt128 ScaledTextValue(std::string_view text)
{
    UInt128 value = 0;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            value = value * 10 + static_cast<UInt128>(c - '0');
    return value;
}

// |T / 10^6 - x| <= 0.5 * 10^-6 + 6 * 10^-18 * |x|, in fixed point: both sides
// times 10^6 * 2^50, with x = S * 2^E exact and a unit of slack for the one
// truncation of a right shift.
bool WithinBound(UInt128 scaledText, const Pattern& p)
{
    const UInt128 scaledSignificand = static_cast<UInt128>(p.significand) * 1000000u;
    const int shift = p.biasedExponent - kExponentBias - 63 + kFixedPointBits;
    UInt128 x = 0;  // |x| * 10^6 * 2^50
    if (shift >= 0)
        x = scaledSignificand << shift;
    else if (shift > -128)
        x = scaledSignificand >> -shift;
    const UInt128 text = scaledText << kFixedPointBits;
    const UInt128 difference = text > x ? text - x : x - text;
    const UInt128 halfUnit = UInt128{1} << (kFixedPointBits - 1);
    return difference <= halfUnit + x * kReductionErrorNumerator / kTenToThe18 + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LoadProgramFpuMode();
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, data, size < kFormatBytes ? size : kFormatBytes);
    long double value;
    std::memcpy(&value, bytes, sizeof value);
    const Pattern p = Decode(bytes);
    const std::string what = fuzz::HexText(value) + " (pattern " + PatternText(bytes) + ")";

    const std::string text = FormatNumber(value, kMaskLength);
    if (const std::string other = FormatNumber(value, kMaskDegrees); other != text)
        fuzz::Fail(what, "both masks give the same text", text, other);
    fuzz::CheckX87StackBalanced(what);
    if (!HasTextShape(text))
        fuzz::Fail(what, "the text's shape", "-?[0-9]+\\.[0-9]{6}", text);

    const bool integerBit = (p.significand & kIntegerBit) != 0;
    if (p.biasedExponent == kSpecialExponent && p.significand == kIntegerBit) {
        const std::string want = (p.negative ? "-" : "") + kInfinityText;
        if (text != want)
            fuzz::Fail(what, "an infinity's text", "19 nines, 980 zeros", text);
        return 0;
    }
    // NaNs, zeros, denormals, and the unnormal encodings the unit reads as NaN.
    if (p.biasedExponent == 0 || p.biasedExponent == kSpecialExponent || !integerBit) {
        if (text != "0.000000")
            fuzz::Fail(what, "NaN, zeros and denormals", "0.000000", text);
        return 0;
    }

    if (text.starts_with('-') != p.negative)
        fuzz::Fail(what, "the text carries the value's sign", p.negative ? "-" : "no sign", text);
    const long double magnitude = std::fabs(value);
    if (magnitude < kExactCheckLimit) {
        if (!WithinBound(ScaledTextValue(text), p))
            fuzz::Fail(what, "within half a unit of the sixth decimal plus the reduction's error",
                       fuzz::HexText(value), text);
        return 0;
    }
    // Read back a tenth of the text: its digits may stand above the largest value.
    const long double tenthReadBack = std::fabs(std::strtold((text + "e-1").c_str(), nullptr));
    const long double tenth = magnitude / 10;
    if (!(std::fabs(tenthReadBack - tenth) <= kLargeValueRelativeError * tenth))
        fuzz::Fail(what, "within the reduction's error", fuzz::HexText(value), text);
    return 0;
}
