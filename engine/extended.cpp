// Access to the stored fields of an extended value, for the places that must
// look at its exponent or build a value bit by bit.

#include "extended.h"

#include <cstring>

ExtendedBits BitsOfExtended(long double value)
{
    // The value's first ten bytes are the format; the rest of sizeof(long double) is padding.
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    ExtendedBits bits{};
    std::memcpy(&bits.significand, bytes, sizeof bits.significand);
    std::memcpy(&bits.signExponent, bytes + sizeof bits.significand, sizeof bits.signExponent);
    return bits;
}

long double ExtendedFromBits(std::uint64_t significand, std::uint16_t signExponent)
{
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &significand, sizeof significand);
    std::memcpy(bytes + sizeof significand, &signExponent, sizeof signExponent);
    long double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}
