// The start-up's rule tables: the command line, ovl.ini, the data folder, the window size and
// the status gauges.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "ui/main/command_line.h"
#include "ui/main/data_folder.h"
#include "ui/main/ovl_ini.h"
#include "ui/main/status_gauges.h"
#include "ui/main/window_size.h"

namespace {

TEST(StartupCommandLine, OnlyTheFirstParameterCountsUpperCased) {
    struct Case {
        std::vector<std::string> parameters;
        bool debug, autoCap, autoCapMin;
    };
    const std::vector<Case> cases = {
        {{}, false, false, false},
        {{"-autocapmin"}, false, true, true},
        {{"-AUTOCAP"}, false, true, false},
        {{"-AUTOCAPX"}, false, true, false},
        {{"-AUTOCAPMINIMAL"}, false, true, true},
        {{"-AUTOCA"}, false, false, false},
        {{"-debugstart"}, true, false, false},
        {{"-DEBUGSTARTX"}, false, false, false},
        {{"x", "-AUTOCAP"}, false, false, false},
        {{"-DEBUGSTART", "-AUTOCAPMIN"}, true, false, false},
    };
    for (const Case& c : cases) {
        const ui::CommandLineFlags flags = ui::ReadCommandLine(c.parameters);
        const std::string first = c.parameters.empty() ? "(none)" : c.parameters.front();
        EXPECT_EQ(flags.DebugStart, c.debug) << first;
        EXPECT_EQ(flags.AutoCap, c.autoCap) << first;
        EXPECT_EQ(flags.AutoCapMin, c.autoCapMin) << first;
    }
}

TEST(StartupOvlIni, KeysAtTheLineStartReplaceValues) {
    struct Case {
        const char* name;
        std::string text;
        ui::OvlIni expected;
    };
    const std::string long300(300, 'a');
    const std::vector<Case> cases = {
        {"nothing", "", {}},
        {"all keys, CRLF", "affid=7\r\naffhomepage=http://h/\r\naffwcl=http://l/\r\nafftitle=Moi\r\naffbrowser=UA 1\r\n",
         {"7", "http://h/", "http://l/", "Moi", "UA 1"}},
        {"leading blank ignored", " afftitle=X\n", {}},
        {"case-sensitive key", "AFFTITLE=X\n", {}},
        {"empty title", "afftitle=\n", {}},
        {"later line wins", "afftitle=A\nafftitle=B\n", {"", "", "", "B", ""}},
        {"last line without line end", "affwcl=http://x", {"", "", "http://x", "", ""}},
        {"value cut at 255", "affid=" + long300 + "\n", {std::string(255, 'a'), "", "", "", ""}},
        {"control character in affbrowser refused", "affbrowser=UA\x01X\naffbrowser=A\tB\n", {}},
        {"refused line keeps the earlier value", "affbrowser=Good\naffbrowser=Bad\rX\n", {"", "", "", "", "Good"}},
        {"a lone CR inside another value stays", "afftitle=A\rB\n", {"", "", "", "A\rB", ""}},
    };
    for (const Case& c : cases) {
        ui::OvlIni ini;
        ui::ApplyOvlIniText(c.text, ini);
        EXPECT_EQ(ini.AffId, c.expected.AffId) << c.name;
        EXPECT_EQ(ini.AffHomePage, c.expected.AffHomePage) << c.name;
        EXPECT_EQ(ini.AffWebcamList, c.expected.AffWebcamList) << c.name;
        EXPECT_EQ(ini.AffTitle, c.expected.AffTitle) << c.name;
        EXPECT_EQ(ini.AffBrowser, c.expected.AffBrowser) << c.name;
    }
}

TEST(StartupOvlIni, MissingFileChangesNothing) {
    ui::OvlIni ini;
    ini.AffTitle = "kept";
    ui::ReadOvlIni("/nonexistent/ovl.ini", ini);
    EXPECT_EQ(ini.AffTitle, "kept");
}

// Settling changes the current directory: each case puts it back.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr); }
    void TearDown() override { ASSERT_EQ(chdir(cwd_), 0); }
    static std::string CurrentDir() {
        char buffer[PATH_MAX];
        return getcwd(buffer, sizeof buffer) ? std::string(buffer) + "/" : std::string();
    }
    testsupport::TempDir temp_;
    char cwd_[PATH_MAX];
};

