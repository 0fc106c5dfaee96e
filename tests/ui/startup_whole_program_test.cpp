// The program ovl as a whole on a private Xvfb display: it starts with a data folder of four
// webcams, shows its main window, loads and starts the webcams (-AUTOCAP), and a close (the
// session's SIGTERM) shuts it down cleanly, writing the five settings records.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/regconfig.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/xvfb_display.h"

namespace {

using namespace std::chrono_literals;

// ovl is built at the top of the build folder; the test program sits in its tests/ folder.
std::filesystem::path OvlProgram() {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    self[n] = '\0';
    return std::filesystem::path(self).parent_path().parent_path() / "ovl";
}

bool WindowShown(const std::string& display) {
    const std::string command = "xprop -display " + display + " -name Orvello WM_NAME >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class StartupWholeProgram : public testsupport::IsolatedTest {};

TEST_F(StartupWholeProgram, StartsShowsTheWindowLoadsAndClosesCleanly) {
    ORVELLO_NEED_PEER("Xvfb");
    ORVELLO_NEED_PEER("xprop");
    const std::filesystem::path ovl = OvlProgram();
    ASSERT_TRUE(std::filesystem::exists(ovl)) << ovl;
    const std::filesystem::path runtime = temp_.path() / "run";
    for (const auto& folder : {programDir(), dataDir(), runtime}) std::filesystem::create_directories(folder);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    testsupport::WriteWebcamDefs(dataDir().string() + "/", {"http://127.0.0.1:9/cam0.jpg", "http://127.0.0.1:9/cam1.jpg",
                                                             "http://127.0.0.1:9/cam2.jpg", "http://127.0.0.1:9/cam3.jpg"});
    {
        engine::tregconfig store;  // the data folder as the user chose it
        engine::TExtraRec extra{};
        store.ReadExtra(extra);
        extra.DataDir.assign(dataDir().string() + "/");
        store.WriteExtra(extra);
    }

    testsupport::XvfbDisplay xvfb;
    ASSERT_FALSE(xvfb.display().empty()) << "Xvfb did not start";
    const std::string log = (temp_.path() / "ovl.log").string();
    // Under the leak checker: the session bus library that Qt's X11 platform loads keeps a block
    // until the process ends; that one is not ours.
    const std::filesystem::path suppressions = temp_.path() / "lsan.supp";
    testsupport::WriteFile(suppressions, "leak:libdbus-1.so\n");
    const pid_t pid = testsupport::StartProgram(
        ovl.string(), {"-AUTOCAP"},
        {"DISPLAY=" + xvfb.display(), "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + runtime.string(),
         "LSAN_OPTIONS=suppressions=" + suppressions.string()},
        log);
    ASSERT_GT(pid, 0);
    const bool shown = testsupport::WaitFor([&] { return WindowShown(xvfb.display()); }, 20s);
    // The deferred load makes each webcam's folder.
    const bool loaded = testsupport::WaitFor(
        [&] {
            for (int i = 1; i <= 4; ++i)
                if (!std::filesystem::is_directory(dataDir() / ("Cam" + std::to_string(i)))) return false;
            return true;
        },
        20s);
    kill(pid, SIGTERM);
    const std::optional<int> status = testsupport::WaitForChild(pid, 20s);
    if (!status) testsupport::EndProgram(pid);
    EXPECT_TRUE(shown) << testsupport::ReadFile(log);
    EXPECT_TRUE(loaded) << testsupport::ReadFile(log);
    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << testsupport::ReadFile(log);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << testsupport::ReadFile(log);

    const std::filesystem::path records = configDir() / "Quenmark" / "Orvello2";
    const std::pair<const char*, std::uintmax_t> sizes[] = {
        {"CONFIG.bin", 600}, {"EXTRA.bin", 264}, {"EXTRA1.bin", 1560}, {"EXTRA2.bin", 1340}, {"DISKMAN.bin", 328}};
    for (const auto& [name, size] : sizes) {
        ASSERT_TRUE(std::filesystem::exists(records / name)) << name;
        EXPECT_EQ(std::filesystem::file_size(records / name), size) << name;
    }
}

}  // namespace
