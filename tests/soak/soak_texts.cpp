// The soak's input texts. Every choice goes through Random, so one seed always
// gives the same texts in the same order.

#include "soak_texts.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

namespace soak {
namespace {

// The values a machinist might type into each box, and whether they come as
// whole numbers (which may then also be written in a radix form).
struct FieldRange {
    double low;
    double high;
    unsigned wholePercent;  // how often the value is a whole number
};

// Indexed by Field.
constexpr FieldRange kFieldRanges[] = {
    {0.01, 6.0, 5},       // PitchDiameter
    {0.5, 100.0, 70},     // ThreadsPerInch
    {0.5, 12.0, 85},      // Starts
    {0.0, 60.0, 30},      // PressureAngle
    {0.0, 0.01, 5},       // Backlash
    {0.005, 0.6, 5},      // ActualWire
};

// Most decimals a plain spelling writes.
constexpr int kMostDecimals = 9;

// Texts at the edges of what the parser reads.
constexpr const char* kAwkwardValues[] = {
    "0", "-0", "+0", "-", "+", ".", "-.", "0.0", "--5", "- 5", "-&H10",
    "1e5000", "-1e5000", "1e-5000", "1e4932", "1e-4933", "1e-30", "1e1000", "1e9999999999999",
    "12345678901234567890", "0.0000005", "9.9999996", "1D3", "2.5E", "1E1E1", "1.5e2.5",
    "1,025", "1 000", "1.2.3", "\r3", "\t3", "\n3",
    "&HFFFF", "&H8000", "&HFFFF&", "&HFFFFFFFF&&", "&HFFFFFFFFFFFFFFFF", "&H1FFFFFFFFFFFFFFFF",
    "&HFFFFFFFFFFFFFFFF?", "&B101", "&17", "&", "&HG",
    "90", "-90", "180", "360", "1e18", "-14.5", "-1",
};

// What may follow a number and is ignored by the parser.
constexpr const char* kTrailers[] = {" in.", "in", " deg", "abc", ",5", " 000", "\t", "x1"};

// What may stand before a number and is skipped.
constexpr const char* kLeadingBlanks[] = {" ", "  ", "\t", "\n", " \t\n "};

// The exponent letters, all meaning the same.
constexpr char kExponentLetters[] = {'e', 'E', 'd', 'D'};

// `prefix` then `rest`, built by appending (GCC 12 mistakes the inlined insert
// of `"literal" + std::string` for an overlapping copy, bug 105329).
std::string Prefixed(std::string_view prefix, const std::string& rest)
{
    std::string text(prefix);
    text += rest;
    return text;
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string WithExponent(Random& random, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", static_cast<int>(random.Below(kMostDecimals)), value);
    std::string spelled = text;
    const std::size_t e = spelled.find('e');
    if (e != std::string::npos) {
        spelled[e] = random.Pick(kExponentLetters);
    }
    return spelled;
}

std::string InRadix(Random& random, unsigned long long value)
{
    char text[80];
    switch (random.Below(3)) {
    case 0:
        std::snprintf(text, sizeof text, random.Chance(50) ? "&H%llX" : "&h%llx", value);
        return text;
    case 1:
        std::snprintf(text, sizeof text, "&O%llo", value);
        return text;
    default: {
        std::string binary;
        do {
            binary.insert(binary.begin(), static_cast<char>('0' + (value & 1U)));
            value >>= 1U;
        } while (value != 0);
        return Prefixed("&B", binary);
    }
    }
}

// One way of spelling a value, chosen by weight.
struct Spelling {
    unsigned weight;
    std::function<std::string(Random&, double value, bool whole)> spell;
};

const std::vector<Spelling>& Spellings()
{
    static const std::vector<Spelling> spellings{
        {40, [](Random& r, double v, bool whole) { return Fixed(v, whole ? 0 : 1 + static_cast<int>(r.Below(kMostDecimals))); }},
        {8, [](Random& r, double v, bool) { return Prefixed("+", Fixed(v, static_cast<int>(r.Below(kMostDecimals)))); }},
        {4, [](Random& r, double v, bool) { return Prefixed("-", Fixed(v, static_cast<int>(r.Below(kMostDecimals)))); }},
        {8, [](Random& r, double v, bool) { return r.Pick(kLeadingBlanks) + Fixed(v, 4); }},
        {10, [](Random& r, double v, bool) { return Fixed(v, static_cast<int>(r.Below(kMostDecimals))) + r.Pick(kTrailers); }},
        {12, [](Random& r, double v, bool) { return WithExponent(r, v); }},
        {6, [](Random& r, double v, bool) {
             std::string text = Fixed(v, 1 + static_cast<int>(r.Below(kMostDecimals)));
             return text.rfind("0.", 0) == 0 ? text.substr(1) : text;  // ".5"
         }},
        {4, [](Random& r, double v, bool) { return Prefixed("00", Fixed(v, static_cast<int>(r.Below(kMostDecimals)))); }},
        {8, [](Random& r, double v, bool whole) {
             return whole ? InRadix(r, static_cast<unsigned long long>(v)) : Fixed(v, 3);
         }},
    };
    return spellings;
}

template <class Row>
const Row& ByWeight(Random& random, const std::vector<Row>& rows)
{
    unsigned total = 0;
    for (const Row& row : rows) {
        total += row.weight;
    }
    std::size_t pick = random.Below(total);
    for (const Row& row : rows) {
        if (pick < row.weight) {
            return row;
        }
        pick -= row.weight;
    }
    return rows.back();
}

// A byte from 0x01 to 0xFF.
char AnyByte(Random& random)
{
    return static_cast<char>(1 + random.Below(255));
}

std::string Digits(Random& random, std::size_t count)
{
    std::string digits(count, '0');
    for (char& digit : digits) {
        digit = static_cast<char>('0' + random.Below(10));
    }
    return digits;
}

// The kinds of 64 KB text; each returns exactly kLongTextBytes bytes.
const std::vector<std::function<std::string(Random&, Field)>>& LongTextKinds()
{
    static const std::vector<std::function<std::string(Random&, Field)>> kinds{
        // A number at the very end of a run of blanks: read in full or not at all.
        LongBlanksThenNumber,
        // A number followed by 64 KB of junk that the parser must ignore.
        [](Random& r, Field f) {
            std::string text = PlausibleNumber(r, f) + "z";
            while (text.size() < kLongTextBytes) {
                text += AnyByte(r);
            }
            return text;
        },
        // A whole number of 65536 digits: far beyond the exponent range.
        [](Random& r, Field) { return std::to_string(1 + r.Below(9)) + Digits(r, kLongTextBytes - 1); },
        // A fraction with 65530 zeros after the point: far below it.
        [](Random& r, Field) {
            return Prefixed("0.", std::string(kLongTextBytes - 6, '0')) + std::to_string(1000 + r.Below(9000));
        },
        // A short value with a mantissa of thousands of dropped digits.
        [](Random& r, Field) { return std::to_string(r.Below(10)) + "." + Digits(r, kLongTextBytes - 2); },
        // An exponent of 65534 digits, held at its limit.
        [](Random& r, Field) {
            return r.Chance(50) ? Prefixed("1e", Digits(r, kLongTextBytes - 2))
                                : Prefixed("1e-", Digits(r, kLongTextBytes - 3));
        },
        // Nothing but arbitrary bytes.
        [](Random& r, Field) {
            std::string text(kLongTextBytes, '\0');
            for (char& byte : text) {
                byte = AnyByte(r);
            }
            return text;
        },
    };
    return kinds;
}

// The kinds of text a random calculation puts into a box, by weight (in
// thousandths). Long texts are rare: the platform's edit control takes seconds
// to take in 64 KB (its layout of one line grows with the square of its length).
enum class BoxTextKind { Kept, StartText, Plausible, Awkward, Empty, Bytes, NumberThenBytes, Long };
struct BoxTextWeight {
    unsigned weight;
    BoxTextKind kind;
};
const std::vector<BoxTextWeight> kBoxTextWeights{
    {330, BoxTextKind::Kept},  {100, BoxTextKind::StartText}, {310, BoxTextKind::Plausible},
    {75, BoxTextKind::Awkward}, {60, BoxTextKind::Empty},      {90, BoxTextKind::Bytes},
    {34, BoxTextKind::NumberThenBytes}, {1, BoxTextKind::Long},
};

// Longest short text of arbitrary bytes.
constexpr std::size_t kShortBytesMax = 40;

}  // namespace

std::size_t Random::Below(std::size_t n)
{
    return static_cast<std::size_t>(engine_() % n);
}

double Random::Between(double low, double high)
{
    // 53 random bits make a double in [0, 1).
    const double unit = static_cast<double>(engine_() >> 11U) * 0x1.0p-53;
    return low + (high - low) * unit;
}

std::string PlausibleNumber(Random& random, Field field)
{
    const FieldRange& range = kFieldRanges[static_cast<int>(field)];
    const bool whole = random.Chance(range.wholePercent);
    double value = random.Between(range.low, range.high);
    if (whole) {
        value = std::round(value);
    }
    return ByWeight(random, Spellings()).spell(random, value, whole);
}

std::string AwkwardValue(Random& random)
{
    return random.Pick(kAwkwardValues);
}

std::string ArbitraryBytes(Random& random, std::size_t maxLength)
{
    std::string text(1 + random.Below(maxLength), '\0');
    for (char& byte : text) {
        byte = AnyByte(random);
    }
    return text;
}

std::string LongText(Random& random, Field field)
{
    const auto& kinds = LongTextKinds();
    return kinds[random.Below(kinds.size())](random, field);
}

std::string LongBlanksThenNumber(Random& random, Field field)
{
    const std::string number = PlausibleNumber(random, field);
    std::string text(kLongTextBytes - number.size(), ' ');
    for (std::size_t i = 0; i < text.size(); i += 1 + random.Below(64)) {
        text[i] = random.Chance(50) ? '\t' : '\n';
    }
    return text + number;
}

std::optional<std::string> RandomBoxText(Random& random, Field field, const std::string& startText)
{
    switch (ByWeight(random, kBoxTextWeights).kind) {
    case BoxTextKind::Kept: return std::nullopt;
    case BoxTextKind::StartText: return startText;
    case BoxTextKind::Plausible: return PlausibleNumber(random, field);
    case BoxTextKind::Awkward: return AwkwardValue(random);
    case BoxTextKind::Empty: return {};
    case BoxTextKind::Bytes: return ArbitraryBytes(random, kShortBytesMax);
    case BoxTextKind::NumberThenBytes: return PlausibleNumber(random, field) + ArbitraryBytes(random, kShortBytesMax);
    case BoxTextKind::Long: return LongText(random, field);
    }
    return startText;
}

std::string Describe(const std::string& text)
{
    // Longest text shown in full; longer ones show this much of each end.
    constexpr std::size_t kShownInFull = 48;
    constexpr std::size_t kShownEnd = 16;
    const auto escape = [](std::string_view part) {
        std::string escaped;
        for (char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
                escaped += c;
            } else {
                char code[8];
                std::snprintf(code, sizeof code, "\\x%02X", byte);
                escaped += code;
            }
        }
        return escaped;
    };
    if (text.size() <= kShownInFull) {
        return Prefixed("\"", escape(text)) + "\"";
    }
    const std::string_view view = text;
    return Prefixed("\"", escape(view.substr(0, kShownEnd))) + "\"...\"" + escape(view.substr(view.size() - kShownEnd)) +
           "\" (" + std::to_string(text.size()) + " bytes)";
}

}  // namespace soak
