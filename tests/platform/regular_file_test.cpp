#include "platform/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/not_a_picture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/watchdog.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What is no regular file of at most the cap is refused before a byte is read: a FIFO without
// a writer would block the open, a link to a device would be read without end.
TEST(ReadRegularFile, ReadsOnlyRegularFilesWithinTheCap) {
    const testsupport::Watchdog watchdog(20s);
    testsupport::TempDir temp;
    const fs::path dir = temp.path();
    testsupport::WriteFile(dir / "five.jpg", "12345");
    testsupport::WriteFile(dir / "empty.jpg", "");
    testsupport::MakeNotAPicture(dir / "fifo.jpg", testsupport::NotAPicture::Fifo);
    testsupport::MakeNotAPicture(dir / "zero.jpg", testsupport::NotAPicture::ZeroLink);
    testsupport::MakeNotAPicture(dir / "urandom.jpg", testsupport::NotAPicture::RandomLink);
    fs::create_symlink(dir / "five.jpg", dir / "link.jpg");
    fs::create_directory(dir / "folder.jpg");

    const struct {
        const char* name;
        std::size_t cap;
        bool read;
        const char* bytes;
    } cases[] = {
        {"five.jpg", 5, true, "12345"},   {"five.jpg", 4, false, ""},       {"link.jpg", 5, true, "12345"},
        {"empty.jpg", 5, true, ""},       {"fifo.jpg", 1 << 20, false, ""}, {"zero.jpg", 1 << 20, false, ""},
        {"urandom.jpg", 1 << 20, false, ""}, {"folder.jpg", 1 << 20, false, ""}, {"missing.jpg", 1 << 20, false, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(platform::ReadRegularFile((dir / c.name).string(), c.cap, bytes), c.read) << c.name << " " << c.cap;
        EXPECT_EQ(bytes, c.bytes) << c.name << " " << c.cap;
        struct stat st {};
        const int fd = platform::OpenRegularFile((dir / c.name).string(), c.cap, st);
        EXPECT_EQ(fd >= 0, c.read) << c.name;
        if (fd >= 0) ::close(fd);
    }
}

// A file larger than the first read's guess is still read whole, up to the cap.
TEST(ReadRegularFile, ReadsLongFilesWhole) {
    testsupport::TempDir temp;
    std::string bytes(300000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 13 + 1);
    testsupport::WriteFile(temp.path() / "long.jpg", bytes);
    std::string read;
    ASSERT_TRUE(platform::ReadRegularFile((temp.path() / "long.jpg").string(), bytes.size(), read));
    EXPECT_EQ(read, bytes);
}

}  // namespace
