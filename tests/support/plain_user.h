#pragma once
// Peers that refuse to run as root (xscreensaver runs its hacks only as a plain user). When the
// tests run as root, such a peer runs as "nobody", and what it must run and read is handed to
// that user: the build folder may sit where nobody else can reach it (a clone in /root, mode
// 700). Run as anyone else, the peer runs as that user and nothing is copied or handed over.

#include "tests/support/temp_dir.h"

#include <sys/types.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class PlainUser {
public:
    PlainUser();

    // Whether peers run as another user than the test.
    bool Changes() const { return changes_; }
    uid_t Uid() const { return uid_; }
    gid_t Gid() const { return gid_; }
    // A path by which the user can run program: a copy in a folder of its own when the user
    // changes, the program itself otherwise. Empty when the copy failed or the user cannot
    // run it (the reason in the test's failures).
    std::string Runnable(const std::filesystem::path& program);
    // Gives folder and everything below it to the user, and checks that the user can write
    // into it (no folder above it is closed to the user). Files made later belong to the test.
    ::testing::AssertionResult HandOver(const std::filesystem::path& folder) const;
    // StartProgram, run as the user.
    pid_t Start(const std::string& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment, const std::string& logFile) const;

private:
    // argv run as the user.
    std::vector<std::string> Command(std::vector<std::string> argv) const;
    ::testing::AssertionResult Passes(const char* check, const std::filesystem::path& path) const;

    bool changes_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    std::optional<TempDir> programs_;  // the user's copies of programs, made on first use
};

}  // namespace testsupport
