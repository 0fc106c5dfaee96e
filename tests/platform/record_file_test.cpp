#include "platform/record_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::RecordFile;

TEST(RecordFile, WritesAndReadsWholeRecordsAtTheirNumber) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "r.dat").string();
    RecordFile file(4);
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::CreateEmpty));
    ASSERT_TRUE(file.Write(0, "aaaa"));
    ASSERT_TRUE(file.Write(2, "cccc"));
    EXPECT_EQ(file.Count(), 3);
    char buffer[4];
    ASSERT_TRUE(file.Read(2, buffer));
    EXPECT_EQ(std::string(buffer, 4), "cccc");
    EXPECT_FALSE(file.Read(3, buffer));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(testsupport::ReadFile(path), std::string("aaaa\0\0\0\0cccc", 12));
}

TEST(RecordFile, PartialTrailingRecordIsNotCountedOrRead) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "r.dat").string();
    testsupport::WriteFile(path, "aaaabb");
    RecordFile file(4);
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::ReadOnly));
    EXPECT_EQ(file.Count(), 1);
    char buffer[4];
    EXPECT_FALSE(file.Read(1, buffer));
}

TEST(RecordFile, OpeningForReadWriteNeverCreatesOrTruncates) {
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "r.dat").string();
    RecordFile file(4);
    EXPECT_FALSE(file.Open(path, RecordFile::Mode::ReadWrite));
    EXPECT_FALSE(std::filesystem::exists(path));
    testsupport::WriteFile(path, "aaaabbbb");
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::ReadWrite));
    ASSERT_TRUE(file.Write(0, "xxxx"));
    file.Close();
    EXPECT_EQ(testsupport::ReadFile(path), "xxxxbbbb");
}

}  // namespace
