// The disk page's thumbnails made on other threads: the same thumbnails in the same order as
// made one by one, whatever is skipped, and a pipeline given up early waits for what it
// started. This program has no Qt, so it also runs under ThreadSanitizer.
#include "ui/disk/thumbnail_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/not_a_picture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/watchdog.h"

namespace {

class ThumbnailPipelineTest : public ::testing::Test {
protected:
    ThumbnailPipelineTest() : frame(80, 80, 24), frames{frame, frame, frame} {
        for (int i = 0; i < 24; ++i) {
            const std::string path = (dir.path() / ("p" + std::to_string(i) + ".jpg")).string();
            if (i % 7 == 3) {
                testsupport::WriteFile(path, "not a picture");
            } else {
                const int width = i % 2 ? 640 : 320, height = i % 2 ? 480 : 240;
                testsupport::WriteFile(path, testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [i](int x, int y) {
                                           return static_cast<std::uint32_t>((x * i + y) & 0xFF) << 8;
                                       })));
            }
            paths.push_back(path);
        }
    }
    testsupport::TempDir dir;
    engine::Bitmap frame;
    ui::ThumbnailFrames frames;
    std::vector<std::string> paths;
};

TEST_F(ThumbnailPipelineTest, GivesWhatOneByOneGivesInOrder) {
    for (std::size_t ahead : {std::size_t(1), std::size_t(4), std::size_t(30)}) {
        ui::ThumbnailPipeline pipeline(paths, frames, ahead);
        for (std::size_t k = 0; k < paths.size(); k += (k % 5 == 4 ? 2 : 1)) {  // some are skipped
            const ui::DiskThumbnail made = pipeline.Take(k);
            const ui::DiskThumbnail alone = ui::MakeJpegThumbnail(paths[k], frames);
            EXPECT_EQ(made.kind, alone.kind) << k;
            EXPECT_EQ(made.fullWidth, alone.fullWidth) << k;
            ASSERT_EQ(made.bitmap.size(), alone.bitmap.size()) << k;
            EXPECT_TRUE(std::equal(made.bitmap.data(), made.bitmap.data() + made.bitmap.size(), alone.bitmap.data()))
                << k;
        }
    }
}

// A FIFO or a link to an endless device named like a picture gets the no-picture frame at once,
// so neither the workers nor the window waiting on them hang.
TEST_F(ThumbnailPipelineTest, FilesThatAreNoPicturesGetTheNoPictureFrame) {
    const testsupport::Watchdog watchdog(std::chrono::seconds(20));
    std::vector<std::string> mixed = {paths[0]};
    for (const testsupport::NotAPicture kind : testsupport::kNotPictures) {
        mixed.push_back((dir.path() / ("20261202000005-" + std::to_string(mixed.size()) + ".jpg")).string());
        testsupport::MakeNotAPicture(mixed.back(), kind);
    }
    mixed.push_back(paths[1]);
    ui::ThumbnailPipeline pipeline(mixed, frames, 8);
    EXPECT_EQ(pipeline.Take(0).kind, 2);
    for (std::size_t k = 1; k + 1 < mixed.size(); ++k)
        EXPECT_EQ(pipeline.Take(k).kind, 0) << testsupport::Describe(testsupport::kNotPictures[k - 1]);
    EXPECT_EQ(pipeline.Take(mixed.size() - 1).fullWidth, 640);
}

TEST_F(ThumbnailPipelineTest, GivenUpEarlyItWaitsForWhatItStarted) {
    for (int round = 0; round < 5; ++round) {
        ui::ThumbnailPipeline pipeline(paths, frames, 8);
        EXPECT_EQ(pipeline.Take(0).fullWidth, 320);
    }
    ui::ThumbnailPipeline untouched(paths, frames, 8);
    EXPECT_EQ(untouched.Size(), paths.size());
}

}  // namespace
