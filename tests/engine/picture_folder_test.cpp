#include "engine/picture_folder.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(PictureFolder, WritesWholeFilesAndLeavesNothingWhenItCannot) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "a.jpg").string();
    ASSERT_TRUE(engine::WritePictureFile(path, "first"));
    ASSERT_TRUE(engine::WritePictureFile(path, "second"));
    EXPECT_EQ(testsupport::ReadFile(path), "second");
    std::string read;
    ASSERT_TRUE(engine::ReadPictureFile(path, read));
    EXPECT_EQ(read, "second");

    EXPECT_FALSE(engine::WritePictureFile((dir.path() / "missing" / "b.jpg").string(), "x"));
    fs::create_directory(dir.path() / "c.jpg");  // the name is taken by a folder: the rename fails
    EXPECT_FALSE(engine::WritePictureFile((dir.path() / "c.jpg").string(), "x"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u) << "no temporary file is left";
    EXPECT_FALSE(engine::ReadPictureFile((dir.path() / "none.jpg").string(), read));
}

}  // namespace
