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

// Every byte of the pixel block, worked out pixel by pixel: widths whose rows need 1, 2 or 3 bytes
// of padding, both source depths, both orientations, and source rows with bytes past the width
// that must not be copied.
TEST(BitmapToDIBTest, TwentyFourBitRowsMatchAPixelByPixelCopy) {
  const auto source_byte = [](int x, int y, int c) { return std::uint8_t(x * 7 + y * 31 + c * 101 + 1); };
  for (const int source_bits : {24, 32}) {
    for (const int width : {1, 2, 3, 4, 5, 7, 13, 641}) {
      for (const int height : {1, 2, 5}) {
        for (const int orientation : {kBottomUp, kTopDown}) {
          SCOPED_TRACE(testing::Message() << source_bits << " bits " << width << "x" << height << " orientation "
                                          << orientation);
          const int step = source_bits / 8;
          const std::size_t stride = std::size_t(width) * step + 5;
          std::vector<std::uint8_t> pixels(stride * std::size_t(height), 0xEE);
          for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
              for (int c = 0; c < 3; ++c) pixels[std::size_t(y) * stride + std::size_t(x) * step + c] = source_byte(x, y, c);
          const BitmapRows rows{width, height, source_bits,
                                [&](int y) { return pixels.data() + std::size_t(y) * stride; }};

          const std::optional<PackedDIB> dib = BitmapToDIB(rows, {}, 24, orientation);
          ASSERT_TRUE(dib);
          const std::size_t row_size = (std::size_t(width) * 3 + 3) / 4 * 4;
          std::vector<std::uint8_t> expected(row_size * std::size_t(height), 0);
          for (int stored = 0; stored < height; ++stored) {
            const int y = orientation == kBottomUp ? height - 1 - stored : stored;
            for (int x = 0; x < width; ++x)
              for (int c = 0; c < 3; ++c) expected[std::size_t(stored) * row_size + std::size_t(x) * 3 + c] = source_byte(x, y, c);
          }
          EXPECT_EQ(dib->Header().biSizeImage, expected.size());
          ASSERT_EQ(dib->Size(), 40u + expected.size());
          EXPECT_EQ(std::vector<std::uint8_t>(dib->Bits(), dib->Bits() + dib->ImageSize()), expected);
        }
      }
    }
  }
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
