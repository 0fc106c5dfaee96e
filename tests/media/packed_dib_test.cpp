#include "media/packed_dib.h"

#include <gtest/gtest.h>

namespace {

using namespace media;

TEST(PackedDIBTest, RowsArePaddedToFourBytes) {
  struct Case { int width, bits; std::int64_t expected; };
  const Case cases[] = {{10, 24, 32}, {10, 8, 12}, {1, 24, 4}, {4, 24, 12}, {10, 4, 8},
                        {320, 24, 960}, {3, 8, 4}, {1, 1, 4}, {33, 1, 8}};
  for (const Case& c : cases) EXPECT_EQ(DIBRowSize(c.width, c.bits), c.expected) << c.width << "@" << c.bits;
}

TEST(PackedDIBTest, ColourCountOffsetAndImageSizeFollowTheHeader) {
  BitmapInfoHeader h;
  h.biWidth = 10;
  h.biHeight = -3;
  h.biBitCount = 8;
  EXPECT_EQ(DIBNumColors(h), 256u);
  EXPECT_EQ(DIBPixelOffset(h), 40u + 1024u);
  EXPECT_EQ(DIBImageSize(h), 36u);  // rows top-down count the same
  h.biClrUsed = 20;
  EXPECT_EQ(DIBNumColors(h), 20u);
  EXPECT_EQ(DIBPixelOffset(h), 40u + 80u);
  h.biBitCount = 1;
  h.biClrUsed = 0;
  EXPECT_EQ(DIBPixelOffset(h), 48u);  // the 2-entry table is never overlapped by the pixels
  h.biBitCount = 16;
  h.biCompression = BI_BITFIELDS;
  EXPECT_EQ(DIBNumColors(h), 0u);
  EXPECT_EQ(DIBPixelOffset(h), 52u);  // three colour masks
  h.biSizeImage = 999;
  EXPECT_EQ(DIBImageSize(h), 999u);
}

TEST(PackedDIBTest, CreateBuildsHeaderTableAndRows) {
  struct Case { int bits_asked, orientation, width, height, bits, colors, height_field; };
  const Case cases[] = {
      {24, kBottomUp, 10, 2, 24, 0, 2},  {8, kTopDown, 10, 2, 8, 256, -2},
      {4, kBottomUp, 10, 2, 4, 16, 2},   {16, kBottomUp, 10, 2, 24, 0, 2},
      {32, kBottomUp, 10, 2, 24, 0, 2},  {24, kBottomUp, 0, -5, 24, 0, 1},  // at least 1 × 1
  };
  for (const Case& c : cases) {
    const PackedDIB dib = PackedDIB::Create(c.bits_asked, c.orientation, c.width, c.height, true);
    const BitmapInfoHeader& h = dib.Header();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biBitCount, c.bits) << c.bits_asked;
    EXPECT_EQ(h.biHeight, c.height_field);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biCompression, BI_RGB);
    EXPECT_EQ(h.biClrUsed, std::uint32_t(c.colors));
    EXPECT_EQ(h.biSizeImage, std::uint32_t(DIBRowSize(dib.Width(), c.bits) * dib.Height()));
    EXPECT_EQ(dib.Size(), 40u + 4u * c.colors + h.biSizeImage);
    EXPECT_EQ(dib.Data()[0], 40);  // the header is in the block, little-endian
    EXPECT_EQ(dib.Data()[14], c.bits);
  }
  const PackedDIB palette = PackedDIB::Create(8, kBottomUp, 2, 2, false);
  EXPECT_EQ(palette.Header().biSizeImage, 0u);
  EXPECT_EQ(palette.Size(), 40u + 1024u);
  EXPECT_EQ(palette.Color(9), ToRGBQuad(clRed));
  EXPECT_EQ(palette.Color(16 * 7 + 9), ToRGBQuad(clRed));  // the 16 VGA colours, repeated
  EXPECT_EQ(palette.Color(255), ToRGBQuad(clWhite));
  EXPECT_THROW(palette.Color(256), std::out_of_range);
}

TEST(PackedDIBTest, RowsCountFromTheTopInBothOrders) {
  PackedDIB up = PackedDIB::Create(24, kBottomUp, 2, 3, true);
  PackedDIB down = PackedDIB::Create(24, kTopDown, 2, 3, true);
  EXPECT_EQ(up.Row(0), up.Bits() + 2 * up.RowSize());  // the top row is stored last
  EXPECT_EQ(up.Row(2), up.Bits());
  EXPECT_EQ(down.Row(0), down.Bits());
  EXPECT_EQ(down.Row(2), down.Bits() + 2 * down.RowSize());
}

}  // namespace
