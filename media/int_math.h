#pragma once
// Integer helpers of the media components: a truncating multiply-divide and a clamp.

#include <cstdint>

namespace media {

// A × B over a 64-bit intermediate, divided by C truncating toward zero (so MulDiv(7, 10, 4) is 17,
// where a rounding multiply-divide would give 18).
// Throws std::domain_error when C is 0 and std::overflow_error when the quotient leaves 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Low when Value < Low, else the smaller of Value and High.
constexpr int MinMax(int value, int low, int high) {
  if (value < low) return low;
  return value < high ? value : high;
}

}  // namespace media
