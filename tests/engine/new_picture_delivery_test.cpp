#include "engine/new_picture_delivery.h"

#include "engine/jpeg_picture.h"
#include "engine/new_picture.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

namespace {

using engine::twebcam;

struct Event {
    std::string file;
    std::uint8_t kind = 99;
    std::string pictureBytes;
    int score = -1;
};

// A manager that decodes with the JPEG layer, and one webcam "cam" whose events are recorded.
class PictureDelivery : public enginetest::WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        MakeJpegManager(8, 6);
        const auto record = [](std::vector<Event>& into) {
            return [&into](int, const std::string& file, const std::string*, std::uint8_t kind,
                           engine::twebcampicture* picture, int score) {
                into.push_back({file, kind, picture ? picture->Bytes() : std::string(), score});
            };
        };
        manager_->OnNewPicture = record(events_);
        manager_->OnStreamPicture = record(streamEvents_);
        cam_ = &Add("cam");
        diskman_ = engine::DefaultDiskMan();
        diskman_.GlobalSaveOn = 0;
    }
    std::string StillName() const { return engine::PictureFileName(cam_->Folder(), "", engine::TimestampName()); }

    twebcam* cam_ = nullptr;
    engine::TDiskManRec diskman_{};
    std::vector<Event> events_, streamEvents_;
};

TEST_F(PictureDelivery, ASavedStillPictureReachesTheManagerWithItsFile) {
    const std::string picture = testpictures::SquaresPicture(1);
    EXPECT_FALSE(engine::DeliverStillPicture(*cam_, diskman_, picture, StillName()));
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_EQ(events_[0].file, DataFolder() + "cam/20261210081502.jpg");
    EXPECT_EQ(events_[0].kind, engine::kPictureNoTest);
    EXPECT_EQ(testsupport::ReadFile(events_[0].file), picture);
    EXPECT_EQ(cam_->FLastNewPicture, platform::Now());
    EXPECT_EQ(cam_->FPictureCounter, 1);
    EXPECT_EQ(manager_->GetThumbnail(1).row(3)[0], 60) << "the thumbnail is drawn from the saved file";
}

TEST_F(PictureDelivery, TheGlobalModeAndTheMotionTestDecide) {
    diskman_.GlobalSaveOn = 1;
    diskman_.GlobalSaveMode = engine::kSaveNone;
    engine::DeliverStillPicture(*cam_, diskman_, testpictures::SquaresPicture(1), StillName());
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_TRUE(events_[0].file.empty()) << "the webcam's own mode 0 is not used";
    EXPECT_TRUE(cam_->HasImage()) << "the unsaved picture is kept in memory";

    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    const auto motion = engine::DeliverStillPicture(*cam_, diskman_, testpictures::SquaresPicture(1), StillName());
    ASSERT_TRUE(motion);
    EXPECT_EQ(motion->CellSize, 4);
    ASSERT_EQ(events_.size(), 2u);
    EXPECT_EQ(events_[1].kind, engine::kPictureMotion);
    EXPECT_FALSE(events_[1].file.empty());
}

TEST_F(PictureDelivery, AStreamFrameIsNamedWithHundredthsAndComparedWithTheKeptPicture) {
    auto rec2 = cam_->Rec2();
    rec2.FilePrefix = "live";
    cam_->SetRecord2(rec2);
    const std::string frame = testpictures::SquaresPicture(2);
    engine::DeliverStreamFrame(*cam_, diskman_, frame);
    ASSERT_EQ(streamEvents_.size(), 1u);
    EXPECT_EQ(streamEvents_[0].file, DataFolder() + "cam/live2026121008150234.jpg") << "16 digits";
    EXPECT_EQ(streamEvents_[0].pictureBytes, frame);
    ASSERT_TRUE(cam_->HasImage()) << "the manager keeps every frame";

    diskman_.GlobalSaveOn = 1;
    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    engine::DeliverStreamFrame(*cam_, diskman_, frame);
    ASSERT_EQ(streamEvents_.size(), 2u);
    EXPECT_EQ(streamEvents_[1].kind, engine::kPictureNoChange);
    EXPECT_TRUE(streamEvents_[1].file.empty());
}

