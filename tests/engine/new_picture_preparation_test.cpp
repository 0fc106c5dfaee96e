// The work a fetch or stream thread does ahead on a new picture must not change what happens to
// it: a series of pictures is handed to two identical webcams, to one with nothing done ahead
// (everything in the main thread's step) and to the other with the worker's preparation, and
// the saved files, the events, the motion scores and the thumbnails must be the same.

#include "engine/new_picture_preparation.h"

#include "engine/fast_bitmap.h"
#include "engine/fetch_thread_services.h"
#include "engine/jpeg_picture.h"
#include "engine/new_picture.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "tests/engine/fetch_thread_fixture.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/engine/webcam_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <vector>

namespace {

namespace fs = std::filesystem;
using engine::PreparedPicture;

struct Event {
    std::string file;  // without the folder
    int kind = -1;
    std::string pictureBytes;
    int score = -1;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{" << e.file << ", kind " << e.kind << ", " << e.pictureBytes.size() << " bytes, score " << e.score
               << "}";
}

std::string Squares(int n) { return testpictures::SquaresPicture(n); }

// A colour picture with a block that moves with n.
std::string Colour(int n, int width = 320, int height = 240) {
    return testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [=](int x, int y) -> std::uint32_t {
        const bool block = x * 8 / width == n % 8 && y * 6 / height == 2;
        return block ? 0x2040E0u : static_cast<std::uint32_t>((x * 255 / width) << 8 | (y * 255 / height));
    }));
}

// Rewrites the newest saved picture, if any, with other bytes.
void RewriteNewest(const std::string& folder, const std::string& bytes) {
    std::string newest;
    for (const auto& entry : fs::directory_iterator(folder))
        newest = std::max(newest, entry.path().filename().string());
    if (!newest.empty()) testsupport::WriteFile(folder + newest, bytes);
}

// What one step of a series is: the picture, and a change made outside the program after the
// worker prepared it and before the main thread's step runs.
struct Step {
    std::string bytes;
    std::function<void(const std::string& folder)> outside;
};

class PreparedAhead : public enginetest::WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        MakeJpegManager(86, 80);
        const auto record = [this](int index, const std::string& file, const std::string*, std::uint8_t kind,
                                   engine::twebcampicture* picture, int score) {
            events_[index].push_back({fs::path(file).filename().string(), kind, picture ? picture->Bytes() : "", score});
        };
        manager_->OnNewPicture = record;
        manager_->OnStreamPicture = record;
        main_ = &Add("main");
        ahead_ = &Add("ahead");
        diskman_ = engine::DefaultDiskMan();
        diskman_.GlobalSaveOn = 1;
    }

    // Runs the series through both webcams, the still-picture step or the stream one, and
    // checks every outcome as it goes.
    void RunBoth(const std::vector<Step>& series, const std::vector<std::uint8_t>& modes, bool stream) {
        const engine::NewPictureStep still = engine::StillPictureStep(diskman_, [this](const auto& m) { KeepMotion(m); });
        const engine::StreamFrameStep frame = engine::StreamPictureStep(diskman_, [this](const auto& m) { KeepMotion(m); });
        engine::StreamFramePreparer framePreparer;
        for (std::size_t i = 0; i < series.size(); ++i) {
            SCOPED_TRACE("picture " + std::to_string(i + 1));
            const std::string& bytes = series[i].bytes;
            diskman_.GlobalSaveMode = modes[i % modes.size()];
            clock_.AdvanceSeconds(1);
            PreparedPicture prepared =
                stream ? framePreparer.Prepare(*ahead_, bytes) : engine::PrepareStillPicture(*ahead_, bytes);
            if (series[i].outside) {
                series[i].outside(main_->Folder());
                series[i].outside(ahead_->Folder());
            }
            const std::string name = engine::TimestampName();
            motion_.clear();
            if (stream) {
                EXPECT_EQ(frame(*main_, bytes, nullptr), frame(*ahead_, bytes, &prepared));
            } else {
                EXPECT_EQ(still(*main_, bytes, engine::PictureFileName(main_->Folder(), "", name), nullptr),
                          still(*ahead_, bytes, engine::PictureFileName(ahead_->Folder(), "", name), &prepared));
            }
            ASSERT_EQ(motion_.size() % 2, 0u);
            if (!motion_.empty()) {
                EXPECT_EQ(engine::MotionSettingsValues(motion_[0]), engine::MotionSettingsValues(motion_[1]));
            }
            EXPECT_EQ(events_[main_->FRecordNo], events_[ahead_->FRecordNo]);
            EXPECT_EQ(manager_->GetThumbnail(1), manager_->GetThumbnail(2)) << "the thumbnail drawn ahead";
        }
        EXPECT_EQ(Files(*main_), Files(*ahead_));
    }

    void KeepMotion(const engine::TMotionSettingsRec& motion) { motion_.push_back(motion); }

    // The pictures of the webcam's folder: name and bytes.
    static std::map<std::string, std::string> Files(const engine::twebcam& webcam) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(webcam.Folder()))
            files[entry.path().filename().string()] = testsupport::ReadFile(entry.path());
        return files;
    }

    // The kinds of the events of the main webcam, which took nothing ahead.
    std::vector<int> Kinds() const {
        std::vector<int> kinds;
        for (const Event& e : events_.at(main_->FRecordNo)) kinds.push_back(e.kind);
        return kinds;
    }

    engine::twebcam* main_ = nullptr;
    engine::twebcam* ahead_ = nullptr;
    engine::TDiskManRec diskman_{};
    std::map<int, std::vector<Event>> events_;
    std::vector<engine::TMotionSettingsRec> motion_;
};

