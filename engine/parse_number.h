// ParseNumber: the text a user types in an input box, as a number.
#pragma once

#include <string_view>

// Returns the number that `text` begins with, after leading blanks (space, tab,
// line feed). Never fails: a text that does not begin with a number gives zero
// (with the sign typed, if any), and whatever follows the number is ignored.
// Decimal forms ("1.025", "-2.5e3", "1d-3") and radix forms ("&H1F", "&O17",
// "&B101") are read; "." is always the decimal point, whatever the locale.
// Pure: no state, no allocation.
long double ParseNumber(std::string_view text);
