#include "engine/webcam_folder.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LatestJpegInFolder, NewestPictureByNameIgnoringCaseAndFolders) {
    testsupport::TempDir dir;
    for (const char* name : {"cam20240101120000.jpg", "cam20240102120000.JPG", "header.txt"})
        testsupport::WriteFile(dir.path() / name, "x");
    std::filesystem::create_directories(dir.path() / "zzz.jpg");  // a folder, not a picture
    EXPECT_EQ(engine::LatestJpegInFolder(dir.folder()), "cam20240102120000.JPG");
    EXPECT_EQ(engine::LatestJpegInFolder(dir.folder() + "missing/"), "");
}

}  // namespace
