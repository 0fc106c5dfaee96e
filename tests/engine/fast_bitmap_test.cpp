#include "engine/fast_bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using engine::Bitmap;
using engine::RGB;
using engine::tfastbm;

std::string AttachError(Bitmap* bitmap) {
    try {
        tfastbm fast;
        fast.Attach(bitmap);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(FastBitmap, AttachesUpTo1800Rows) {
    Bitmap tall(2, 1800, 24), tooTall(2, 1801, 8);
    EXPECT_EQ(AttachError(&tall), "");
    EXPECT_EQ(AttachError(&tooTall), "Bitmap too big for this operation");
    EXPECT_EQ(AttachError(nullptr), "Nil pointer to bitmap");
}

TEST(FastBitmap, ColourPixelsAreBlueGreenRedInTheRow) {
    Bitmap b(4, 3, 24);
    tfastbm fast;
    fast.Attach(&b);
    fast.SetPixel(2, 1, RGB(10, 20, 30));
    const std::uint8_t* p = b.row(1) + 6;
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(fast.GetPixel(2, 1), RGB(10, 20, 30));
    EXPECT_EQ(fast.GetPixel(3, 1), RGB(0, 0, 0));
}

TEST(FastBitmap, GreyPixelsReadAsGreyAndStoreTheBlueByte) {
    Bitmap b(4, 3, 8);
    tfastbm fast;
    fast.Attach(&b);
    fast.SetPixel(1, 2, RGB(10, 20, 30));
    EXPECT_EQ(b.row(2)[1], 30);
    EXPECT_EQ(fast.GetPixel(1, 2), RGB(30, 30, 30));
}

}  // namespace
