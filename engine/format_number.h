// FormatNumber: a result as the fixed-point text with six decimals the user reads.
#pragma once

#include <string>
#include <string_view>

// The two masks the program formats with. The placeholders before the point
// never limit or pad the integer part, so both give the same text for every value.
inline constexpr std::string_view kMaskLength = "0.000000";
inline constexpr std::string_view kMaskDegrees = "##.000000";

// Returns `value` as text: "-" for a negative value, the integer part in full
// without leading zeros, ".", and exactly six decimals rounded on the value's
// 18-significant-digit decimal form, ties to even. Never fails: NaN, zeros and
// denormals give "0.000000"; an infinity gives 19 nines and 980 zeros before
// ".000000". "." is always the decimal point, whatever the locale. Pure.
std::string FormatNumber(long double value, std::string_view mask);
