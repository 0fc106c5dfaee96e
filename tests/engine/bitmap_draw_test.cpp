#include "engine/bitmap_draw.h"

#include "engine/fast_bitmap.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

namespace {

using engine::Bitmap;
using engine::Rect;
using engine::StretchDraw;

// Pixel (x, y) of the source is grey 10 * (y * w + x) + 5.
Bitmap Numbered(int w, int h) {
    return testpictures::MakeGrey(w, h, [w](int x, int y) { return static_cast<std::uint8_t>(10 * (y * w + x) + 5); });
}

TEST(BitmapDraw, StretchingDoublesEachPixel) {
    const Bitmap src = Numbered(2, 2);
    Bitmap dest(4, 4, 8);
    StretchDraw(dest, src);
    const std::uint8_t expected[4][4] = {{5, 5, 15, 15}, {5, 5, 15, 15}, {25, 25, 35, 35}, {25, 25, 35, 35}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dest.row(y)[x], expected[y][x]) << x << "," << y;
}

TEST(BitmapDraw, AReversedRectangleMirrorsBothAxes) {
    const Bitmap src = Numbered(3, 2);
    Bitmap dest(3, 2, 8);
    StretchDraw(dest, Rect{2, 1, -1, -1}, src);
    EXPECT_EQ(dest.row(1)[2], 5);   // top-left ends bottom-right
    EXPECT_EQ(dest.row(0)[0], 55);  // bottom-right ends top-left
    EXPECT_EQ(dest.row(0)[1], 45);
}

TEST(BitmapDraw, DrawsOnlyInsideTheRectangleAndTheTarget) {
    const Bitmap src = Numbered(1, 1);
    Bitmap dest(4, 4, 24);
    StretchDraw(dest, Rect{2, 2, 8, 8}, src);  // reaches past the target: clipped
    engine::tfastbm fast;
    fast.Attach(&dest);
    EXPECT_EQ(fast.GetPixel(1, 1), engine::RGB(0, 0, 0));
    EXPECT_EQ(fast.GetPixel(3, 3), engine::RGB(5, 5, 5)) << "grey draws as grey into 24 bits";
}

}  // namespace
