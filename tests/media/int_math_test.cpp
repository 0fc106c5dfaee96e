#include "media/int_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

namespace {

TEST(MulDivTest, TruncatesTowardZeroOverA64BitProduct) {
  struct Case { std::int32_t a, b, c, expected; };
  const Case cases[] = {
      {7, 10, 4, 17},     // 17.5: truncated, not rounded to 18
      {-7, 10, 4, -17},   // toward zero, not toward minus infinity
      {7, -10, -4, 17},
      {50, 99, 100, 49},  // the gauge's lit spots at 50 %
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 62 bits
      {INT_MIN, 1, 1, INT_MIN},
      {0, 12345, 7, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(media::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDivTest, ZeroDivisorAndOverflowAreCheckedErrors) {
  EXPECT_THROW(media::MulDiv(1, 2, 0), std::domain_error);
  EXPECT_THROW(media::MulDiv(INT_MAX, 2, 1), std::overflow_error);
  EXPECT_THROW(media::MulDiv(INT_MIN, -1, 1), std::overflow_error);
  EXPECT_THROW(media::MulDiv(INT_MIN, 1, -1), std::overflow_error);
}

TEST(MinMaxTest, ClampsToLowFirstThenHigh) {
  struct Case { int value, low, high, expected; };
  const Case cases[] = {{5, 1, 100, 5}, {0, 1, 100, 1}, {250, 0, 100, 100}, {-5, 0, 100, 0}, {100, 0, 100, 100}};
  for (const Case& c : cases) EXPECT_EQ(media::MinMax(c.value, c.low, c.high), c.expected) << c.value;
}

}  // namespace