TEST_F(DataFolderTest, StoredFolderElseProgramFolder) {
    const std::string program = temp_.folder() + "program/";
    const std::string data = temp_.folder() + "data";
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(data);
    struct Case {
        std::string stored, folder;
    };
    const std::vector<Case> cases = {
        {data, data + "/"},          // the trailing '/' is added
        {data + "/", data + "/"},
        {"", program},               // empty: the program folder
        {temp_.folder() + "missing/", program},
    };
    for (const Case& c : cases) {
        const ui::SettledDataFolder settled = ui::SettleDataFolder(c.stored, program);
        EXPECT_EQ(settled.folder, c.folder) << c.stored;
        EXPECT_TRUE(settled.refused.empty()) << c.stored;
        EXPECT_EQ(CurrentDir(), c.folder) << c.stored;
    }
}

TEST_F(DataFolderTest, PathLongerThanTheFieldIsRefusedNeverCut) {
    const std::string program = temp_.folder() + "program/";
    std::filesystem::create_directories(program);
    // A folder whose path with its '/' needs 256 characters.
    std::string deep = temp_.folder();
    while (deep.size() < 200) deep += "abcdefghij/";
    deep += std::string(255 - deep.size(), 'x');
    std::filesystem::create_directories(deep);
    ASSERT_EQ((deep + "/").size(), 256u);

    const ui::SettledDataFolder settled = ui::SettleDataFolder(deep, program);
    EXPECT_EQ(settled.refused, deep + "/");
    EXPECT_EQ(settled.folder, program);
    EXPECT_NE(ui::DataFolderTooLongText(settled.refused).find(settled.refused), std::string::npos);

    // One character less fits.
    const std::string fits = deep.substr(0, deep.size() - 1);
    std::filesystem::create_directories(fits);
    EXPECT_EQ(ui::SettleDataFolder(fits, program).folder, fits + "/");
}

TEST_F(DataFolderTest, NoUsableFolderLeavesItEmpty) {
    std::string longProgram = temp_.folder();
    while (longProgram.size() < 260) longProgram += "abcdefghij/";
    std::filesystem::create_directories(longProgram);
    const ui::SettledDataFolder tooLong = ui::SettleDataFolder("", longProgram);
    EXPECT_EQ(tooLong.folder, "");
    EXPECT_EQ(tooLong.refused, longProgram);

    const ui::SettledDataFolder missing = ui::SettleDataFolder("", temp_.folder() + "gone/");
    EXPECT_EQ(missing.folder, "");  // chdir failed
    EXPECT_TRUE(missing.refused.empty());
}

TEST(StartupWindowSize, ZeroOrLargerThanTheScreenBecomesTheScreen) {
    const QSize screen(1280, 1000);
    struct Case {
        QSize stored, expected;
    };
    const std::vector<Case> cases = {
        {{800, 600}, {800, 600}}, {{0, 0}, {1280, 1000}},    {{-5, 600}, {1280, 600}},
        {{4000, 600}, {1280, 600}}, {{800, 1001}, {800, 1000}}, {{1280, 1000}, {1280, 1000}},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::ClampWindowSize(c.stored, screen), c.expected) << c.stored.width();
}

TEST(StartupStatusGauges, SharesOfRunningWebcamsAndRealThreads) {
    struct Case {
        ui::StatusGaugeInput in;
        ui::StatusGaugeValues out;
    };
    const std::vector<Case> cases = {
        {{0, 3, 3, 2, 2, 8}, {0, 0, 0, 0}},      // nothing runs: all 0
        {{4, 1, 3, 2, 1, 8}, {25, 75, 25, 20}},  // 12.5 % of the threads shows as 20
        {{3, 1, 2, 0, 0, 4}, {33, 67, 0, 0}},
        {{8, 1, 0, 4, 1, 64}, {12, 0, 20, 20}},  // 12.5 rounds to even; 6.25 % → 20
        {{2, 0, 0, 3, 3, 0}, {0, 0, 0, 0}},      // no threads: no division by zero
        {{2, 1, 1, 4, 0, 4}, {50, 50, 100, 0}},
    };
    for (const Case& c : cases) {
        const ui::StatusGaugeValues v = ui::StatusGauges(c.in);
        EXPECT_EQ(v.queued, c.out.queued);
        EXPECT_EQ(v.waiting, c.out.waiting);
        EXPECT_EQ(v.picture, c.out.picture);
        EXPECT_EQ(v.header, c.out.header);
    }
}

}  // namespace
