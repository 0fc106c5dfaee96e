#include "platform/lock_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using platform::LockFile;

class LockFileTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }
    testsupport::TempDir dir_;
};

// As a named semaphore: it exists while any holder is alive, and a holder that found it there
// holds it too, so it outlives the one that made it.
TEST_F(LockFileTest, ExistsWhileAnyHolderIsAlive) {
    LockFile first("OVL"), second("OVL"), third("OVL"), other("OVLSaver");
    EXPECT_EQ(first.Acquire(), LockFile::Result::Created);
    EXPECT_EQ(second.Acquire(), LockFile::Result::AlreadyExists);
    EXPECT_TRUE(second.held());
    EXPECT_EQ(second.Acquire(), LockFile::Result::AlreadyExists);  // held: the first answer again
    EXPECT_EQ(other.Acquire(), LockFile::Result::Created);
    first.Release();
    EXPECT_EQ(third.Acquire(), LockFile::Result::AlreadyExists);  // second still holds it
    second.Release();
    third.Release();
    EXPECT_EQ(first.Acquire(), LockFile::Result::Created);
    EXPECT_EQ(LockFile::PathFor("OVL"), dir_.path().string() + "/OVL.lock");
}

TEST_F(LockFileTest, KilledHolderReleasesTheLock) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        LockFile held("OVL");
        const char ok = held.Acquire() == LockFile::Result::Created ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    EXPECT_EQ(LockFile("OVL").Acquire(), LockFile::Result::AlreadyExists);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(LockFile("OVL").Acquire(), LockFile::Result::Created);
    close(ready[0]);
    close(ready[1]);
}

TEST_F(LockFileTest, UnreachableFolderFails) {
    setenv("XDG_RUNTIME_DIR", (dir_.path() / "missing").c_str(), 1);
    LockFile lock("OVL");
    EXPECT_EQ(lock.Acquire(), LockFile::Result::Failed);
    EXPECT_FALSE(lock.held());
}

// A lock that cannot be taken fails, saying why, and is not taken for a free one; what is at
// the path is left as it is.
TEST_F(LockFileTest, LockThatCannotBeTakenFails) {
    const std::filesystem::path lock = dir_.path() / "OVL.lock";
    const std::filesystem::path target = dir_.path() / "elsewhere";
    int gateHolder = -1;
    struct Case {
        const char* name;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"a folder", [&] { std::filesystem::create_directory(lock); }},
        {"a symbolic link", [&] { std::filesystem::create_symlink(target, lock); }},
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0); }},
        // As a holder stopped between its two calls under the gate.
        {"a gate held for good",
         [&] {
             gateHolder = open((dir_.path() / "OVL.gate.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
             ASSERT_EQ(flock(gateHolder, LOCK_EX), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        LockFile probe("OVL"), taken("OVL");
        EXPECT_EQ(probe.Probe(), LockFile::Result::Failed);
        EXPECT_FALSE(probe.failure().empty());
        EXPECT_EQ(taken.Acquire(), LockFile::Result::Failed);
        EXPECT_FALSE(taken.held());
        EXPECT_FALSE(std::filesystem::exists(target));
        if (gateHolder >= 0) close(gateHolder);
        gateHolder = -1;
        std::filesystem::remove(lock);
    }
}

// Only a file of the folder's owner is a lock: one another user left there is not taken.
TEST_F(LockFileTest, LockFileOfAnotherUserFails) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    const std::filesystem::path lock = dir_.path() / "OVL.lock";
    std::ofstream(lock).put('x');
    ASSERT_EQ(chown(lock.c_str(), 65534, 65534), 0);
    LockFile taken("OVL");
    EXPECT_EQ(taken.Acquire(), LockFile::Result::Failed);
}

// A probe sees another holder without becoming one.
TEST_F(LockFileTest, ProbeTakesNoHold) {
    LockFile probe("OVL"), holder("OVL");
    EXPECT_EQ(probe.Probe(), LockFile::Result::Created);
    EXPECT_FALSE(probe.held());
    EXPECT_EQ(holder.Acquire(), LockFile::Result::Created);  // the probe left nothing behind
    EXPECT_EQ(probe.Probe(), LockFile::Result::AlreadyExists);
    holder.Release();
    EXPECT_EQ(probe.Probe(), LockFile::Result::Created);
}

// Without XDG_RUNTIME_DIR the locks go to a folder of the user's own in the temporary folder,
// closed to others; one somebody else could reach is refused.
TEST_F(LockFileTest, FallbackFolderIsPrivate) {
    unsetenv("XDG_RUNTIME_DIR");
    const char* oldTmp = std::getenv("TMPDIR");
    const bool hadTmp = oldTmp != nullptr;
    const std::string kept = hadTmp ? oldTmp : "";
    setenv("TMPDIR", dir_.path().c_str(), 1);
    const std::filesystem::path folder = dir_.path() / ("orvello-" + std::to_string(geteuid()));
    {
        LockFile lock("OVL");
        EXPECT_EQ(lock.Acquire(), LockFile::Result::Created);
        EXPECT_EQ(LockFile::PathFor("OVL"), (folder / "OVL.lock").string());
        struct stat st {};
        ASSERT_EQ(lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(LockFile("OVL").Acquire(), LockFile::Result::Failed);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(dir_.path() / "shared");
    std::filesystem::create_directory_symlink(dir_.path() / "shared", folder);
    LockFile linked("OVL");
    EXPECT_EQ(linked.Acquire(), LockFile::Result::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "shared" / "OVL.lock"));
    if (hadTmp) setenv("TMPDIR", kept.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace
