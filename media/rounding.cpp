#include "media/rounding.h"

#include <cmath>
#include <stdexcept>

namespace media {

std::int64_t RoundHalfEven(double value) {
  // 2^63 is exactly representable; every double below it converts without overflow.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(value)) throw std::overflow_error("Invalid floating point operation");
  const double lower = std::floor(value);
  const double fraction = value - lower;  // exact for doubles
  double rounded = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
  if (rounded < -kLimit || rounded >= kLimit) throw std::overflow_error("Integer overflow");
  return static_cast<std::int64_t>(rounded);
}

}  // namespace media
