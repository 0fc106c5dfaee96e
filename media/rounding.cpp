#include "media/rounding.h"

#include <cmath>
#include <limits>
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

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) throw std::domain_error("Division by zero");
  // Work on magnitudes in 128 bits so that INT64_MIN and the doubled remainder cannot overflow.
  const bool negative = (numerator < 0) != (denominator < 0);
  const unsigned __int128 n = numerator < 0 ? -static_cast<__int128>(numerator) : numerator;
  const unsigned __int128 d = denominator < 0 ? -static_cast<__int128>(denominator) : denominator;
  unsigned __int128 q = n / d;
  const unsigned __int128 twice_r = 2 * (n % d);
  if (twice_r > d || (twice_r == d && q % 2 == 1)) ++q;
  const __int128 result = negative ? -static_cast<__int128>(q) : static_cast<__int128>(q);
  if (result > std::numeric_limits<std::int64_t>::max()) throw std::overflow_error("Integer overflow");
  return static_cast<std::int64_t>(result);
}

}  // namespace media
