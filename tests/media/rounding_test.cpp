#include "media/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  struct Case { double value; std::int64_t expected; };
  const Case cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},    {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                        {2.4999, 2}, {2.5001, 3}, {18.75, 19}, {-18.75, -19}, {0.0, 0},
                        {4503599627370497.0, 4503599627370497}};  // odd integer beyond 2^52
  for (const Case& c : cases) EXPECT_EQ(media::RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(RoundHalfEvenTest, PercentagesOfEightFrames) {
  const std::int64_t expected[] = {0, 12, 25, 38, 50, 62, 75, 88};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(media::RoundHalfEven(i * 100.0 / 8), expected[i]) << i;
}

TEST(RoundHalfEvenTest, NonFiniteAndHugeValuesAreErrors) {
  EXPECT_THROW(media::RoundHalfEven(std::nan("")), std::overflow_error);
  EXPECT_THROW(media::RoundHalfEven(std::numeric_limits<double>::infinity()), std::overflow_error);
  EXPECT_THROW(media::RoundHalfEven(1e19), std::overflow_error);
  EXPECT_EQ(media::RoundHalfEven(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
