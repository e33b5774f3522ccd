// The texts the soak puts into the calculator's input boxes, drawn from a
// seeded generator so that a run can be repeated from its seed: plausible
// numbers in the many spellings the parser takes, awkward values, empty boxes,
// arbitrary bytes (those above 0x7F included) and texts of 64 KB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace soak {

// A reproducible stream of choices. std::mt19937_64 is specified to the bit by
// the standard; the helpers map it to ranges themselves, since the library's
// distributions may differ from one implementation to the next.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    // A whole number in [0, n); n > 0.
    std::size_t Below(std::size_t n);
    // True `percent` times in a hundred.
    bool Chance(unsigned percent) { return Below(100) < percent; }
    // A real number in [low, high).
    double Between(double low, double high);

    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }

private:
    std::mt19937_64 engine_;
};

// Which input box a text is for: each has its own range of sensible values.
enum class Field { PitchDiameter, ThreadsPerInch, Starts, PressureAngle, Backlash, ActualWire };

// The length of the long texts: 64 KB.
inline constexpr std::size_t kLongTextBytes = 65536;

// A value a machinist might type for `field`, in one of the spellings the
// parser reads: plain, signed, blanks before, a unit or letters after, an
// exponent with E or D, a radix form for whole numbers.
std::string PlausibleNumber(Random& random, Field field);

// A value at an edge of the number texts: signed zeros, a sign alone, overflow
// and underflow of the exponent, radix forms at their limits.
std::string AwkwardValue(Random& random);

// 1 to `maxLength` bytes from 0x01 to 0xFF (a window text cannot hold 0x00).
std::string ArbitraryBytes(Random& random, std::size_t maxLength);

// A text of exactly kLongTextBytes bytes: a number after a run of blanks, a
// number followed by junk, a mantissa or an exponent of thousands of digits,
// or arbitrary bytes.
std::string LongText(Random& random, Field field);

// The cheapest of those texts for the platform's edit control to take in: a
// number after 64 KB of blanks.
std::string LongBlanksThenNumber(Random& random, Field field);

// The text of one box in a random calculation, by the weights of one table:
// one of the kinds above, the box's start text, nothing, or nullopt for a box
// left as it is.
std::optional<std::string> RandomBoxText(Random& random, Field field, const std::string& startText);

// A text as a failure message shows it: short ones in full with bytes outside
// printable ASCII escaped, long ones by their two ends and their length.
std::string Describe(const std::string& text);

}  // namespace soak
