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

// A thumbnail is drawn from the smallest reduced-scale decode that still covers it; full size
// only when even half size is smaller.
TEST(JpegPicture, AThumbnailIsDrawnFromTheSmallestDecodeThatCoversIt) {
    struct Case { int w, h, thumbW, thumbH; JpegScale scale; };
    const Case cases[] = {
        {640, 480, 86, 80, JpegScale::Quarter},   // an eighth is 80 x 60
        {688, 640, 86, 80, JpegScale::Eighth},    // exactly 86 x 80
        {681, 640, 86, 80, JpegScale::Eighth},    // 85.1 rounds up to 86
        {680, 640, 86, 80, JpegScale::Quarter},   // 85 is too narrow
        {320, 240, 86, 80, JpegScale::Half},
        {170, 160, 86, 80, JpegScale::Full},      // half is 85 x 80
        {320, 240, 320, 240, JpegScale::Full},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        JpegPicture p(RedBlue(c.w, c.h));
        p.SetGrayscale(true);
        EXPECT_EQ(p.ThumbnailScale(c.thumbW, c.thumbH), c.scale);
        engine::Bitmap thumbnail(c.thumbW, c.thumbH, 24);
        p.DrawThumbnail(thumbnail);
        EXPECT_EQ(p.bitmap().width(), (c.w + static_cast<int>(c.scale) - 1) / static_cast<int>(c.scale));
        EXPECT_EQ(p.bitmap().bitsPerPixel(), 24) << "in colour";
        const std::uint8_t* left = thumbnail.row(c.thumbH / 2);
        const std::uint8_t* right = left + (c.thumbW - 1) * 3;
        EXPECT_GT(left[2], 200);   // red
        EXPECT_LT(left[0], 60);
        EXPECT_GT(right[0], 200);  // blue
        EXPECT_LT(right[2], 60);
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

// A thumbnail is refused, before any decode, of a picture whose header claims more pixels than
// kMaxThumbnailPixels: even its eighth would be hundreds of megabytes.
TEST(JpegPicture, AThumbnailRefusesAPicturePastItsPixelLimit) {
    static_assert(engine::kMaxThumbnailPixels == 8192LL * 8192);
    const struct {
        int w, h;
        bool drawn;
    } cases[] = {{65500, 65500, false}, {8192, 8193, false}, {8192, 8192, true}, {16, 16, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        JpegPicture p(testpictures::WithClaimedSize(RedBlue(16, 16), c.w, c.h));
        engine::Bitmap thumbnail(86, 80, 24);
        if (c.drawn) {
            EXPECT_NO_THROW(p.DrawThumbnail(thumbnail));
        } else {
            EXPECT_THROW(p.DrawThumbnail(thumbnail), JpegError);
            // The scale a fetch thread asks before it reuses its own decode for the thumbnail.
            EXPECT_THROW(p.ThumbnailScale(86, 80), JpegError);
            EXPECT_EQ(p.Width(), c.w) << "nothing decoded";
        }
    }
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