// Real pictures that change, repeat, break and are rewritten behind the program's back.
std::vector<Step> StillSeries() {
    const std::string cut = Squares(3).substr(0, Squares(3).size() / 2);
    return {
        {Squares(1), {}},
        {Squares(1), {}},
        {Squares(3), {}},
        {Squares(3), {}},
        {cut, {}},
        {Squares(2), [](const std::string& folder) { RewriteNewest(folder, Squares(6)); }},
        {"no picture at all", {}},
        {Colour(1), {}},
        {Colour(1), {}},
        {Colour(2), [](const std::string& folder) { fs::remove_all(folder); fs::create_directory(folder); }},
        {Squares(5), {}},
        {Squares(5), {}},
        {Squares(4), {}},
        // Colour 640 x 480: the thumbnail's decode is the step's own, made in one pass with it.
        {Colour(4, 640, 480), {}},
        {Colour(4, 640, 480), {}},
        {Colour(5, 640, 480), {}},
        {Colour(5, 640, 480), [](const std::string& folder) { RewriteNewest(folder, Colour(1)); }},
    };
}

TEST_F(PreparedAhead, StillPicturesHaveTheSameOutcomeInEverySaveMode) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> modes;  // one per picture, repeated
    };
    const Case cases[] = {
        {"mode 0", {engine::kSaveEvery}},
        {"mode 254", {engine::kSaveOnMotion}},
        {"mode 2", {2}},
        {"mode 255", {engine::kSaveNone}},
        {"modes changing", {engine::kSaveOnMotion, engine::kSaveEvery, engine::kSaveOnMotion, 1, engine::kSaveNone}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (engine::twebcam* cam : {main_, ahead_}) {
            fs::remove_all(cam->Folder());
            fs::create_directory(cam->Folder());
            cam->FPictureCounter = 0;
        }
        events_.clear();
        RunBoth(StillSeries(), c.modes, false);
        ASSERT_FALSE(events_[main_->FRecordNo].empty());
    }
}

TEST_F(PreparedAhead, TheMotionSeriesSavesChangesAndReportsTheRest) {
    // The main webcam's outcome, as the main thread alone gives it, is what the comparison above
    // holds the worker's to: it must itself be a real mix of motion and no change.
    RunBoth(StillSeries(), {engine::kSaveOnMotion}, false);
    const int motion = engine::kPictureMotion, same = engine::kPictureNoChange;
    // Pictures 5 and 7 are refused. The rewrite outside (picture 6) makes the reference six
    // squares: four fewer is motion; the emptied folder (picture 10) has no reference: motion;
    // one square fewer (picture 13) is below the threshold. The larger colour picture (14) has
    // another size: motion; its block a column on (16) hardly changes the brightness: no change;
    // the rewrite outside (17) makes the reference smaller again: motion.
    EXPECT_EQ(Kinds(), (std::vector<int>{motion, same, motion, same, motion, motion, same, motion, motion, same, same,
                                         motion, same, same, motion}));
}

