#include "platform/safe_name.h"

#include <gtest/gtest.h>

namespace {

TEST(SafeFolderName, Table) {
    struct Case {
        std::string name;
        bool safe;
    } cases[] = {
        {"Cam001", true},          {"Tour Eiffel", true}, {"caf\xE9", true}, {"..x", true},
        {"", false},               {".", false},          {"..", false},     {"a/b", false},
        {"a\\b", false},           {"../etc", false},     {"x\ty", false},   {std::string("a\0b", 3), false},
        {"end\x7F", false},        {"/", false},          {"x\x81", false},  {"\x80uro", true},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::IsSafeFolderName(c.name), c.safe) << c.name;
}

TEST(SafeFolderName, SubfolderIsBuiltOnlyForSafeNames) {
    EXPECT_EQ(platform::SafeSubfolder("/data/", "Cam001"), "/data/Cam001/");
    EXPECT_EQ(platform::SafeSubfolder("/data/", ".."), "");
    EXPECT_EQ(platform::SafeSubfolder("/data/", "Caf\xE9"), "/data/Caf\u00e9/");  // UTF-8 on disk
}

}  // namespace
