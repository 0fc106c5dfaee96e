#pragma once
// A private temporary folder per test, with the settings store and the program folder
// pointed into it, so that no test reads or writes the user's own files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace testsupport {

class TempDir {
public:
    // Below base (the system's temporary folder when not given).
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing '/', the form the engine keeps folders in.
    std::string folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its folder; reads a whole file back.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& file);

// A fixture that gives every test its own data folder, settings store
// (XDG_CONFIG_HOME) and program folder (ORVELLO_PROGRAM_DIR), all below one TempDir.
class IsolatedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TempDir temp_;
    std::filesystem::path configDir() const { return temp_.path() / "config"; }
    std::filesystem::path programDir() const { return temp_.path() / "program"; }
    std::filesystem::path dataDir() const { return temp_.path() / "data"; }

private:
    std::string oldConfig_, oldProgram_;
    bool hadConfig_ = false, hadProgram_ = false;
};

}  // namespace testsupport
