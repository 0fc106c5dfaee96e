#include "platform/fd_io.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace {

// A file is read whole whatever its length, also one whose size the system does not report.
TEST(ReadWholeFile, ReadsEveryByteOfAnyFile) {
    testsupport::TempDir temp;
    for (const std::size_t length : {0u, 1u, 210u, 4095u, 4096u, 4097u, 100000u}) {
        std::string bytes(length, '\0');
        for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 31 + 7);
        const auto path = temp.path() / ("f" + std::to_string(length));
        testsupport::WriteFile(path, bytes);
        std::string read = "left over";
        ASSERT_TRUE(platform::ReadWholeFile(path.string(), read)) << length;
        EXPECT_EQ(read, bytes) << length;
    }
    std::string status;
    ASSERT_TRUE(platform::ReadWholeFile("/proc/self/status", status));  // reported as 0 bytes long
    EXPECT_NE(status.find("VmRSS"), std::string::npos);

    std::string none = "left over";
    EXPECT_FALSE(platform::ReadWholeFile((temp.path() / "missing").string(), none));
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(platform::ReadWholeFile(temp.path().string(), none)) << "a folder";
}

}  // namespace
