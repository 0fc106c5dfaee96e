#include "media/int_math.h"

#include <limits>
#include <stdexcept>

namespace media {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) throw std::domain_error("Division by zero");
  // |a × b| ≤ 2^62, so the product fits; the quotient may not (INT32_MIN / -1 included).
  const std::int64_t quotient = std::int64_t{a} * b / c;
  if (quotient < std::numeric_limits<std::int32_t>::min() ||
      quotient > std::numeric_limits<std::int32_t>::max())
    throw std::overflow_error("Integer overflow");
  return static_cast<std::int32_t>(quotient);
}

}  // namespace media
