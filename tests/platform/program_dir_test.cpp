#include "platform/program_dir.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ProgramFolder, OverrideGetsATrailingSlash) {
    const char* old = std::getenv("ORVELLO_PROGRAM_DIR");
    const std::string saved = old ? old : "";
    setenv("ORVELLO_PROGRAM_DIR", "/opt/orvello", 1);
    EXPECT_EQ(platform::ProgramFolder(), "/opt/orvello/");
    unsetenv("ORVELLO_PROGRAM_DIR");
    // Without the override it is the test program's own folder.
    const std::string own = platform::ProgramFolder();
    EXPECT_EQ(own.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(own + "test_platform"));
    if (old) setenv("ORVELLO_PROGRAM_DIR", saved.c_str(), 1);
}

TEST(ProgramFolder, TrailingSlashRule) {
    EXPECT_EQ(platform::WithTrailingSlash("a"), "a/");
    EXPECT_EQ(platform::WithTrailingSlash("a/"), "a/");
    EXPECT_EQ(platform::WithTrailingSlash(""), "");
}

}  // namespace
