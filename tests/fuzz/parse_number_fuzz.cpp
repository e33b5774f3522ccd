// parse_number_fuzz: ParseNumber on arbitrary bytes. Besides running clean
// under AddressSanitizer and UndefinedBehaviorSanitizer, every result must be
// what the reading rules give, worked out here without the engine's code.
//
// Decimal form: the rules define the value as 0.d1..dk * 10^Q (the first 18
// significant digits, Q with the exponent held at 9999), rounded once. That
// value is handed to glibc's strtold, which rounds correctly, as the plain text
// "0.d1..dke<Q>": whenever the scale Q - k needs no power of ten above 10^27,
// every power is exact and the one rounding of the rules is the correct one,
// so the bits must agree. Larger scales use rounded powers of ten and must stay
// within their error bound. Radix form: a plain integer model of its rules.

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fpu_mode.h"
#include "fuzz_check.h"
#include "parse_number.h"

namespace {

// Significant digits the rules keep; later ones are dropped without rounding.
constexpr std::size_t kKeptDigits = 18;
// The exponent's value is held here once it would exceed it.
constexpr std::int64_t kExponentHold = 9999;
// Decimal positions Q at or beyond these read as 2^127 and as a signed zero.
constexpr std::int64_t kOverflowPosition = 4933;
constexpr std::int64_t kUnderflowPosition = -4933;
// The largest scale whose power of ten is an exact extended value.
constexpr std::int64_t kLargestExactScale = 27;
// A power of ten from 10^4933 up is beyond the extended range: dividing by it gives zero.
constexpr std::int64_t kFirstInfinitePower = 4933;
// Relative error allowed with rounded powers: up to 19 roundings of 2^-64 each
// (the constants of the table, their products and the final one) stay below 2^-59.
constexpr long double kPowerErrorBound = 0x1p-59L;
// What an overflowing decimal text reads as.
constexpr long double kOverflowValue = 0x1p127L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Space, tab and line feed are skipped before a number; nothing else is.
bool IsLeadingBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// --- Decimal form --------------------------------------------------------

// A decimal text as the rules see it.
struct DecimalReading {
    bool negative = false;
    bool anyDigit = false;
    std::string significant;   // the mantissa's digits from its first nonzero one
    std::int64_t position = 0; // Q: the text's value is 0.<significant> * 10^Q
};

// Reads an optional sign, a mantissa of digits with at most one point, and an
// exponent that counts only when a digit follows its letter and sign.
DecimalReading ReadDecimal(std::string_view text)
{
    DecimalReading reading;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        reading.negative = text[at++] == '-';

    // The mantissa: the index of the first nonzero digit among all digits,
    // and the number of digits before the point, fix Q without the exponent.
    std::string digits;
    std::int64_t digitsBeforePoint = -1;
    for (; at < text.size(); ++at) {
        if (text[at] == '.' && digitsBeforePoint < 0)
            digitsBeforePoint = static_cast<std::int64_t>(digits.size());
        else if (IsDigit(text[at]))
            digits += text[at];
        else
            break;
    }
    if (digitsBeforePoint < 0)
        digitsBeforePoint = static_cast<std::int64_t>(digits.size());
    reading.anyDigit = !digits.empty();
    const std::size_t firstNonzero = digits.find_first_not_of('0');
    if (firstNonzero == std::string::npos)
        return reading;
    reading.significant = digits.substr(firstNonzero);

    std::int64_t exponent = 0;
    const std::string_view rest = text.substr(at);
    if (!rest.empty() && rest[0] != '\0' && std::strchr("EeDd", rest[0]) != nullptr) {
        std::size_t e = 1;
        const bool negativeExponent = e < rest.size() && rest[e] == '-';
        if (e < rest.size() && (rest[e] == '+' || rest[e] == '-'))
            ++e;
        for (; e < rest.size() && IsDigit(rest[e]); ++e)
            exponent = std::min(exponent * 10 + (rest[e] - '0'), kExponentHold);
        if (negativeExponent)
            exponent = -exponent;
    }
    reading.position = digitsBeforePoint - static_cast<std::int64_t>(firstNonzero) + exponent;
    return reading;
}

void CheckDecimal(std::string_view input, std::string_view text, long double got)
{
    const DecimalReading reading = ReadDecimal(text);
    const long double zero = reading.negative ? -0.0L : 0.0L;
    if (std::signbit(got) != reading.negative)
        fuzz::Fail(input, "the result carries the text's sign", reading.negative ? "negative" : "positive",
                   fuzz::HexText(got));
    if (reading.significant.empty() || reading.position <= kUnderflowPosition) {
        if (!SameBits(got, zero))
            fuzz::Fail(input, "no significant digit, or a scale below range, gives a signed zero",
                       fuzz::HexText(zero), fuzz::HexText(got));
        return;
    }
    if (reading.position >= kOverflowPosition) {
        const long double want = reading.negative ? -kOverflowValue : kOverflowValue;
        if (!SameBits(got, want))
            fuzz::Fail(input, "a scale above range gives 2^127", fuzz::HexText(want), fuzz::HexText(got));
        return;
    }

    const std::string kept = reading.significant.substr(0, kKeptDigits);
    const std::int64_t scale = reading.position - static_cast<std::int64_t>(kept.size());
    const std::string plain = std::string(reading.negative ? "-" : "") + "0." + kept + "e" +
                              std::to_string(reading.position);
    const long double want = std::strtold(plain.c_str(), nullptr);

    if (scale >= -kLargestExactScale && scale <= kLargestExactScale) {
        if (!SameBits(got, want))
            fuzz::Fail(input, "exact powers: the correctly rounded value of " + plain, fuzz::HexText(want),
                       fuzz::HexText(got));
        return;
    }
    if (-scale >= kFirstInfinitePower) {
        if (!SameBits(got, zero))
            fuzz::Fail(input, "a divisor beyond range makes a signed zero", fuzz::HexText(zero),
                       fuzz::HexText(got));
        return;
    }
    const long double error = std::fabs(got - want);
    if (!(error <= kPowerErrorBound * std::fabs(want) + LDBL_TRUE_MIN))
        fuzz::Fail(input, "rounded powers: within 2^-59 of " + plain, fuzz::HexText(want), fuzz::HexText(got));
}

// --- Radix form ----------------------------------------------------------

// Digit value of `c` in any radix (hex letters in either case); 99 for none.
unsigned DigitOf(char c)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    const std::size_t at = kDigits.find(lower);
    return at == std::string_view::npos ? 99 : static_cast<unsigned>(at);
}

