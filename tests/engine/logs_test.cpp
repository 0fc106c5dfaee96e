#include "engine/folder_files.h"
#include "engine/logs.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class Logs : public testsupport::IsolatedTest {};

TEST_F(Logs, ErrorLogAppendsEntriesOnlyWhileEnabled) {
    engine::terrorlog log;
    EXPECT_EQ(log.FFileName, programDir().string() + "/errors.txt");
    log.Add({"off"});
    EXPECT_FALSE(fs::exists(log.FFileName));

    log.FEnabled = true;
    log.Add({"first - Cam > Error fetching picture: 151: 404 Not Found", "URL was http://x", " "});
    log.Add({"second"});
    EXPECT_EQ(testsupport::ReadFile(log.FFileName),
              "first - Cam > Error fetching picture: 151: 404 Not Found\nURL was http://x\n \nsecond\n");
}

TEST_F(Logs, UnwritableErrorLogLosesTheEntrySilently) {
    engine::terrorlog log;
    log.FEnabled = true;
    fs::create_directories(log.FFileName);  // a folder where the file should be
    EXPECT_NO_THROW(log.Add({"lost"}));
    log.FFileName.clear();
    EXPECT_NO_THROW(log.Add({"lost"}));
}

TEST_F(Logs, DebugLogSaveReplacesTheFileAndClearsItsLines) {
    engine::tdebuglog log;
    EXPECT_FALSE(log.FEnabled);
    log.FFileName = (programDir() / "debug.txt").string();
    testsupport::WriteFile(log.FFileName, "old content\n");
    log.Save();
    EXPECT_EQ(testsupport::ReadFile(log.FFileName), "");
    log.FLines = {"a", "b"};
    log.Save();
    EXPECT_EQ(testsupport::ReadFile(log.FFileName), "a\nb\n");
    EXPECT_TRUE(log.FLines.empty());
}

TEST_F(Logs, DeleteFilesInFolderMatchesTheMaskOnly) {
    const fs::path cam = dataDir() / "Cam001";
    for (const char* name : {"a20240101120000.jpg", "B.JPG", "header.txt", "header.new", "addhead.txt", "notes.jpg.txt"})
        testsupport::WriteFile(cam / name, "x");
    fs::create_directories(cam / "sub.jpg");
    engine::DeleteFilesInFolder(cam.string() + "/", "*.jpg");
    engine::DeleteFilesInFolder(cam.string() + "/", "header.*");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(cam)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"addhead.txt", "notes.jpg.txt", "sub.jpg"}));
    EXPECT_NO_THROW(engine::DeleteFilesInFolder((dataDir() / "missing/").string(), "*.jpg"));
}

}  // namespace
