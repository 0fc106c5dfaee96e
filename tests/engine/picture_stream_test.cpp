#include "engine/picture_stream.h"

#include "engine/fast_bitmap.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using engine::Bitmap;
using engine::RGB;
using engine::YCbCrToRGB;

TEST(PictureStream, YCbCrConversionTable) {
    struct Case { int y, cb, cr; engine::TColor want; };
    const Case cases[] = {
        {128, 128, 128, RGB(128, 128, 128)},
        {255, 128, 255, RGB(255, 165, 255)},
        {0, 128, 0, RGB(0, 91, 0)},          // R clamped at 0, G = 0 + 127 * 71414 / 100000
        {100, 0, 128, RGB(100, 144, 0)},     // G = 100 + 44, B clamped
        {100, 129, 127, RGB(99, 100, 101)},  // the divisions truncate toward zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(YCbCrToRGB(c.y, c.cb, c.cr), c.want) << c.y << " " << c.cb << " " << c.cr;
}

// A raw frame whose left half has Y 200 and right half Y 40, neutral colour; `lead` bytes of
// other data before it.
std::string RawFrame(std::size_t lead) {
    std::string data(lead, '\x11');
    for (int y = 0; y < 60; ++y)
        for (int i = 0; i < 40; ++i) {
            const char luma = i < 20 ? char(200) : char(40);
            data += {luma, luma, char(128), char(128)};
        }
    return data;
}

engine::TColor PixelOf(Bitmap& b, int x, int y) {
    engine::tfastbm fast;
    fast.Attach(&b);
    return fast.GetPixel(x, y);
}

TEST(PictureStream, TheLast9600BytesOfLongerDataAreARawFrame) {
    Bitmap target(160, 120, 24);
    engine::LoadStreamPicture(RawFrame(400), target);
    EXPECT_EQ(PixelOf(target, 10, 60), RGB(200, 200, 200));
    EXPECT_EQ(PixelOf(target, 150, 60), RGB(40, 40, 40));
    EXPECT_EQ(PixelOf(target, 79, 0), RGB(200, 200, 200));
    EXPECT_EQ(PixelOf(target, 80, 0), RGB(40, 40, 40));

    Bitmap untouched(160, 120, 24);
    engine::LoadStreamPicture(RawFrame(0), untouched);  // exactly 9600 bytes
    EXPECT_EQ(untouched, Bitmap(160, 120, 24));
}

TEST(PictureStream, ABareJpegIsDecodedAndABrokenOneIgnored) {
    const std::string jpeg = testpictures::EncodeJpeg(
        testpictures::MakeBitmap(64, 48, [](int, int) { return 0x0000FFu; }), 95, /*jfif=*/false);
    ASSERT_EQ(jpeg.substr(0, 4), std::string("\xFF\xD8\xFF\xDB", 4));
    Bitmap target(32, 24, 24);
    engine::LoadStreamPicture("junk" + jpeg, target);
    EXPECT_GT(engine::RedOf(PixelOf(target, 16, 12)), 200);

    Bitmap kept(32, 24, 24);
    engine::LoadStreamPicture(jpeg.substr(0, 20) + std::string(12000, '\0'), kept);
    EXPECT_EQ(kept, Bitmap(32, 24, 24)) << "a JPEG start is never read as a raw frame";
}

TEST(PictureStream, AJfifJpegIsNotRecognisedByTheMarker) {
    const std::string jfif = testpictures::EncodeJpeg(
        testpictures::MakeBitmap(16, 16, [](int, int) { return 0x0000FFu; }));
    ASSERT_EQ(jfif.substr(0, 4), std::string("\xFF\xD8\xFF\xE0", 4));
    Bitmap target(16, 16, 24);
    engine::LoadStreamPicture(jfif, target);  // short, no marker: nothing drawn
    EXPECT_EQ(target, Bitmap(16, 16, 24));
}

}  // namespace
