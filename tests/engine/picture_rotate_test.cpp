#include "engine/picture_rotate.h"

#include "engine/fast_bitmap.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using engine::Bitmap;
using engine::JpegPicture;
using engine::RGB;

// A 320 x 240 picture, mid grey, with a white 16 x 16 square at the top-left corner.
JpegPicture MarkedPicture(int w = 320, int h = 240) {
    return JpegPicture(testpictures::EncodeJpeg(testpictures::MakeBitmap(
        w, h, [](int x, int y) { return x < 16 && y < 16 ? 0xFFFFFFu : 0x808080u; })));
}

bool White(Bitmap& b, int x, int y) {
    engine::tfastbm fast;
    fast.Attach(&b);
    return engine::RedOf(fast.GetPixel(x, y)) > 220;
}

TEST(PictureRotate, QuarterAndHalfTurnsMoveTheTopLeftCorner) {
    struct Case { int mode; int w, h; int cornerX, cornerY; };
    for (const Case c : {Case{0, 320, 240, 0, 0}, Case{1, 240, 320, 239, 0}, Case{2, 320, 240, 319, 239},
                         Case{3, 240, 320, 0, 319}}) {
        JpegPicture jpeg = MarkedPicture();
        Bitmap dest;
        engine::RotateJpegToPicture(jpeg, dest, c.mode);
        ASSERT_EQ(dest.width(), c.w) << c.mode;
        ASSERT_EQ(dest.height(), c.h) << c.mode;
        EXPECT_TRUE(White(dest, c.cornerX, c.cornerY)) << c.mode;
        EXPECT_FALSE(White(dest, c.w - 1 - c.cornerX, c.h - 1 - c.cornerY)) << c.mode;
    }
}

TEST(PictureRotate, AnUnknownModeLeavesTheTarget) {
    JpegPicture jpeg = MarkedPicture();
    Bitmap dest(5, 5, 8);
    engine::RotateJpegToPicture(jpeg, dest, 4);
    EXPECT_EQ(dest.width(), 5);
}

TEST(PictureRotate, AQuarterTurnIsLimitedTo1800RowsAfterTheTurn) {
    JpegPicture wide = MarkedPicture(1808, 16);
    Bitmap dest;
    EXPECT_NO_THROW(engine::RotateJpegToPicture(wide, dest, 2));
    EXPECT_THROW(engine::RotateJpegToPicture(wide, dest, 1), std::runtime_error);
}

}  // namespace
