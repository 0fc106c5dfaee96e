#include "engine/motion_compare.h"

#include "engine/fast_bitmap.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using engine::Bitmap;
using engine::MotionBlocks;
using engine::TMotionSettingsRec;

constexpr std::uint8_t kBackground = 60;

struct Block { int bx, by; std::uint8_t level; };

// A grey picture of w x h with the inside of some blocks of side `side` (scaled by `zoom`
// pixels per compared pixel) set to another level. The inside leaves out the border lines that
// a block shares with its neighbours, so only that block changes.
Bitmap Blocks(int w, int h, const std::vector<Block>& blocks, int side = 4, int zoom = 1) {
    return testpictures::MakeGrey(w, h, [&](int x, int y) {
        for (const Block& b : blocks) {
            const int cx = x / zoom, cy = y / zoom;
            if (cx > b.bx * side && cx < (b.bx + 1) * side && cy > b.by * side && cy < (b.by + 1) * side)
                return b.level;
        }
        return kBackground;
    });
}

// A whole block, borders included.
Bitmap Filled(int w, int h, Block block, int side = 4) {
    return testpictures::MakeGrey(w, h, [&](int x, int y) {
        const bool in = x >= block.bx * side && x <= (block.bx + 1) * side && y >= block.by * side &&
                        y <= (block.by + 1) * side;
        return in ? block.level : kBackground;
    });
}

const MotionBlocks kDefaultBlocks{4, 1.52};

struct Outcome { bool same; int score; };

// Every comparison is also made against the first picture's block sums, what a webcam keeps of
// its newest saved picture: the outcome must be the same.
Outcome Compare(Bitmap a, Bitmap b, MotionBlocks blocks = kDefaultBlocks, int threshold = 5) {
    int score = -1;
    const bool same = engine::CompareImagesForMotion(a, b, blocks, threshold, score);
    int sumsScore = -1;
    const bool sumsSame =
        engine::CompareWithBlockSums(engine::BlockSumsOf(a, blocks.Side), b, blocks, threshold, sumsScore);
    EXPECT_EQ(sumsSame, same) << "against the block sums";
    EXPECT_EQ(sumsScore, score) << "against the block sums";
    return {same, score};
}

TEST(MotionCompare, ScoresTheShareOfChangedBlocks) {
    // 80 x 60 with side 4: 20 x 15 = 300 blocks.
    const Bitmap base = Blocks(80, 60, {});
    struct Case { const char* name; std::vector<Block> changes; Outcome want; };
    const Case cases[] = {
        {"identical", {}, {true, 0}},
        {"one block: round(sqrt(333)) = 18 < 20", {{3, 3, 250}}, {true, 18}},
        {"two blocks: round(sqrt(666)) = 26 >= 20", {{3, 3, 250}, {10, 7, 250}}, {false, 26}},
    };
    for (const Case& c : cases) {
        const Outcome got = Compare(base, Blocks(80, 60, c.changes));
        EXPECT_EQ(got.same, c.want.same) << c.name;
        EXPECT_EQ(got.score, c.want.score) << c.name;
    }
}

TEST(MotionCompare, ARatioExactlyAtTheLimitIsNoChange) {
    // Sensitivity 1 gives the limit 2.0 exactly; every one of the 300 blocks is compared.
    const MotionBlocks blocks = engine::MotionBlocksFor({4, 5, 1, {}}, 1);
    ASSERT_EQ(blocks.RatioLimit, 2.0);
    const auto flat = [](std::uint8_t v) { return testpictures::MakeGrey(80, 60, [v](int, int) { return v; }); };
    EXPECT_EQ(Compare(flat(50), flat(100), blocks).score, 0);
    EXPECT_EQ(Compare(flat(50), flat(101), blocks).score, 316);  // round(sqrt(100000))
}

TEST(MotionCompare, ABlackOrDarkBlockHidesTheChangesBelowItInItsColumn) {
    const Bitmap change = Blocks(80, 60, {{5, 10, 250}});
    const Bitmap changeAbove = Blocks(80, 60, {{5, 1, 250}});
    struct Case { const char* name; Block hider; bool inBoth; };
    const Case cases[] = {{"black in one picture", {5, 4, 0}, false}, {"dark in both", {5, 4, 8}, true}};
    for (const Case& c : cases) {
        Bitmap a = Filled(80, 60, c.hider);
        Bitmap b = change;
        Bitmap above = changeAbove;
        if (c.inBoth) {
            for (int y = 16; y <= 20; ++y)
                for (int x = 20; x <= 24; ++x)
                    b.row(y)[x] = above.row(y)[x] = c.hider.level;
        }
        EXPECT_EQ(Compare(a, b).score, 0) << c.name << ": the change below is not seen";
        EXPECT_EQ(Compare(a, above).score, 18) << c.name << ": the change above is";
    }
    EXPECT_EQ(Compare(Blocks(80, 60, {}), change).score, 18) << "without the hider it is seen";
}

TEST(MotionCompare, BlocksTooLargeForSixteenBitSumsCompareAlike) {
    // Side 20: 4 x 3 whole blocks of 80 x 60, one changed: round(sqrt(100000 / 12)) = 91.
    const MotionBlocks blocks{20, 1.52};
    ASSERT_FALSE(engine::BlockSumsOf(Blocks(80, 60, {}, 20), 20).Wide.empty()) << "summed in 32 bits";
    EXPECT_EQ(Compare(Blocks(80, 60, {}, 20), Blocks(80, 60, {{1, 1, 250}}, 20), blocks).score, 91);
}

