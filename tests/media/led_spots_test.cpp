#include "media/led_spots.h"

#include <gtest/gtest.h>

namespace {

using namespace media;

TEST(LEDSpotLayoutTest, SpotsAreCountedAndCentredAlongTheBar) {
  struct Case {
    const char* name;
    TMMGaugeKind kind;
    int bar_width, bar_height, spot_width, spot_space, point1, point2;
    int count, first, zone1, zone2;
  };
  const Case cases[] = {
      {"default gauge", gkHorizontal, 198, 15, 1, 1, 50, 85, 99, 0, 49, 84},
      {"5 + 2 on 100", gkHorizontal, 100, 15, 5, 2, 50, 85, 14, 2, 7, 11},
      {"vertical uses the height", gkVertical, 15, 100, 5, 2, 50, 85, 14, 2, 7, 11},
      {"shorter than one spot", gkHorizontal, 5, 15, 10, 1, 50, 85, 1, -2, 0, 0},
      {"no space", gkHorizontal, 10, 3, 3, 0, 100, 100, 3, 0, 3, 3},
      {"spot width 0 taken as 1", gkHorizontal, 9, 3, 0, 1, 1, 100, 5, 0, 0, 5},
      {"negative space taken as 0", gkHorizontal, 4, 3, 1, -1, 50, 100, 4, 0, 2, 4},
  };
  for (const Case& c : cases) {
    const LEDSpotLayout l = LEDSpotLayout::Compute(c.kind, dirNormal, c.bar_width, c.bar_height,
                                                   c.spot_width, c.spot_space, c.point1, c.point2);
    EXPECT_EQ(l.SpotCount, c.count) << c.name;
    EXPECT_EQ(l.FirstSpot, c.first) << c.name;
    EXPECT_EQ(l.Zone1End, c.zone1) << c.name;
    EXPECT_EQ(l.Zone2End, c.zone2) << c.name;
  }
}

TEST(LEDSpotLayoutTest, DirectionDecidesWhereTheFirstSpotLies) {
  struct Case { TMMGaugeKind kind; TMMDirection direction; TRect first, second; };
  // A 100 × 20 bar (or 20 × 100) of spots 5 wide and 2 apart: 14 spots, 2 pixels from the ends.
  const Case cases[] = {
      {gkHorizontal, dirNormal, {2, 0, 7, 20}, {9, 0, 14, 20}},
      {gkHorizontal, dirReversed, {93, 0, 98, 20}, {86, 0, 91, 20}},
      {gkVertical, dirNormal, {0, 93, 20, 98}, {0, 86, 20, 91}},  // grows upward
      {gkVertical, dirReversed, {0, 2, 20, 7}, {0, 9, 20, 14}},   // fills from the top down
  };
  for (const Case& c : cases) {
    const bool horizontal = c.kind == gkHorizontal;
    const LEDSpotLayout l = LEDSpotLayout::Compute(c.kind, c.direction, horizontal ? 100 : 20,
                                                   horizontal ? 20 : 100, 5, 2, 50, 85);
    EXPECT_EQ(l.Spot(1), c.first) << c.kind << c.direction;
    EXPECT_EQ(l.Spot(2), c.second) << c.kind << c.direction;
  }
}

TEST(LEDSpotLayoutTest, SpotsTakeTheColourOfTheirZone) {
  const LEDSpotLayout l = LEDSpotLayout::Compute(gkHorizontal, dirNormal, 20, 2, 1, 1, 50, 80);  // 10 spots
  TMMDIBCanvas dib;
  dib.SetBitsPerPixel(24);
  dib.SetSize(20, 2);
  dib.BeginDraw();
  dib.SetColor(clBlack);
  dib.Clear();
  DrawLEDSpots(dib, l, 9, {clLime, clYellow, clRed}, false);
  dib.EndDraw();
  const TColor expected[] = {clLime, clLime, clLime, clLime, clLime, clYellow, clYellow, clYellow, clRed, clBlack};
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(dib.Pixel(l.Spot(i).Left, 1), expected[i - 1]) << i;
    EXPECT_EQ(dib.Pixel(l.Spot(i).Left + 1, 0), clBlack) << i;  // the space between spots
  }
}

}  // namespace
