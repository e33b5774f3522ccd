// ParseNumber: reads the number a text begins with, in the decimal form
// ("-1.5e3", "1d-3") or the radix form ("&H1F", "&O17", "&B101").
//
// Method: the decimal form keeps at most 18 significant digits as an exact
// 64-bit integer M and the decimal scale s, and forms M * 10^s or M / 10^-s with
// the shared powers of ten, rounded once. The radix form builds an unsigned
// 64-bit integer and reads it as a signed or unsigned integer by its marks.
// Special cases: no digits give a signed zero; a decimal scale at or above
// 10^4933 gives +-2^127 (a finite stand-in for overflow), at or below 10^-4933 a
// signed zero; a radix value too wide for 64 bits gives 0.

#include "parse_number.h"

#include <cstddef>
#include <cstdint>

#include "powers_of_ten.h"

namespace {

// Significant digits kept; every integer below 10^18 fits the 64-bit significand.
constexpr int kMaxSignificantDigits = 18;
// The exponent's value stops growing here; further digits are read and ignored.
constexpr int kExponentCap = 9999;
// Decimal scales Q at or beyond these leave the extended range.
constexpr std::int64_t kOverflowScale = 4933;
constexpr std::int64_t kUnderflowScale = -4933;
// What an overflowing decimal text reads as: 2^127, finite.
constexpr long double kOverflowValue = 0x1p127L;

// Two to the powers that decide how a radix value is read.
constexpr std::uint64_t kTwoTo16 = std::uint64_t{1} << 16;
constexpr std::uint64_t kTwoTo32 = std::uint64_t{1} << 32;
constexpr std::uint64_t kTwoTo63 = std::uint64_t{1} << 63;

// A cursor over the text: past the end it reads as NUL, which ends every form.
struct Cursor {
    std::string_view text;
    std::size_t pos = 0;

    char Peek(std::size_t ahead = 0) const
    {
        return pos + ahead < text.size() ? text[pos + ahead] : '\0';
    }
    void Advance(std::size_t count = 1) { pos += count; }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLeadingBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

long double WithSign(long double magnitude, bool negative)
{
    return negative ? -magnitude : magnitude;
}

// --- Radix form --------------------------------------------------------

// Value of `c` as a digit, or a value no radix accepts.
unsigned DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return 99;
}

// The type marks that may follow the digits.
enum class RadixMark { None, Percent, Ampersand, DoubleAmpersand, Question };

struct RadixDigits {
    unsigned radix;
    unsigned bitsPerDigit;
};

// The radix a letter after "&" selects; any other character selects octal
// and is read as the first digit.
bool RadixFromLetter(char c, RadixDigits& digits)
{
    switch (c) {
    case 'H': case 'h': digits = {16, 4}; return true;
    case 'O': case 'o': case 'Q': case 'q': digits = {8, 3}; return true;
    case 'B': case 'b': digits = {2, 1}; return true;
    default: digits = {8, 3}; return false;
    }
}

RadixMark ReadRadixMark(Cursor& in)
{
    switch (in.Peek()) {
    case '%':
        in.Advance();
        return RadixMark::Percent;
    case '&':
        in.Advance();
        if (in.Peek() == '&') {
            in.Advance();
            return RadixMark::DoubleAmpersand;
        }
        return RadixMark::Ampersand;
    case '?':
        for (int i = 0; i < 3 && in.Peek() == '?'; ++i)
            in.Advance();
        return RadixMark::Question;
    default:
        return RadixMark::None;
    }
}

// Reads the value v as the first applicable rule says: under "?" unsigned below
// 2^63; a leading zero digit or 64-bit width makes it a signed 64-bit integer;
// "&&" unsigned; 32-bit width signed 32-bit; "&" unsigned; else signed 16-bit.
long double RadixValue(std::uint64_t v, RadixMark mark, bool leadingZero)
{
    if (mark == RadixMark::Question)
        return v < kTwoTo63 ? static_cast<long double>(v) : 0.0L;
    if (leadingZero || v >= kTwoTo32)
        return static_cast<long double>(static_cast<std::int64_t>(v));
    if (mark == RadixMark::DoubleAmpersand)
        return static_cast<long double>(v);
    if (v >= kTwoTo16)
        return static_cast<long double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    if (mark == RadixMark::Ampersand)
        return static_cast<long double>(v);
    return static_cast<long double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
}

// After "&": radix letter, digits, optional type mark.
long double ReadRadixForm(Cursor& in)
{
    RadixDigits digits{};
    if (RadixFromLetter(in.Peek(), digits))
        in.Advance();

    std::uint64_t v = 0;
    bool anyDigit = false;
    bool leadingZero = false;
    bool tooWide = false;
    const unsigned spareBits = 64 - digits.bitsPerDigit;
    for (unsigned digit; (digit = DigitValue(in.Peek())) < digits.radix; in.Advance()) {
        if (!anyDigit)
            leadingZero = digit == 0;
        anyDigit = true;
        if ((v >> spareBits) != 0)
            tooWide = true;
        v = (v << digits.bitsPerDigit) | digit;
    }
    if (!anyDigit)
        return 0.0L;
    const RadixMark mark = ReadRadixMark(in);
    if (tooWide)
        return 0.0L;
    return RadixValue(v, mark, leadingZero);
}

// --- Decimal form ------------------------------------------------------

// The exponent after "E", "e", "D" or "d": optional sign, then digits. Without
// a digit the exponent is 0 and the letter and sign are not part of the number.
int ReadExponent(Cursor& in)
{
    std::size_t ahead = 1;
    bool negative = false;
    if (in.Peek(ahead) == '+' || in.Peek(ahead) == '-') {
        negative = in.Peek(ahead) == '-';
        ++ahead;
    }
    if (!IsDigit(in.Peek(ahead)))
        return 0;
    in.Advance(ahead);
    int exponent = 0;
    for (; IsDigit(in.Peek()); in.Advance()) {
        exponent = exponent * 10 + (in.Peek() - '0');
        if (exponent > kExponentCap)
            exponent = kExponentCap;
    }
    return negative ? -exponent : exponent;
}

long double ReadDecimalForm(Cursor& in)
{
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Advance();
    }

