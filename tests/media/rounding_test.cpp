#include "media/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

TEST(RoundHalfEvenTest, RatiosRoundExactly) {
  struct Case { std::int64_t numerator, denominator, expected; };
  const Case cases[] = {
      {300, 16, 19},   // 3 of 16 threads: 18.75
      {100, 8, 12},    {300, 8, 38},  {1100, 40, 28},  // 27.5 exactly, where 11 / 40 × 100 is not
      {-5, 2, -2},     {5, -2, -2},   {-7, -2, 4},   {7, 2, 4},
      {0, 5, 0},       {INT64_MIN, 1, INT64_MIN},    {INT64_MAX, INT64_MAX, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(media::RoundHalfEven(c.numerator, c.denominator), c.expected) << c.numerator << " / " << c.denominator;
  EXPECT_THROW(media::RoundHalfEven(std::int64_t{1}, std::int64_t{0}), std::domain_error);
  EXPECT_THROW(media::RoundHalfEven(INT64_MIN, std::int64_t{-1}), std::overflow_error);
}

TEST(RoundHalfEvenTest, NonFiniteAndHugeValuesAreErrors) {
  EXPECT_THROW(media::RoundHalfEven(std::nan("")), std::overflow_error);
  EXPECT_THROW(media::RoundHalfEven(std::numeric_limits<double>::infinity()), std::overflow_error);
  EXPECT_THROW(media::RoundHalfEven(1e19), std::overflow_error);
  EXPECT_EQ(media::RoundHalfEven(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
