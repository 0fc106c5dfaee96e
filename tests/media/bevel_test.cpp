#include "media/bevel.h"

#include <gtest/gtest.h>

namespace {

using namespace media;

TEST(BevelTest, ExtentAddsTheRingsThatAreShown) {
  struct Case {
    const char* name;
    TBevelCut outer, inner;
    int outer_width, inner_width;
    TBorderStyle style;
    int border_width, border_space, expected;
  };
  const Case cases[] = {
      {"defaults", bvLowered, bvNone, 1, 1, bsNone, 0, 0, 1},
      {"single frame and border 2", bvLowered, bvNone, 1, 1, bsSingle, 2, 0, 4},
      {"nothing", bvNone, bvNone, 3, 3, bsNone, 0, 0, 0},
      {"everything", bvRaised, bvLowered, 2, 3, bsSingle, 4, 5, 15},
      {"hidden bevels take no room", bvNone, bvNone, 7, 7, bsNone, 1, 1, 2},
  };
  for (const Case& c : cases) {
    TMMBevel bevel;
    bevel.SetBevelOuter(c.outer);
    bevel.SetBevelInner(c.inner);
    bevel.SetBevelOuterWidth(c.outer_width);
    bevel.SetBevelInnerWidth(c.inner_width);
    bevel.SetBorderStyle(c.style);
    bevel.SetBorderWidth(c.border_width);
    bevel.SetBorderSpace(c.border_space);
    EXPECT_EQ(bevel.Extent(), c.expected) << c.name;
    EXPECT_EQ(bevel.Layout({0, 0, 100, 50}, true).Inner, (TRect{0, 0, 100, 50}.Shrunk(c.expected))) << c.name;
  }
}

TEST(BevelTest, LayoutOrdersTheRingsFromTheOutsideIn) {
  TMMBevel bevel;
  bevel.SetBorderStyle(bsSingle);
  bevel.SetBevelOuterWidth(2);
  bevel.SetBorderWidth(3);
  bevel.SetBorderColor(clRed);
  bevel.SetBevelInner(bvRaised);
  bevel.SetBorderSpace(1);

  const BevelLayout layout = bevel.Layout({0, 0, 40, 30}, true);
  ASSERT_EQ(layout.Rings.size(), 5u);
  auto expect_ring = [&](std::size_t i, TRect outer, int width, TColor tl, TColor br) {
    EXPECT_EQ(layout.Rings[i].Outer, outer) << i;
    EXPECT_EQ(layout.Rings[i].Width, width) << i;
    EXPECT_EQ(layout.Rings[i].TopLeft, tl) << i;
    EXPECT_EQ(layout.Rings[i].BottomRight, br) << i;
  };
  expect_ring(0, {0, 0, 40, 30}, 1, clWindowFrame, clWindowFrame);
  expect_ring(1, {1, 1, 39, 29}, 2, clBtnShadow, clBtnHighlight);  // lowered: shadow top left
  expect_ring(2, {3, 3, 37, 27}, 3, clRed, clRed);
  expect_ring(3, {6, 6, 34, 24}, 1, clBtnHighlight, clBtnShadow);  // raised: light top left
  expect_ring(4, {7, 7, 33, 23}, 1, clBlack, clBlack);
  EXPECT_EQ(layout.Inner, (TRect{8, 8, 32, 22}));

  // Without the border flag the border keeps its room but is not a ring.
  const BevelLayout unbordered = bevel.Layout({0, 0, 40, 30}, false);
  EXPECT_EQ(unbordered.Rings.size(), 4u);
  EXPECT_EQ(unbordered.Inner, layout.Inner);
}

TEST(BevelTest, ChangesAreAnnouncedOnceAndOnlyWhenSomethingChanged) {
  TMMBevel bevel;
  int changing = 0, changed = 0;
  bevel.OnChanging = [&](TMMObject&) { ++changing; };
  bevel.OnChange = [&](TMMObject&) { ++changed; };

  bevel.SetBorderWidth(0);  // unchanged
  EXPECT_EQ(changed, 0);
  bevel.SetBorderWidth(2);
  EXPECT_EQ(changed, 1);
  bevel.SetBevelOuterWidth(-3);  // widths never go below 0
  EXPECT_EQ(bevel.BevelOuterWidth(), 0);

  TMMBevel other;
  other.SetBevelInner(bvLowered);
  other.SetBorderStyle(bsSingle);
  other.SetBorderSpaceColor(clLime);
  other.SetOuterShadowColor(clNavy);
  changed = changing = 0;
  bevel.Assign(other);
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(bevel.BevelInner(), bvLowered);
  EXPECT_EQ(bevel.BorderWidth(), 0);
  EXPECT_EQ(bevel.BevelOuterWidth(), 1);
  EXPECT_EQ(bevel.BorderSpaceColor(), clLime);
  EXPECT_EQ(bevel.OuterShadowColor(), clNavy);

  // Nested updates fold into one announcement; an extra EndUpdate does not disable later ones.
  changed = 0;
  bevel.BeginUpdate();
  bevel.BeginUpdate();
  bevel.SetBorderSpace(4);
  bevel.EndUpdate();
  EXPECT_EQ(changed, 0);
  bevel.EndUpdate();
  EXPECT_EQ(changed, 1);
  bevel.EndUpdate();
  bevel.SetBorderSpace(5);
  EXPECT_EQ(changed, 2);
}

}  // namespace
