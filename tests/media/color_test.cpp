#include "media/color.h"

#include <gtest/gtest.h>

namespace {

using namespace media;

TEST(ColorTest, ByteOrderIsRedInTheLowByte) {
  EXPECT_EQ(RGBColor(0x11, 0x22, 0x33), 0x332211u);
  EXPECT_EQ(GetRValue(clRed), 0xFF);
  EXPECT_EQ(GetBValue(clRed), 0x00);
  EXPECT_EQ(GetBValue(clNavy), 0x80);
}

TEST(ColorTest, SystemColoursResolveToTheClassicScheme) {
  struct Case { TColor color, rgb; };
  const Case cases[] = {
      {clBtnFace, 0xC0C0C0},  {clBtnShadow, 0x808080}, {clBtnHighlight, 0xFFFFFF},
      {clBtnText, 0x000000},  {clWindow, 0xFFFFFF},    {clWindowFrame, 0x000000},
      {clHighlight, 0x800000}, {clHighlightText, 0xFFFFFF}, {clInfoBk, 0xE1FFFF},
      {SystemColor(25), clBlack},        // past the table
      {0x12345678u, 0x345678u},          // a plain colour keeps its three bytes
      {clAqua, 0xFFFF00},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.rgb) << std::hex << c.color;
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clWhite));
}

}  // namespace
