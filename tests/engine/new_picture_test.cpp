#include "engine/new_picture.h"

#include "engine/regconfig.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

namespace {

namespace fs = std::filesystem;
using engine::NewPictureOutcome;

std::string Picture(int i) { return testpictures::SquaresPicture(i); }

class NewPicture : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        folder_ = (dataDir() / "Cam001").string() + "/";
        fs::create_directories(folder_);
        rec2_ = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    }
    std::string Name(int i) const {
        return folder_ + "cam202612100000" + std::to_string(10 + i) + ".jpg";
    }
    NewPictureOutcome Still(const std::string& bytes, std::uint8_t mode, int i) {
        return engine::NewStillPicture({bytes, mode, folder_, &rec2_, &saved_}, Name(i), counter_);
    }
    NewPictureOutcome Frame(const std::string& bytes, std::uint8_t mode, const std::string* remembered) {
        return engine::NewStreamFrame({bytes, mode, folder_, &rec2_, &saved_}, remembered,
                                      [this] { return Name(++frames_); }, counter_);
    }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string folder_;
    engine::TWebcamDef1Rec rec2_;
    engine::NewestSavedPicture saved_;
    std::int32_t counter_ = 0;
    int frames_ = 0;
};

TEST_F(NewPicture, SaveModesOverASequenceOfNinePictures) {
    struct Case { const char* name; std::vector<std::uint8_t> modes; std::vector<int> saved; };
    const Case cases[] = {
        {"mode 1", {1}, {1, 3, 5, 7, 9}},
        {"mode 3", {3}, {1, 5, 9}},
        {"mode 0", {0}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"mode 255", {255}, {}},
        {"the counter runs on through mode changes", {1, 1, 3, 3, 3, 3, 3, 3, 3}, {1, 3, 7}},
        {"a never-saved picture counts too", {3, 255, 3, 3, 3, 3, 3, 3, 3}, {1, 5, 9}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        counter_ = 0;
        std::vector<int> saved;
        for (int i = 1; i <= 9; ++i) {
            const std::uint8_t mode = c.modes.size() == 1 ? c.modes[0] : c.modes[static_cast<std::size_t>(i - 1)];
            NewPictureOutcome out = Still(Picture(i), mode, i);
            ASSERT_TRUE(out.Event) << c.name << " picture " << i;
            EXPECT_EQ(out.Event->Kind, engine::kPictureNoTest);
            EXPECT_EQ(out.Event->Score, 0);
            if (!out.Event->FileName.empty()) {
                saved.push_back(i);
                EXPECT_EQ(out.Event->FileName, Name(i));
                EXPECT_FALSE(out.Event->Picture) << "a saved picture is not handed over";
                EXPECT_EQ(testsupport::ReadFile(Name(i)), Picture(i)) << "saved as received";
            } else {
                ASSERT_TRUE(out.Event->Picture) << c.name << " picture " << i;
                EXPECT_EQ(out.Event->Picture->Width(), 80) << "decoded at quarter size";
            }
        }
        EXPECT_EQ(saved, c.saved) << c.name;
        EXPECT_EQ(Files().size(), c.saved.size()) << c.name;
    }
}

TEST_F(NewPicture, ModeZeroSkipsTheBytesOfTheNewestSavedPictureOnly) {
    const std::string first = Picture(1);
    ASSERT_TRUE(Still(first, 0, 1).Event);
    EXPECT_FALSE(Still(first, 0, 2).Event) << "unchanged: neither saved nor reported";
    // Same size, other bytes: the JFIF density differs.
    std::string sameSize = first;
    sameSize[15] = 2;
    const NewPictureOutcome out = Still(sameSize, 0, 3);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->FileName, Name(3));
    EXPECT_EQ(Files(), (std::set<std::string>{fs::path(Name(1)).filename(), fs::path(Name(3)).filename()}));
}