TEST_F(PreparedAhead, StreamFramesHaveTheSameOutcomeInEverySaveMode) {
    const std::string cut = Squares(3).substr(0, Squares(3).size() / 2);
    // 640 x 480 frames have their thumbnail drawn from the quarter-size decode itself.
    const std::vector<Step> series = {{Squares(1), {}}, {Squares(1), {}},         {Squares(3), {}},
                                      {cut, {}},        {Squares(3), {}},         {Colour(1), {}},
                                      {Colour(1), {}},  {Colour(2, 640, 480), {}}, {Colour(2, 640, 480), {}},
                                      {Colour(3, 640, 480), {}}, {Squares(2), {}}};
    for (const auto& modes : std::vector<std::vector<std::uint8_t>>{
             {engine::kSaveOnMotion}, {engine::kSaveEvery}, {engine::kSaveNone}, {engine::kSaveOnMotion, 0, 1}}) {
        SCOPED_TRACE(static_cast<int>(modes[0]));
        for (engine::twebcam* cam : {main_, ahead_}) {
            fs::remove_all(cam->Folder());
            fs::create_directory(cam->Folder());
            cam->FPicture.reset();
        }
        events_.clear();
        RunBoth(series, modes, true);
        ASSERT_FALSE(events_[main_->FRecordNo].empty());
    }
}

// The step takes the worker's motion test only while it still holds: made with the settings in
// force, against the newest saved file as it is now. A result marked false shows which was used.
TEST_F(PreparedAhead, TheWorkersMotionTestIsUsedOnlyWhileItHolds) {
    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    const engine::NewPictureStep still = engine::StillPictureStep(diskman_);
    struct Case {
        const char* what;
        std::function<void()> between;  // after the worker's test
        int expectKind;
    };
    const Case cases[] = {
        {"nothing changed: the worker's result", [] {}, engine::kPictureMotion},
        {"the newest file rewritten", [this] { RewriteNewest(ahead_->Folder(), Squares(2)); }, engine::kPictureNoChange},
        {"other motion settings for the webcam",
         [this] {
             auto rec2 = ahead_->Rec2();
             rec2.MotionThreshold = 6;
             ahead_->SetRecord2(rec2);
         },
         engine::kPictureNoChange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(ahead_->Folder());
        fs::create_directory(ahead_->Folder());
        ahead_->SetRecord2(enginetest::SecondRecord(false));
        clock_.AdvanceSeconds(1);
        ASSERT_EQ(still(*ahead_, Squares(1), engine::PictureFileName(ahead_->Folder(), "", engine::TimestampName()), nullptr),
                  engine::PictureVerdict::Taken);
        PreparedPicture prepared = engine::PrepareStillPicture(*ahead_, Squares(1));
        ASSERT_TRUE(prepared.Motion) << "the worker compares with the newest saved file";
        EXPECT_TRUE(prepared.Motion->Same);
        prepared.Motion->Same = false;  // what the step reports shows whose result it took
        c.between();
        events_.clear();
        clock_.AdvanceSeconds(1);
        still(*ahead_, Squares(1), engine::PictureFileName(ahead_->Folder(), "", engine::TimestampName()), &prepared);
        ASSERT_EQ(events_[ahead_->FRecordNo].size(), 1u);
        EXPECT_EQ(events_[ahead_->FRecordNo][0].kind, c.expectKind);
    }
}

// A picture saved after a motion test is the reference of the next one with the sums made for
// its test: those its file gives when decoded, kept and published without a decode of it, with
// the worker's preparation or without.
TEST_F(PreparedAhead, ASavedPictureIsTheNextReferenceWithItsOwnSums) {
    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    const engine::NewPictureStep still = engine::StillPictureStep(diskman_);
    for (const bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "prepared by the worker" : "all in the step");
        engine::twebcam& cam = ahead ? *ahead_ : *main_;
        for (const std::string& bytes : {Colour(1, 640, 480), Squares(2)}) {
            clock_.AdvanceSeconds(1);
            PreparedPicture prepared = engine::PrepareStillPicture(cam, bytes);
            const std::string file = engine::PictureFileName(cam.Folder(), "", engine::TimestampName());
            ASSERT_EQ(still(cam, bytes, file, ahead ? &prepared : nullptr), engine::PictureVerdict::Taken);
            ASSERT_TRUE(fs::exists(file)) << "saved as motion";
            const engine::TWebcamDef1Rec rec2 = cam.Rec2();
            const engine::TMotionSettingsRec settings = engine::LoadMotionSettings(&rec2);
            const engine::MotionBlockSums decoded = engine::DecodeMotionReference(file, settings);
            const auto published = cam.FNewestSaved.Published();
            ASSERT_TRUE(published && published->Reference);
            EXPECT_EQ(published->Newest.Name, fs::path(file).filename().string());
            const engine::MotionBlockSums& kept = *published->Reference;
            EXPECT_EQ(kept.Side, decoded.Side);
            EXPECT_EQ(kept.Width, decoded.Width);
            EXPECT_EQ(kept.Height, decoded.Height);
            EXPECT_EQ(kept.Narrow, decoded.Narrow);
            EXPECT_EQ(kept.Wide, decoded.Wide);
            EXPECT_GT(kept.Count(), 0u);
        }
    }
}