    // Mantissa: digits with at most one point. Counts are 64-bit so that no
    // text length can overflow them.
    std::uint64_t m = 0;            // the first significant digits, at most 18
    std::int64_t significant = 0;   // significant digits seen (from the first nonzero)
    std::int64_t digitsBeforePoint = 0;
    std::int64_t leadingZeros = 0;  // mantissa digits before the first nonzero one
    bool anyDigit = false;
    bool seenPoint = false;
    for (;; in.Advance()) {
        const char c = in.Peek();
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsDigit(c))
            break;
        anyDigit = true;
        if (!seenPoint)
            ++digitsBeforePoint;
        if (significant == 0 && c == '0') {
            ++leadingZeros;
            continue;
        }
        if (significant < kMaxSignificantDigits)
            m = m * 10 + static_cast<std::uint64_t>(c - '0');
        ++significant;
    }
    if (!anyDigit)
        return WithSign(0.0L, negative);

    int exponent = 0;
    const char marker = in.Peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd')
        exponent = ReadExponent(in);

    if (significant == 0)
        return WithSign(0.0L, negative);

    // The text's value is 0.d1d2...dn * 10^q.
    const std::int64_t q = digitsBeforePoint - leadingZeros + exponent;
    if (q >= kOverflowScale)
        return WithSign(kOverflowValue, negative);
    if (q <= kUnderflowScale)
        return WithSign(0.0L, negative);

    const std::int64_t kept = significant < kMaxSignificantDigits ? significant : kMaxSignificantDigits;
    const int scale = static_cast<int>(q - kept);
    const long double mantissa = static_cast<long double>(m);  // exact: below 10^18
    long double magnitude = mantissa;
    if (scale > 0)
        magnitude = mantissa * PowerOfTen(scale);
    else if (scale < 0)
        magnitude = mantissa / PowerOfTen(-scale);
    return WithSign(magnitude, negative);
}

}  // namespace

long double ParseNumber(std::string_view text)
{
    Cursor in{text};
    while (IsLeadingBlank(in.Peek()))
        in.Advance();
    if (in.Peek() == '&') {
        in.Advance();
        return ReadRadixForm(in);
    }
    return ReadDecimalForm(in);
}
