#include "engine/jpeg_picture.h"

#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using engine::JpegError;
using engine::JpegPicture;
using engine::JpegScale;

// Left half red, right half blue.
std::string RedBlue(int w, int h) {
    return testpictures::EncodeJpeg(
        testpictures::MakeBitmap(w, h, [w](int x, int) { return x < w / 2 ? 0x0000FFu : 0xFF0000u; }));
}

TEST(JpegPicture, ScalesGiveTheScaledSizeBeforeAndAfterDecoding) {
    const std::string bytes = RedBlue(320, 240);
    struct Case { JpegScale scale; int w, h; };
    for (const Case c : {Case{JpegScale::Full, 320, 240}, Case{JpegScale::Half, 160, 120},
                         Case{JpegScale::Quarter, 80, 60}, Case{JpegScale::Eighth, 40, 30}}) {
        JpegPicture p(bytes);
        p.SetScale(c.scale);
        EXPECT_EQ(p.Width(), c.w);
        EXPECT_EQ(p.Height(), c.h);
        p.DIBNeeded();
        EXPECT_EQ(p.bitmap().width(), c.w);
        EXPECT_EQ(p.bitmap().height(), c.h);
        EXPECT_EQ(p.Bytes(), bytes) << "decoding never changes the kept bytes";
    }
}

TEST(JpegPicture, ColourRowsAreBlueGreenRedAndGreyIsOneByte) {
    JpegPicture p(RedBlue(64, 32));
    p.SetPerformance(engine::JpegPerformance::BestSpeed);
    const engine::Bitmap& colour = p.bitmap();
    ASSERT_EQ(colour.bitsPerPixel(), 24);
    const std::uint8_t* left = colour.row(16) + 3 * 4;
    const std::uint8_t* right = colour.row(16) + 3 * 60;
    EXPECT_GT(left[2], 200);   // red
    EXPECT_LT(left[0], 60);
    EXPECT_GT(right[0], 200);  // blue
    EXPECT_LT(right[2], 60);

    p.SetGrayscale(true);
    const engine::Bitmap& grey = p.bitmap();
    ASSERT_EQ(grey.bitsPerPixel(), 8);
    EXPECT_EQ(grey.width(), 64);
    // Red is brighter than blue in grey.
    EXPECT_GT(grey.row(16)[4], grey.row(16)[60]);
}

TEST(JpegPicture, BadDataThrowsAndHasNoSize) {
    for (const std::string& bytes : {std::string(), std::string("not a picture at all"), std::string("\xFF\xD8\xFF", 3)}) {
        JpegPicture p(bytes);
        EXPECT_EQ(p.Width(), 0);
        EXPECT_THROW(p.DIBNeeded(), JpegError);
    }
}

TEST(JpegPicture, AHugeDeclaredSizeIsRefusedBeforeDecoding) {
    std::string bytes = RedBlue(16, 16);
    const std::size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (int i = 5; i <= 8; ++i)
        bytes[sof + i] = '\xFD';  // height and width 65021
    JpegPicture p(bytes);
    EXPECT_EQ(p.Width(), 65021);
    EXPECT_THROW(p.DIBNeeded(), JpegError);
}

TEST(JpegPicture, DataEndingEarlyDecodesButIsNotWhole) {
    const std::string whole = RedBlue(320, 240);
    JpegPicture cut(whole.substr(0, whole.size() / 2));
    EXPECT_NO_THROW(cut.DIBNeeded());
    EXPECT_TRUE(cut.PrematureEnd());
    EXPECT_EQ(cut.bitmap().height(), 240);
    EXPECT_THROW(cut.DecodeWhole(), JpegError);

    JpegPicture full(whole);
    EXPECT_NO_THROW(full.DecodeWhole());
    EXPECT_FALSE(full.PrematureEnd());
}

TEST(JpegPicture, LoadsFromFileAndRefusesAMissingOne) {
    testsupport::TempDir dir;
    const std::string bytes = RedBlue(32, 16);
    testsupport::WriteFile(dir.path() / "a.jpg", bytes);
    JpegPicture p;
    p.LoadFromFile((dir.path() / "a.jpg").string());
    EXPECT_EQ(p.Bytes(), bytes);
    EXPECT_EQ(p.Width(), 32);
    EXPECT_THROW(p.LoadFromFile((dir.path() / "missing.jpg").string()), JpegError);
}

}  // namespace