TEST(MotionCompare, TheLastBlocksOfAPictureNotMadeOfWholeBlocksCount) {
    // 82 x 62 in blocks of 4: the last column and row of blocks are 2 pixels wide, and there are
    // still 20 x 15 whole blocks to share the score.
    const auto picture = [](int from) {
        return testpictures::MakeGrey(82, 62, [from](int x, int) { return std::uint8_t(x >= from ? 250 : 60); });
    };
    EXPECT_EQ(Compare(picture(82), picture(81)).score, 73) << "round(sqrt(16 * 100000 / 300)): the last column";
    EXPECT_EQ(Compare(picture(82), picture(82)).score, 0);
}

TEST(MotionCompare, APictureTooTallToCompareGetsNoSumsAndIsChanged) {
    const Bitmap tall = Blocks(16, engine::kFastBitmapMaxRows + 1, {});
    int score = -1;
    EXPECT_THROW(engine::CompareImagesForMotion(tall, tall, kDefaultBlocks, 5, score), std::runtime_error);
    const engine::MotionBlockSums sums = engine::BlockSumsOf(tall, 4);
    EXPECT_EQ(sums.Count(), 0u);
    EXPECT_FALSE(engine::CompareWithBlockSums(sums, tall, kDefaultBlocks, 5, score)) << "changed, as the failure";
    EXPECT_EQ(score, 0);
}

TEST(MotionCompare, DifferentSizesAndPicturesSmallerThanABlockAreChanged) {
    EXPECT_FALSE(Compare(Blocks(80, 60, {}), Blocks(80, 64, {})).same);
    const Outcome whole = Compare(Blocks(80, 60, {}), Blocks(80, 60, {}), {9999, 1.52});
    EXPECT_FALSE(whole.same);
    EXPECT_EQ(whole.score, 0);
}

TEST(MotionCompare, BlocksFromTheSettings) {
    struct Case { TMotionSettingsRec settings; int factor; int side; double limit; };
    const Case cases[] = {
        {{4, 5, 13, {}}, 1, 4, 1.52},
        {{25, 5, 25, {}}, 4, 9999, 1.04},  // 100 becomes one block over the whole picture
        {{0, 5, 99, {}}, 1, 4, 1.52},      // out of range: the defaults, never a side of 0
        {{8, 5, 1, {}}, 4, 32, 2.0},
    };
    for (const Case& c : cases) {
        const MotionBlocks blocks = engine::MotionBlocksFor(c.settings, c.factor);
        EXPECT_EQ(blocks.Side, c.side) << c.settings.CellSize;
        EXPECT_DOUBLE_EQ(blocks.RatioLimit, c.limit) << c.settings.Sensitivity;
    }
}

// The wrappers decode 320 x 240 JPEG files at quarter size: 80 x 60 compared pixels.
class MotionWrappers : public ::testing::Test {
protected:
    std::string Save(const std::string& name, const std::vector<Block>& changes, int side = 4) {
        const std::string path = (dir_.path() / name).string();
        testsupport::WriteFile(path, testpictures::EncodeJpeg(Blocks(320, 240, changes, side, 4)));
        return path;
    }
    testsupport::TempDir dir_;
};

TEST_F(MotionWrappers, ReproduceTheWorkedCasesOnJpegFiles) {
    const std::string base = Save("base.jpg", {});
    const std::vector<Block> one{{3, 3, 250}}, two{{3, 3, 250}, {10, 7, 250}};
    struct Case { std::vector<Block> changes; bool same; int score; };
    for (const Case& c : {Case{{}, true, 0}, Case{one, true, 18}, Case{two, false, 26}}) {
        const std::string changed = Save("changed.jpg", c.changes);
        int score = -1;
        engine::JpegPicture picture;
        picture.LoadFromFile(changed);
        EXPECT_EQ(engine::CompareJpegWithFile(base, picture, {4, 5, 13, {}}, score), c.same);
        EXPECT_EQ(score, c.score) << "with file";
        // The viewer's comparison uses blocks of CellSize x 4: cell size 1 gives the same blocks.
        EXPECT_EQ(engine::CompareJpegFiles(base, changed, {1, 5, 13, {}}, score), c.same);
        EXPECT_EQ(score, c.score) << "two files";
        engine::JpegPicture a, b;
        a.LoadFromFile(base);
        b.LoadFromFile(changed);
        for (engine::JpegPicture* p : {&a, &b}) {
            p->SetScale(engine::JpegScale::Quarter);
            p->SetGrayscale(true);
        }
        EXPECT_EQ(engine::CompareImages(a, b, {4, 5, 13, {}}, score), c.same);
        EXPECT_EQ(score, c.score) << "two pictures";
    }
}

TEST_F(MotionWrappers, FailuresAndTheWholePictureBlockAreChanged) {
    const std::string base = Save("base.jpg", {});
    const std::string other = Save("other.jpg", {});
    testsupport::WriteFile(dir_.path() / "broken.jpg", "not a picture");
    int score = -1;
    EXPECT_FALSE(engine::CompareJpegFiles(base, other, {25, 5, 13, {}}, score)) << "side 100 -> 9999";
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(engine::CompareJpegFiles(base, other, {0, 0, 0, {}}, score)) << "a cell size of 0 is the default";
    engine::JpegPicture picture;
    picture.LoadFromFile(other);
    for (const std::string& file : {std::string(), (dir_.path() / "missing.jpg").string(),
                                    (dir_.path() / "broken.jpg").string()}) {
        score = -1;
        EXPECT_FALSE(engine::CompareJpegWithFile(file, picture, {4, 5, 13, {}}, score)) << file;
        EXPECT_EQ(score, 0);
    }
    engine::JpegPicture smaller(testpictures::EncodeJpeg(Blocks(160, 120, {})));
    EXPECT_FALSE(engine::CompareJpegWithFile(base, smaller, {4, 5, 13, {}}, score));
}

}  // namespace
