#include "ui/controls/long_path.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

TEST(ExpandToLongPathName, EveryPosixPathStaysAsItIsAndIsNeverCut) {
    const std::string longPath = "/data/" + std::string(300, 'x') + "/webcams";
    for (const std::string& path : {std::string("/home/user/webcams/"), std::string("relative/folder"),
                                    std::string("//server/share"), std::string("/missing/folder"), longPath}) {
        std::string s = path;
        ui::ExpandToLongPathName(s, 255);
        EXPECT_EQ(s, path);
    }
}

TEST(GetLongComponentName, NamesAnExistingEntryAndRefusesAMissingOne) {
    testsupport::TempDir dir;
    testsupport::WriteFile(dir.path() / "Une Webcam.jpg", "x");
    std::string name;
    ui::GetLongComponentName(dir.folder() + "Une Webcam.jpg", name);
    EXPECT_EQ(name, "Une Webcam.jpg");
    ui::GetLongComponentName(dir.folder(), name);
    EXPECT_EQ(name, dir.path().filename().string());
    try {
        ui::GetLongComponentName(dir.folder() + "absent", name);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Error in findfirst");
    }
}

}  // namespace
