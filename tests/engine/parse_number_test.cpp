// ParseNumber: every form a user may type, each row with its exact result.

#include "parse_number.h"

#include <cmath>
#include <string>
#include <string_view>

#include "extended_testing.h"

namespace {

constexpr long double kTwoTo127 = 0x1p127L;

struct ParseCase {
    std::string_view text;
    long double want;  // the extended value nearest to the number shown, unless the row says otherwise
};

const ParseCase kDecimalCases[] = {
    {"1.025", 1.025L}, {"  14.5", 14.5L}, {"+5", 5.0L}, {"-0.0004", -0.0004L},
    {".5", 0.5L}, {"5.", 5.0L}, {"00.005", 0.005L},
    // Separators and trailing text end the number.
    {"1,025", 1.0L}, {"1 000", 1.0L}, {"12abc", 12.0L}, {"1.025 in.", 1.025L}, {"1.2.3", 1.2L},
    {"", 0.0L}, {"abc", 0.0L}, {".", 0.0L}, {"+", 0.0L},
    // Exponents: four letters, held at 9999, ignored without digits.
    {"1e3", 1000.0L}, {"1E+3", 1000.0L}, {"1D3", 1000.0L}, {"1d-3", 0.001L}, {"1e-3", 0.001L},
    {"2.5E", 2.5L}, {"2.5e+", 2.5L}, {"1e+x", 1.0L}, {"1E1E1", 10.0L}, {"1.5e2.5", 150.0L},
    {"0.0004e99999", kTwoTo127}, {"1e-99999999999", 0.0L},
    // Only 18 significant digits count; the rest are dropped, not rounded.
    {"12345678901234567890", 12345678901234567800.0L},
    {"1.99999999999999999999", 1.99999999999999999L},
    {"0.000123456789012345678999", 1.23456789012345678e-4L},
    // The range: overflow gives 2^127, underflow a signed zero.
    {"1e4932", kTwoTo127}, {"-1e5000", -kTwoTo127}, {"1e99999", kTwoTo127},
    {"1e-4933", 0.0L}, {"1.5e-4932", 0.0L},
    // Blanks: space, tab and line feed lead; carriage return does not.
    {"\t3", 3.0L}, {"\n3", 3.0L}, {"\r3", 0.0L},
    // Powers of ten up to 10^27 are exact, so these are correctly rounded.
    {"123456789012345678e9", 123456789012345678e9L}, {"3.14159265358979323e-9", 3.14159265358979323e-9L},
};

const ParseCase kNegativeZeroCases[] = {
    {"-", -0.0L}, {"-0", -0.0L}, {"- 5", -0.0L}, {"--5", -0.0L}, {"-&H10", -0.0L}, {"-.", -0.0L},
    {"-1e-5000", -0.0L},
};

const ParseCase kRadixCases[] = {
    {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&Q17", 15}, {"&q17", 15}, {"&17", 15}, {"&B101", 5},
    {"&HFFFF", -1}, {"&H0FFFF", 65535}, {"&HFFFF&", 65535}, {"&HFFFF?", 65535}, {"&H8000", -32768},
    {"&H7FFF", 32767}, {"&HFFFF%", -1},
    {"&HFFFFFFFF", -1}, {"&HFFFFFFFF&", -1}, {"&HFFFFFFFF&&", 4294967295.0L}, {"&H100000000", 4294967296.0L},
    {"&HFFFFFFFFFFFFFFFF", -1}, {"&HFFFFFFFFFFFFFFFF?", 0}, {"&H1FFFFFFFFFFFFFFFF", 0},
    {"&H7FFFFFFFFFFFFFFF???", 9223372036854775807.0L},
    {"&", 0}, {"&H", 0}, {"&HG", 0}, {"&9", 0}, {"&H10.5", 16}, {"  &B11", 3},
    {"&o1777777777777777777777", -1}, {"&o2777777777777777777777", 0},
};

class ParseNumberTest : public EngineTest {};

TEST_F(ParseNumberTest, DecimalForms)
{
    for (const ParseCase& c : kDecimalCases)
        EXPECT_PRED_FORMAT2(ExtendedEq, c.want, ParseNumber(c.text)) << "text \"" << c.text << "\"";
}

TEST_F(ParseNumberTest, SignWithoutDigitsGivesNegativeZero)
{
    for (const ParseCase& c : kNegativeZeroCases) {
        const long double got = ParseNumber(c.text);
        EXPECT_TRUE(got == 0 && std::signbit(got)) << "text \"" << c.text << "\" gave " << HexOf(got);
    }
}

TEST_F(ParseNumberTest, RadixForms)
{
    for (const ParseCase& c : kRadixCases)
        EXPECT_PRED_FORMAT2(ExtendedEq, c.want, ParseNumber(c.text)) << "text \"" << c.text << "\"";
}

// Above 10^27 the products of the power table are rounded, and the result can
// sit one unit from the nearest value: these two rows pin the table's rounding.
TEST_F(ParseNumberTest, RoundedPowersMissNearestByOneUnit)
{
    EXPECT_PRED_FORMAT2(ExtendedEq, std::nextafter(1e-30L, 0.0L), ParseNumber("1e-30"));
    EXPECT_PRED_FORMAT2(ExtendedEq, std::nextafter(1e1000L, INFINITY), ParseNumber("1e1000"));
}

// The whole text is read however long it is: a window's box can hold far more
// than any number needs.
TEST_F(ParseNumberTest, LongTexts)
{
    const std::string zeros(100000, '0');
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.0L, ParseNumber(zeros));
    EXPECT_PRED_FORMAT2(ExtendedEq, 1.0L, ParseNumber(zeros + "1"));
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.0L, ParseNumber("0." + zeros + "1"));
    EXPECT_PRED_FORMAT2(ExtendedEq, kTwoTo127, ParseNumber("1" + zeros));
    EXPECT_PRED_FORMAT2(ExtendedEq, 2.5L, ParseNumber("2.5" + zeros + "9"));
    EXPECT_PRED_FORMAT2(ExtendedEq, 7.0L, ParseNumber(std::string(100000, ' ') + "7"));
    EXPECT_PRED_FORMAT2(ExtendedEq, 0.0L, ParseNumber("&H" + std::string(100, 'F')));
}

// A NUL inside the text ends the number like any other character.
TEST_F(ParseNumberTest, EmbeddedNulEndsTheNumber)
{
    EXPECT_PRED_FORMAT2(ExtendedEq, 12.0L, ParseNumber(std::string_view("12\0" "5", 4)));
}

}  // namespace