TEST_F(NewPicture, MotionModeSavesChangesAndReportsTheUnchangedPicture) {
    NewPictureOutcome out = Still(Picture(1), 254, 1);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureMotion) << "an empty folder has no reference: a change";
    EXPECT_EQ(out.Event->FileName, Name(1));
    EXPECT_EQ(out.Event->Score, 0);
    ASSERT_TRUE(out.MotionSettings);
    EXPECT_EQ(out.MotionSettings->CellSize, 4);

    out = Still(Picture(1), 254, 2);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);
    EXPECT_TRUE(out.Event->FileName.empty());
    ASSERT_TRUE(out.Event->Picture);
    EXPECT_EQ(out.Event->Picture->Bytes(), Picture(1));

    out = Still(Picture(3), 254, 3);  // two more squares: score 26
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureMotion);
    EXPECT_EQ(out.Event->Score, 26);
    EXPECT_EQ(Files().size(), 2u);

    rec2_.MotionThreshold = 7;  // the webcam's own threshold: 26 < 28 is no motion
    out = Still(Picture(5), 254, 4);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);
    EXPECT_EQ(out.MotionSettings->Threshold, 7);
}

// A picture saved after its motion test is the reference of the next ones with the sums made
// for its test; the newest saved file is decoded only when it is no longer the same: saved
// over, rewritten outside, unreadable.
TEST_F(NewPicture, TheKeptMotionReferenceFollowsTheNewestFile) {
    Still(Picture(1), 254, 1);
    EXPECT_NE(saved_.KeptMotionReference(4), nullptr) << "the picture saved into the empty folder";
    NewPictureOutcome out = Still(Picture(1), 254, 2);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);
    const engine::MotionBlockSums* kept = saved_.KeptMotionReference(4);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Width, 80) << "at quarter size";
    EXPECT_EQ(kept->Count(), static_cast<std::size_t>((80 / 4 + 1) * (kept->Height / 4 + 1))) << "blocks of the cell size";
    EXPECT_EQ(saved_.KeptMotionReference(5), nullptr) << "none kept for another cell size";

    struct Case {
        const char* what;
        std::string newestBytes;  // written over the newest file outside the program
        std::uint8_t kind;
        int score;
    };
    const Case cases[] = {
        {"the newest file rewritten with another picture", Picture(5), engine::kPictureMotion, 37},
        {"the newest file rewritten with the same picture", Picture(1), engine::kPictureNoChange, 0},
        {"the newest file no longer decodes", "not a picture", engine::kPictureMotion, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::WriteFile(Name(1), c.newestBytes);
        out = Still(Picture(1), 254, 3);
        ASSERT_TRUE(out.Event);
        EXPECT_EQ(out.Event->Kind, c.kind);
        EXPECT_EQ(out.Event->Score, c.score);
        if (!out.Event->FileName.empty()) fs::remove(out.Event->FileName);
    }

    // A picture saved on motion becomes the reference of the next test.
    testsupport::WriteFile(Name(1), Picture(1));
    out = Still(Picture(5), 254, 4);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureMotion);
    out = Still(Picture(5), 254, 5);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);

    // Another cell size needs the sums of other blocks: the file is decoded again for them.
    rec2_.MotionCellSize = 8;
    out = Still(Picture(5), 254, 6);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);
    EXPECT_NE(saved_.KeptMotionReference(8), nullptr);
}

TEST_F(NewPicture, BadOrTruncatedBytesLeaveNoFileAndNoCallback) {
    const std::string whole = Picture(2);
    for (const std::string& bytes : {std::string("<html>not found</html>"), whole.substr(0, whole.size() - 200)}) {
        for (const std::uint8_t mode : {0, 1, 254}) {
            counter_ = 0;
            EXPECT_FALSE(Still(bytes, mode, 1).Event) << int(mode);
            counter_ = 0;
            EXPECT_FALSE(Frame(bytes, mode, nullptr).Event) << "frame, mode " << int(mode);
        }
    }
    EXPECT_TRUE(Files().empty()) << "not even a temporary file";
    const NewPictureOutcome shown = Still(whole.substr(0, whole.size() - 200), 255, 1);
    ASSERT_TRUE(shown.Event) << "a truncated picture that is not saved is still shown";
    EXPECT_EQ(shown.Event->Kind, engine::kPictureNoTest);
    counter_ = 0;
    EXPECT_FALSE(Still("", 0, 1).Event);
    EXPECT_EQ(counter_, 0) << "an empty picture is not counted";
}

