#pragma once
// Rounding to the nearest integer with halves going to the even neighbour (2.5 → 2, 3.5 → 4,
// -2.5 → -2), the rounding every "rounded" value of the program uses.

#include <cstdint>

namespace media {

// Throws std::overflow_error for NaN, infinities and values outside the 64-bit range.
std::int64_t RoundHalfEven(double value);

// Numerator / Denominator rounded the same way, exactly (a share in percent: part × 100, whole),
// where the floating-point quotient could land a hair beside a half. Throws std::domain_error
// when Denominator is 0.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

}  // namespace media