// Frames of a burst come within one hundredth of a second: each keeps a file of its own, under
// the next free hundredth, also across the end of a second.
TEST_F(PictureDelivery, FramesOfABurstAreEachSavedUnderTheirOwnName) {
    struct Case {
        int millisecond;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {345, {"2026121008150234.jpg", "2026121008150235.jpg", "2026121008150236.jpg"}},
        {985, {"2026121008150298.jpg", "2026121008150299.jpg", "2026121008150300.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.millisecond);
        std::filesystem::remove_all(cam_->Folder());
        std::filesystem::create_directory(cam_->Folder());
        streamEvents_.clear();
        clock_.SetLocal(platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(8, 15, 2, c.millisecond));
        for (int n = 1; n <= 3; ++n) engine::DeliverStreamFrame(*cam_, diskman_, testpictures::SquaresPicture(n));
        ASSERT_EQ(streamEvents_.size(), 3u);
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(streamEvents_[n - 1].file, DataFolder() + "cam/" + c.names[n - 1]);
            EXPECT_EQ(testsupport::ReadFile(streamEvents_[n - 1].file), testpictures::SquaresPicture(n));
        }
    }
}

// More frames than a second has hundredths, all at one moment: none replaces another.
TEST_F(PictureDelivery, ABurstLongerThanASecondsHundredthsLosesNoFrame) {
    clock_.SetLocal(platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(8, 15, 2, 0));
    constexpr int kFrames = 103;
    for (int n = 1; n <= kFrames; ++n) engine::DeliverStreamFrame(*cam_, diskman_, testpictures::SquaresPicture(n));
    ASSERT_EQ(streamEvents_.size(), static_cast<std::size_t>(kFrames));
    EXPECT_EQ(streamEvents_.back().file, DataFolder() + "cam/2026121008150302.jpg");
    for (int n = 1; n <= kFrames; ++n)
        EXPECT_EQ(testsupport::ReadFile(streamEvents_[n - 1].file), testpictures::SquaresPicture(n)) << n;
}

// The saving decision compares with the newest saved picture as a listing of the folder would
// find it, also when pictures were deleted, copied in or the folder replaced behind the
// webcam's back since its last save.
TEST_F(PictureDelivery, TheSavingDecisionFollowsChangesMadeOutsideTheProgram) {
    namespace fs = std::filesystem;
    const auto picture = [](int n) { return testpictures::SquaresPicture(n); };
    struct Case {
        const char* what;
        std::uint8_t mode;
        std::function<void(const std::string& folder, const std::vector<std::string>& saved)> change;
        int delivered;        // the picture delivered after the change
        bool expectSaved;
        std::uint8_t expectKind;
    };
    const Case cases[] = {
        {"the newest deleted: the one before it is the newest again", engine::kSaveEvery,
         [](const std::string&, const std::vector<std::string>& saved) { fs::remove(saved[1]); }, 1, false, 0},
        {"the newest deleted, motion mode", engine::kSaveOnMotion,
         [](const std::string&, const std::vector<std::string>& saved) { fs::remove(saved[1]); }, 1, false,
         engine::kPictureNoChange},
        {"a newer picture copied in", engine::kSaveEvery,
         [&](const std::string& folder, const std::vector<std::string>&) {
             testsupport::WriteFile(folder + "20301231235959.jpg", picture(3));
         },
         3, false, 0},
        {"a newer picture copied in, motion mode", engine::kSaveOnMotion,
         [&](const std::string& folder, const std::vector<std::string>&) {
             testsupport::WriteFile(folder + "20301231235959.jpg", picture(3));
         },
         3, false, engine::kPictureNoChange},
        {"the folder replaced under the webcam", engine::kSaveEvery,
         [&](const std::string& folder, const std::vector<std::string>&) {
             fs::rename(folder, folder.substr(0, folder.size() - 1) + "-before");
             testsupport::WriteFile(folder + "20200101000000.jpg", picture(4));
         },
         4, false, 0},
        {"the folder replaced, then a new picture", engine::kSaveEvery,
         [&](const std::string& folder, const std::vector<std::string>&) {
             fs::rename(folder, folder.substr(0, folder.size() - 1) + "-before");
             testsupport::WriteFile(folder + "20200101000000.jpg", picture(4));
         },
         2, true, engine::kPictureNoTest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(DataFolder() + "cam-before");
        fs::remove_all(cam_->Folder());
        fs::create_directory(cam_->Folder());
        diskman_.GlobalSaveOn = 1;
        diskman_.GlobalSaveMode = engine::kSaveEvery;
        std::vector<std::string> saved;
        for (int n = 1; n <= 2; ++n) {
            clock_.AdvanceSeconds(1);
            events_.clear();
            engine::DeliverStillPicture(*cam_, diskman_, picture(n), StillName());
            ASSERT_EQ(events_.size(), 1u);
            saved.push_back(events_[0].file);
        }
        c.change(cam_->Folder(), saved);
        diskman_.GlobalSaveMode = c.mode;
        clock_.AdvanceSeconds(1);
        events_.clear();
        engine::DeliverStillPicture(*cam_, diskman_, picture(c.delivered), StillName());
        if (c.mode == engine::kSaveEvery && !c.expectSaved) {
            EXPECT_TRUE(events_.empty()) << "the same bytes as the newest saved picture: no save, no event";
            continue;
        }
        ASSERT_EQ(events_.size(), 1u);
        EXPECT_EQ(events_[0].kind, c.expectKind);
        EXPECT_EQ(!events_[0].file.empty(), c.expectSaved);
    }
    EXPECT_EQ(cam_->FNewestSaved.Listings(), 2 * static_cast<int>(std::size(cases)))
        << "listed once after each change, never for the pictures saved in between";
}

TEST_F(PictureDelivery, AFailingReceiverEndsTheStepQuietly) {
    manager_->OnNewPicture = [](int, const std::string&, const std::string*, std::uint8_t, engine::twebcampicture*,
                                int) { throw std::runtime_error("receiver failed"); };
    EXPECT_NO_THROW(engine::DeliverStillPicture(*cam_, diskman_, testpictures::SquaresPicture(3), StillName()));
    EXPECT_NO_THROW(engine::DeliverStillPicture(*cam_, diskman_, "not a picture", StillName()));
}

}  // namespace
