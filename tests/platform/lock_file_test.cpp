#include "platform/lock_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

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

}  // namespace
