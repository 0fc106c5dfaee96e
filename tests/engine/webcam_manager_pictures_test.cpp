#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace enginetest {
namespace {

using engine::Bitmap;
using engine::twebcam;

struct Event {
    int index = -1;
    std::string file;
    std::uint8_t kind = 99;
    std::string pictureBytes;  // empty when no picture came with it
    int score = -1;
};

class ManagerPictures : public WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        MakeManager();
        manager_->SetThumbnailSize(8, 6);
        Add("zero");
        cam_ = &Add("cam");
        auto record = [](std::vector<Event>& into) {
            return [&into](int index, const std::string& file, const std::string* stream, std::uint8_t kind,
                           engine::twebcampicture* picture, int score) {
                EXPECT_EQ(stream, nullptr);
                into.push_back({index, file, kind, picture ? picture->Bytes() : std::string(), score});
            };
        };
        manager_->OnNewPicture = record(events_);
        manager_->OnStreamPicture = record(streamEvents_);
    }

    // The colour the thumbnail of the webcam at position 1 was drawn in.
    std::string ThumbnailColour() const {
        const Bitmap thumb = manager_->GetThumbnail(2);
        EXPECT_EQ(thumb.width(), 8);
        EXPECT_EQ(thumb.height(), 6);
        const std::uint8_t* last = thumb.row(5) + 7 * 3;
        return PictureBytes(last[0], last[1], last[2]);
    }

    twebcam* cam_ = nullptr;
    std::vector<Event> events_, streamEvents_;
};

TEST_F(ManagerPictures, ASavedPictureGivesTheThumbnailFromItsFile) {
    const std::string file = DataFolder() + "cam/cam20261210081502.jpg";
    testsupport::WriteFile(file, PictureBytes(1, 2, 3));
    cam_->FPicture = "old";
    FakePicture picture(PictureBytes(9, 9, 9));
    manager_->PictureArrived(1, file, nullptr, engine::kPictureMotion, &picture, 26);
    EXPECT_FALSE(cam_->HasImage());
    EXPECT_EQ(ThumbnailColour(), PictureBytes(1, 2, 3));
    EXPECT_TRUE(cam_->FNewPicture);
    EXPECT_EQ(picture.fullColourCalls, 1);
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_EQ(events_[0].index, 1);
    EXPECT_EQ(events_[0].file, file);
    EXPECT_EQ(events_[0].kind, engine::kPictureMotion);
    EXPECT_EQ(events_[0].score, 26);
}

// A thumbnail drawn ahead by the picture's worker is taken when it has the thumbnail size; one
// of another size (the size changed meanwhile) is dropped and the thumbnail drawn here.
TEST_F(ManagerPictures, AThumbnailDrawnAheadIsTakenWhenItHasTheSize) {
    const std::string file = DataFolder() + "cam/cam20261210081502.jpg";
    testsupport::WriteFile(file, PictureBytes(1, 2, 3));
    struct Case { int w, h; std::string expect; };
    for (const Case& c : {Case{8, 6, PictureBytes(40, 50, 60)}, Case{7, 6, PictureBytes(1, 2, 3)}}) {
        Bitmap ahead(c.w, c.h, 24);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) std::copy_n("\x28\x32\x3c", 3, ahead.row(y) + x * 3);
        manager_->OfferThumbnail(ahead);
        manager_->PictureArrived(1, file, nullptr, engine::kPictureMotion, nullptr, 26);
        EXPECT_EQ(ThumbnailColour(), c.expect);
    }
    manager_->PictureArrived(1, file, nullptr, engine::kPictureMotion, nullptr, 26);
    EXPECT_EQ(ThumbnailColour(), PictureBytes(1, 2, 3)) << "an offer serves one picture only";
}

TEST_F(ManagerPictures, AnUnsavedPictureIsKeptInMemory) {
    struct Case {
        const char* what;
        bool asStream;
        std::uint8_t kind;
        bool news;
    };
    for (const Case& c : {Case{"picture, no test", false, engine::kPictureNoTest, true},
                          Case{"picture, no change", false, engine::kPictureNoChange, false},
                          Case{"stream bytes", true, engine::kPictureNoTest, true},
                          Case{"stream bytes, no change", true, engine::kPictureNoChange, false}}) {
        SCOPED_TRACE(c.what);
        cam_->FNewPicture = false;
        events_.clear();
        const std::string bytes = PictureBytes(4, 5, 6);
        FakePicture picture(bytes);
        if (c.asStream) manager_->PictureArrived(1, "", &bytes, c.kind, nullptr, 3);
        else manager_->PictureArrived(1, "", nullptr, c.kind, &picture, 3);
        ASSERT_TRUE(cam_->HasImage());
        EXPECT_EQ(*cam_->FPicture, bytes);
        EXPECT_EQ(ThumbnailColour(), bytes);
        EXPECT_EQ(cam_->FNewPicture, c.news);
        ASSERT_EQ(events_.size(), 1u);
        EXPECT_EQ(events_[0].file, "");
        EXPECT_EQ(events_[0].pictureBytes, bytes);
        EXPECT_EQ(events_[0].kind, c.kind);
        if (!c.asStream) {
            EXPECT_EQ(picture.fullColourCalls, 2);
        }
    }
}

TEST_F(ManagerPictures, NothingGivenOnlyDropsTheOldPicture) {
    cam_->FPicture = PictureBytes(1, 1, 1);
    manager_->PictureArrived(1, "", nullptr, engine::kPictureNoTest, nullptr, 0);
    EXPECT_FALSE(cam_->HasImage());
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(ThumbnailColour(), PictureBytes(0, 0, 0));
}

TEST_F(ManagerPictures, AStreamFrameIsKeptInMemoryAlsoWhenSaved) {
    FakePicture frame(PictureBytes(7, 8, 9));
    manager_->StreamPictureArrived(1, "frame.jpg", nullptr, engine::kPictureMotion, &frame, 40);
    EXPECT_EQ(*cam_->FPicture, PictureBytes(7, 8, 9));
    EXPECT_EQ(ThumbnailColour(), PictureBytes(7, 8, 9));
    EXPECT_TRUE(cam_->FNewPicture);
    ASSERT_EQ(streamEvents_.size(), 1u);
    EXPECT_EQ(streamEvents_[0].file, "frame.jpg");
    EXPECT_EQ(streamEvents_[0].pictureBytes, PictureBytes(7, 8, 9));
    EXPECT_EQ(streamEvents_[0].score, 40);
    manager_->StreamPictureArrived(1, "", nullptr, engine::kPictureNoTest, nullptr, 0);
    EXPECT_FALSE(cam_->HasImage());
    EXPECT_EQ(streamEvents_.size(), 1u);
}

TEST_F(ManagerPictures, AnUndecodablePictureFileRaises) {
    const std::string file = DataFolder() + "cam/broken.jpg";
    testsupport::WriteFile(file, "not a jpeg");
    EXPECT_ANY_THROW(manager_->PictureArrived(1, file, nullptr, engine::kPictureNoTest, nullptr, 0));
    EXPECT_TRUE(events_.empty());
    Bitmap bitmap(2, 2, 24);
    EXPECT_ANY_THROW(manager_->MakeThumbnail(DataFolder() + "cam/missing.jpg", bitmap));
}

}  // namespace
}  // namespace enginetest
