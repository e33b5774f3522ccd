// FormatNumber: the six-decimal texts, with the rounding rules that decide the
// last digit, the limits of the format, and the way back through ParseNumber.

#include "format_number.h"

#include <cmath>
#include <string>

#include "extended.h"
#include "extended_testing.h"
#include "parse_number.h"

namespace {

struct FormatCase {
    long double value;  // the extended value nearest to the number shown
    const char* want;
};

const FormatCase kCases[] = {
    {0.0L, "0.000000"}, {-0.0L, "0.000000"}, {NAN, "0.000000"}, {-NAN, "0.000000"},
    {0x1p-16400L, "0.000000"}, {-0x1p-16400L, "0.000000"}, {0x1p-16382L, "0.000000"},
    {1.025L, "1.025000"}, {0.2L, "0.200000"}, {0.8L, "0.800000"}, {14.5L, "14.500000"},
    {-1.5L, "-1.500000"}, {-0.5L, "-0.500000"},
    // Ties are judged on the 18-digit string, not on the binary value.
    {0.0000004L, "0.000000"}, {0.0000005L, "0.000000"}, {0.0000015L, "0.000002"},
    {0.0000025L, "0.000002"}, {0.0000035L, "0.000004"}, {1.0000005L, "1.000000"},
    {1.0000015L, "1.000002"}, {12.3456785L, "12.345678"}, {123.4567895L, "123.456790"},
    // Carries run into the integer part, which may gain a digit.
    {0.9999996L, "1.000000"}, {9.9999996L, "10.000000"}, {99.9999996L, "100.000000"},
    {999999.9999995L, "1000000.000000"},
    // The sign stays when every digit shown is zero.
    {-0.0000001L, "-0.000000"}, {-0.0000005L, "-0.000000"}, {-0.0000006L, "-0.000001"},
    {1234567.1234567L, "1234567.123457"},
    // Large values: 18 significant digits, then zeros.
    {1e20L, "100000000000000000000.000000"},
    {123456789012345678901234567890.0L, "123456789012345679000000000000.000000"},
    {0x1p127L, "170141183460469232000000000000000000000.000000"},
    {1e17L, "100000000000000000.000000"}, {123456789012345678.0L, "123456789012345678.000000"},
};

TEST(FormatNumberTest, TextsForBothMasks)
{
    for (const FormatCase& c : kCases) {
        EXPECT_EQ(c.want, FormatNumber(c.value, kMaskLength)) << "value " << HexOf(c.value);
        EXPECT_EQ(c.want, FormatNumber(c.value, kMaskDegrees)) << "value " << HexOf(c.value);
    }
}

TEST(FormatNumberTest, Infinities)
{
    const std::string integerPart = std::string(19, '9') + std::string(980, '0');
    const std::string positive = FormatNumber(INFINITY, kMaskLength);
    const std::string negative = FormatNumber(-INFINITY, kMaskDegrees);
    EXPECT_EQ(integerPart + ".000000", positive);
    EXPECT_EQ("-" + integerPart + ".000000", negative);
    EXPECT_EQ(1006u, positive.size());
    EXPECT_EQ(1007u, negative.size());
}

// The extremes of the format reach the powers beyond 10^4096, where the value
// is scaled by 10^4096 first.
TEST(FormatNumberTest, ExtremesOfTheRange)
{
    // The largest value is 1.18973149535723176502e4932; the reduction through
    // 10^4096 and the rest keeps 18 digits to within its rounding, here the last.
    const std::string largest = FormatNumber(LDBL_MAX, kMaskLength);
    EXPECT_EQ("118973149535723176", largest.substr(0, 18));
    EXPECT_EQ(4933u + 7u, largest.size());  // 4933 integer digits, then ".000000"
    EXPECT_EQ("-0.000000", FormatNumber(-LDBL_MIN, kMaskLength));
    EXPECT_EQ("0.000000", FormatNumber(LDBL_MIN, kMaskLength));
}

// Encodings the x87 unit refuses as operands (pseudo-NaN, pseudo-infinity,
// unnormals) read as NaN; pseudo-denormals as the denormals they resemble.
TEST(FormatNumberTest, InvalidEncodingsReadAsNaN)
{
    const long double unnormal = ExtendedFromBits(0x4000000000000000u, 0x3FFF);
    const long double pseudoInfinity = ExtendedFromBits(0, 0x7FFF);
    const long double pseudoDenormal = ExtendedFromBits(0x8000000000000000u, 0x8000);
    for (long double value : {unnormal, pseudoInfinity, pseudoDenormal})
        EXPECT_EQ("0.000000", FormatNumber(value, kMaskLength));
}

TEST(FormatNumberTest, ParsedTextsWrittenBack)
{
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"1.025", "1.025000"}, {"-0", "0.000000"}, {"-0.0000001", "-0.000000"},
        {"&HFFFFFFFF&&", "4294967295.000000"}, {"1e4932", "170141183460469232000000000000000000000.000000"},
        {"0.1234565", "0.123456"}, {"0.12345650000000001", "0.123457"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, FormatNumber(ParseNumber(c.typed), kMaskLength)) << "typed \"" << c.typed << "\"";
}

}  // namespace
