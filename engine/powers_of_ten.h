// Powers of ten as both number conversions form them: products of a few
// rounded constants, so that parsing and formatting agree on every power.
#pragma once

// The largest power whose binary pieces are combined directly; a larger
// exponent takes kPowerOfTenSplit as a separate factor first.
inline constexpr int kPowerOfTenSplit = 4096;

// 10^4096, the extended value nearest to it.
inline constexpr long double kTenToThe4096 = 1e4096L;

// 10^k for 0 <= k <= kPowerOfTenSplit: the exact integer 10^(k mod 8) times, in
// increasing order, the constants 10^8, 10^16, ..., 10^4096 selected by the bits
// of k / 8, each product rounded to extended. Exact for k up to 27; above the
// extended range the result is infinity. Callers split larger exponents themselves.
long double PowerOfTenUpToSplit(int k);

// 10^k for any k >= 0: a k above kPowerOfTenSplit takes 10^4096 as a first
// factor that multiplies the rest last (the order the number parser uses).
long double PowerOfTen(int k);