TEST_F(NewPicture, AFailedWriteNamesNoFile) {
    fs::remove_all(folder_);
    EXPECT_FALSE(Still(Picture(1), 0, 1).Event);
    EXPECT_FALSE(Still(Picture(1), 254, 2).Event);
    EXPECT_FALSE(Frame(Picture(1), 0, nullptr).Event);
    const NewPictureOutcome motion = Frame(Picture(1), 254, nullptr);
    ASSERT_TRUE(motion.Event) << "a stream frame with motion is still shown";
    EXPECT_EQ(motion.Event->Kind, engine::kPictureMotion);
    EXPECT_TRUE(motion.Event->FileName.empty());
    EXPECT_FALSE(fs::exists(folder_));
}

TEST_F(NewPicture, StreamFramesCompareWithTheRememberedPicture) {
    const std::string first = Picture(1);
    NewPictureOutcome out = Frame(first, 254, nullptr);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureMotion) << "no remembered picture: the first frame is saved";
    EXPECT_EQ(out.Event->FileName, Name(1));
    ASSERT_TRUE(out.Event->Picture) << "stream events carry the frame";

    out = Frame(first, 254, &first);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange);
    EXPECT_TRUE(out.Event->FileName.empty());

    const std::string broken = "broken";
    out = Frame(first, 254, &broken);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureNoChange) << "a remembered picture that cannot be loaded";

    const std::string changed = Picture(3);
    out = Frame(changed, 254, &first);
    ASSERT_TRUE(out.Event);
    EXPECT_EQ(out.Event->Kind, engine::kPictureMotion);
    EXPECT_EQ(out.Event->Score, 26);
    EXPECT_EQ(Files().size(), 2u);
}

TEST_F(NewPicture, StreamFramesAreSavedWithoutAByteComparisonAndShownInColour) {
    for (int i = 0; i < 2; ++i) {
        const NewPictureOutcome out = Frame(Picture(1), 0, nullptr);
        ASSERT_TRUE(out.Event);
        EXPECT_EQ(out.Event->FileName, Name(i + 1));
        EXPECT_EQ(out.Event->Kind, engine::kPictureNoTest);
        ASSERT_TRUE(out.Event->Picture);
        EXPECT_FALSE(out.Event->Picture->Grayscale());
    }
    const NewPictureOutcome shown = Frame(Picture(1), 255, nullptr);
    ASSERT_TRUE(shown.Event);
    EXPECT_TRUE(shown.Event->FileName.empty());
    EXPECT_EQ(Files().size(), 2u);
}

TEST(NewPictureName, ThePrefixStaysInsideTheWebcamFolder) {
    struct Case { const char* prefix; const char* want; };
    const Case cases[] = {
        {"", "/data/cam/20261210081502.jpg"},
        {"cam", "/data/cam/cam20261210081502.jpg"},
        {"../../etc/", "/data/cam/....etc20261210081502.jpg"},
        {"a\\b\x01" "c", "/data/cam/abc20261210081502.jpg"},
        {"\xe9t\xe9", "/data/cam/\xc3\xa9t\xc3\xa9" "20261210081502.jpg"},  // Windows-1252 to UTF-8
    };
    for (const Case& c : cases)
        EXPECT_EQ(engine::PictureFileName("/data/cam/", c.prefix, "20261210081502"), c.want) << c.prefix;
}

TEST(NewPictureMode, TheGlobalSaveModeWinsWhenSwitchedOn) {
    auto diskman = engine::DefaultDiskMan();
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.SaveMode = 0;
    diskman.GlobalSaveOn = 1;
    diskman.GlobalSaveMode = 255;
    EXPECT_EQ(engine::EffectiveSaveMode(diskman, rec), 255);
    diskman.GlobalSaveOn = 0;
    EXPECT_EQ(engine::EffectiveSaveMode(diskman, rec), 0);
}

}  // namespace
