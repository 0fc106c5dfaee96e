#include "media/bitmap_to_dib.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace media;

TEST(BitmapToDIBTest, A24BitFrameIsAHeaderAndBottomUpRows) {
  Bitmap bitmap(320, 240);
  bitmap.SetPixel(0, 0, clRed);        // top left
  bitmap.SetPixel(319, 239, clBlue);   // bottom right
  const std::optional<PackedDIB> dib = BitmapToDIB(bitmap.Rows(), {}, 24, kBottomUp);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->Header().biSize, 40u);
  EXPECT_EQ(dib->Header().biClrUsed, 0u);
  EXPECT_EQ(dib->FormatSize(), 40u);  // no colour table
  EXPECT_EQ(dib->ImageSize(), 230400u);
  EXPECT_EQ(dib->Size(), 40u + 230400u);
  EXPECT_EQ(dib->Header().biHeight, 240);
  // Bottom-up: the picture's last row is the first in the block.
  const std::uint8_t* first_stored = dib->Data() + 40;
  EXPECT_EQ(first_stored[319 * 3 + 0], 0xFF);  // blue byte first
  EXPECT_EQ(first_stored[319 * 3 + 2], 0x00);
  const std::uint8_t* last_stored = first_stored + 239 * 960;
  EXPECT_EQ(last_stored[0], 0x00);
  EXPECT_EQ(last_stored[2], 0xFF);
}

TEST(BitmapToDIBTest, ReadsThirtyTwoBitRowsAndKeepsThePaddingZero) {
  // Three pixels of B, G, R, x: one row of 12 bytes, 9 of them used.
  const std::vector<std::uint8_t> pixels = {1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99};
  const BitmapRows rows{3, 1, 32, [&](int) { return pixels.data(); }};
  const std::optional<PackedDIB> dib = BitmapToDIB(rows, {}, 24, kTopDown);
  ASSERT_TRUE(dib);
  const std::vector<std::uint8_t> row(dib->Row(0), dib->Row(0) + dib->RowSize());
  EXPECT_EQ(row, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
}

TEST(BitmapToDIBTest, PalettedDepthsTakeTheNearestTableEntry) {
  Bitmap bitmap(3, 1);
  bitmap.SetPixel(0, 0, RGBColor(250, 5, 5));  // near red
  bitmap.SetPixel(1, 0, clWhite);
  bitmap.SetPixel(2, 0, RGBColor(0, 0, 120));  // near navy
  const std::optional<PackedDIB> eight = BitmapToDIB(bitmap.Rows(), {}, 8, kBottomUp);
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->Row(0)[0], 9);
  EXPECT_EQ(eight->Row(0)[1], 15);
  EXPECT_EQ(eight->Row(0)[2], 4);

  const std::optional<PackedDIB> four = BitmapToDIB(bitmap.Rows(), {}, 4, kBottomUp);
  ASSERT_TRUE(four);
  EXPECT_EQ(four->Row(0)[0], 0x9F);  // two pixels a byte, the first in the high half
  EXPECT_EQ(four->Row(0)[1], 0x40);

  const RGBQuad custom[] = {ToRGBQuad(clWhite), ToRGBQuad(clRed)};
  const std::optional<PackedDIB> given = BitmapToDIB(bitmap.Rows(), custom, 8, kBottomUp);
  ASSERT_TRUE(given);
  EXPECT_EQ(given->Color(0), ToRGBQuad(clWhite));
  EXPECT_EQ(given->Row(0)[0], 1);
  EXPECT_EQ(given->Row(0)[1], 0);
}

TEST(BitmapToDIBTest, AnUnreadableSourceGivesNoDIB) {
  const std::vector<std::uint8_t> row(12);
  const BitmapRows cases[] = {
      {0, 5, 24, [&](int) { return row.data(); }},
      {2, 2, 16, [&](int) { return row.data(); }},
      {2, 2, 24, nullptr},
      {2, 2, 24, [&](int y) { return y == 1 ? nullptr : row.data(); }},
  };
  for (const BitmapRows& source : cases) EXPECT_FALSE(BitmapToDIB(source, {}, 24, kBottomUp));
}

}  // namespace
