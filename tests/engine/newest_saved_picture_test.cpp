#include "engine/newest_saved_picture.h"

#include "engine/picture_folder.h"
#include "engine/webcam_folder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

// What a webcam knows of its newest picture against what a listing of the folder finds, after
// its own saves and after changes made behind its back.
class NewestSaved : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.folder() + "cam/";
        fs::create_directories(folder_);
        for (const char* name : {"cam20260101000000.jpg", "cam20260102000000.jpg", "header.txt"})
            testsupport::WriteFile(folder_ + name, name);
    }
    // The program's own save, as the new-picture step makes it.
    void Save(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(engine::WritePictureFile(folder_ + name, bytes));
        saved_.Written(folder_, folder_ + name);
    }
    void ExpectSameAsListing(const std::string& what) {
        EXPECT_EQ(saved_.Newest(folder_).Name, engine::LatestJpegInFolder(folder_)) << what;
    }

    testsupport::TempDir temp_;
    std::string folder_;
    engine::NewestSavedPicture saved_;
};

TEST_F(NewestSaved, OwnSavesAreKnownWithoutListingTheFolderAgain) {
    EXPECT_EQ(saved_.Newest(folder_).Name, "cam20260102000000.jpg");
    for (int i = 10; i < 40; ++i) {
        Save("cam202601030000" + std::to_string(i) + ".jpg", std::string(i, 'x'));
        const engine::SavedPictureFile& newest = saved_.Newest(folder_);
        EXPECT_EQ(newest.Name, "cam202601030000" + std::to_string(i) + ".jpg");
        EXPECT_EQ(newest.Id.size, i);
    }
    Save("cam20250101000000.jpg", "an older name");
    ExpectSameAsListing("a save under an older name leaves the newest");
    EXPECT_EQ(saved_.Listings(), 1) << "listed once, when first asked";
}

TEST_F(NewestSaved, ChangesBehindItsBackGiveWhatAListingFinds) {
    const std::string outside = temp_.folder() + "outside.jpg";
    testsupport::WriteFile(outside, "copied");
    struct Case {
        const char* what;
        std::function<void(const std::string& folder)> change;
        const char* newest;  // what the listing must find afterwards
    };
    const Case cases[] = {
        {"nothing changed", [](const std::string&) {}, "cam20260102000000.jpg"},
        {"the newest deleted", [](const std::string& f) { fs::remove(f + "cam20260102000000.jpg"); },
         "cam20260101000000.jpg"},
        {"every picture deleted",
         [](const std::string& f) {
             fs::remove(f + "cam20260101000000.jpg");
             fs::remove(f + "cam20260102000000.jpg");
         },
         ""},
        {"a newer picture copied in", [&](const std::string& f) { fs::copy_file(outside, f + "cam20260105000000.jpg"); },
         "cam20260105000000.jpg"},
        {"a newer picture moved in", [&](const std::string& f) { fs::rename(outside, f + "cam20260106000000.JPG"); },
         "cam20260106000000.JPG"},
        {"an older picture copied in", [&](const std::string& f) { fs::copy_file(f + "header.txt", f + "a.jpg"); },
         "cam20260102000000.jpg"},
        {"a folder named like a newer picture", [](const std::string& f) { fs::create_directory(f + "zzz.jpg"); },
         "cam20260102000000.jpg"},
        {"the folder replaced by another",
         [](const std::string& f) {
             fs::rename(f, f.substr(0, f.size() - 1) + "-old");
             testsupport::WriteFile(f + "other20200101000000.jpg", "other");
         },
         "other20200101000000.jpg"},
        {"the folder removed", [](const std::string& f) { fs::remove_all(f); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(temp_.path());
        SetUp();
        testsupport::WriteFile(outside, "copied");
        EXPECT_EQ(saved_.Newest(folder_).Name, "cam20260102000000.jpg");
        Save("cam20260103000000.jpg", "own");
        fs::remove(folder_ + "cam20260103000000.jpg");  // gone again: the state of the table
        c.change(folder_);
        EXPECT_EQ(saved_.Newest(folder_).Name, c.newest);
        ExpectSameAsListing(c.what);
    }
}

TEST_F(NewestSaved, ARewrittenNewestFileGetsANewIdentity) {
    const engine::FileIdentity before = saved_.Newest(folder_).Id;
    testsupport::WriteFile(folder_ + "cam20260102000000.jpg", "rewritten in place, longer");
    const engine::SavedPictureFile& after = saved_.Newest(folder_);
    EXPECT_EQ(after.Name, "cam20260102000000.jpg");
    EXPECT_NE(after.Id, before);
    EXPECT_EQ(after.Id.size, 26);
}

TEST_F(NewestSaved, AnotherFolderOrForgetListsAgain) {
    saved_.Newest(folder_);
    const std::string other = temp_.folder() + "other/";
    testsupport::WriteFile(other + "x20200101000000.jpg", "x");
    EXPECT_EQ(saved_.Newest(other).Name, "x20200101000000.jpg");
    saved_.Forget();
    saved_.Newest(other);
    EXPECT_EQ(saved_.Listings(), 3);
}

}  // namespace