// The text after "&": the value its rules give, as a plain integer.
long double RadixModel(std::string_view text)
{
    constexpr unsigned __int128 kTwoTo16 = 1u << 16;
    constexpr unsigned __int128 kTwoTo15 = 1u << 15;
    constexpr unsigned __int128 kTwoTo32 = static_cast<unsigned __int128>(1) << 32;
    constexpr unsigned __int128 kTwoTo31 = static_cast<unsigned __int128>(1) << 31;
    constexpr unsigned __int128 kTwoTo64 = static_cast<unsigned __int128>(1) << 64;
    constexpr unsigned __int128 kTwoTo63 = static_cast<unsigned __int128>(1) << 63;

    std::size_t at = 0;
    unsigned radix = 8;
    const char letter = text.empty() ? '\0' : text[0];
    if (letter == 'H' || letter == 'h')
        radix = 16;
    else if (letter == 'B' || letter == 'b')
        radix = 2;
    if (letter != '\0' && std::strchr("HhOoQqBb", letter) != nullptr)
        ++at;

    unsigned __int128 v = 0;
    bool tooWide = false;
    std::size_t digits = 0;
    bool firstIsZero = false;
    for (; at < text.size() && DigitOf(text[at]) < radix; ++at, ++digits) {
        if (digits == 0)
            firstIsZero = DigitOf(text[at]) == 0;
        v = v * radix + DigitOf(text[at]);
        if (v >= kTwoTo64) {
            tooWide = true;
            v %= kTwoTo64;
        }
    }
    if (digits == 0)
        return 0;
    const std::string_view mark = text.substr(at);
    const bool question = mark.starts_with("?");
    const bool doubleAmpersand = mark.starts_with("&&");
    const bool ampersand = mark.starts_with("&") && !doubleAmpersand;
    if (tooWide)
        return 0;

    const auto asSigned = [](unsigned __int128 value, unsigned __int128 half, unsigned __int128 whole) {
        return value >= half ? static_cast<long double>(static_cast<__int128>(value) - static_cast<__int128>(whole))
                             : static_cast<long double>(value);
    };
    if (question)
        return v < kTwoTo63 ? static_cast<long double>(v) : 0;
    if (firstIsZero || v >= kTwoTo32)
        return asSigned(v, kTwoTo63, kTwoTo64);
    if (doubleAmpersand)
        return static_cast<long double>(v);
    if (v >= kTwoTo16)
        return asSigned(v, kTwoTo31, kTwoTo32);
    if (ampersand)
        return static_cast<long double>(v);
    return asSigned(v, kTwoTo15, kTwoTo16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LoadProgramFpuMode();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const long double got = ParseNumber(input);

    if (std::isnan(got) || std::isinf(got))
        fuzz::Fail(input, "every text reads as a finite number", "finite", fuzz::HexText(got));

    std::size_t start = 0;
    while (start < input.size() && IsLeadingBlank(input[start]))
        ++start;
    const std::string_view text = input.substr(start);
    if (!text.empty() && text[0] == '&') {
        const long double want = RadixModel(text.substr(1));
        if (!SameBits(got, want))
            fuzz::Fail(input, "the radix form's integer", fuzz::HexText(want), fuzz::HexText(got));
    } else {
        CheckDecimal(input, text, got);
    }
    return 0;
}