// A picture too tall for the comparison is motion every time, and the worker's test says so: the
// main thread never decodes the newest file for it.
TEST_F(PreparedAhead, APictureTooTallToCompareIsTestedAheadToo) {
    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    const engine::NewPictureStep still = engine::StillPictureStep(diskman_);
    const std::string tall = Colour(1, 32, 4 * (engine::kFastBitmapMaxRows + 1));
    const auto step = [&](PreparedPicture* prepared) {
        clock_.AdvanceSeconds(1);
        return still(*ahead_, tall, engine::PictureFileName(ahead_->Folder(), "", engine::TimestampName()), prepared);
    };
    ASSERT_EQ(step(nullptr), engine::PictureVerdict::Taken);
    PreparedPicture prepared = engine::PrepareStillPicture(*ahead_, tall);
    ASSERT_TRUE(prepared.Motion) << "the worker compares with the newest saved file";
    EXPECT_FALSE(prepared.Motion->Same);
    EXPECT_EQ(prepared.Motion->Score, 0);
    events_.clear();
    step(&prepared);
    ASSERT_EQ(events_[ahead_->FRecordNo].size(), 1u);
    EXPECT_EQ(events_[ahead_->FRecordNo][0].kind, engine::kPictureMotion);
    EXPECT_EQ(events_[ahead_->FRecordNo][0].score, 0);
}

// The same through real fetch threads, which prepare each picture while the main thread reports
// the one before and publishes its reference: a local picture read turn after turn in motion
// mode, changed once while the webcam runs.
class PreparedByFetchThreads : public enginetest::FetchThreadFixture {};

TEST_F(PreparedByFetchThreads, AChangedPictureIsSavedOnceAndTheSameOnesAreReportedUnchanged) {
    diskman_.GlobalSaveOn = 1;
    diskman_.GlobalSaveMode = engine::kSaveOnMotion;
    std::vector<Event> events;
    manager_->OnNewPicture = [&](int, const std::string& file, const std::string*, std::uint8_t kind,
                                 engine::twebcampicture* picture, int score) {
        events.push_back({fs::path(file).filename().string(), kind, picture ? picture->Bytes() : "", score});
    };
    const fs::path served = temp_.path() / "served.jpg";
    testsupport::WriteFile(served, Squares(1));
    Add(served.string(), 0);
    manager_->StartWebcam(1);
    ASSERT_TRUE(WaitFor([&] { return events.size() >= 4; }));
    testsupport::WriteFile(temp_.path() / "next.jpg", Squares(3));
    fs::rename(temp_.path() / "next.jpg", served);  // whole, never half written
    const auto changedAt = events.size();
    ASSERT_TRUE(WaitFor([&] { return events.size() >= changedAt + 4; }));
    manager_->StopWebcam(1);

    // The first picture meets an empty folder, the changed one two squares more (score 26);
    // every other one is the newest saved picture again.
    std::vector<std::size_t> motions;
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        if (events[i].kind == engine::kPictureMotion) {
            motions.push_back(i);
            EXPECT_FALSE(events[i].file.empty());
            continue;
        }
        EXPECT_EQ(events[i].kind, engine::kPictureNoChange);
        EXPECT_EQ(events[i].score, 0);
        EXPECT_EQ(events[i].pictureBytes, motions.size() < 2 ? Squares(1) : Squares(3));
    }
    ASSERT_EQ(motions.size(), 2u);
    EXPECT_EQ(motions[0], 0u);
    EXPECT_EQ(events[motions[1]].score, 26);
    EXPECT_EQ(Jpegs().size(), 2u);
}

}  // namespace
