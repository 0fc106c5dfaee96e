#include "tests/desktop/x11_session.h"

#include <chrono>

#include "desktop/app_bar_x11_service.h"
#include "tests/support/window_manager.h"
#include "tests/support/temp_dir.h"

namespace desktoptest {

X11Session::X11Session(bool withWindowManager, const std::filesystem::path& logFolder) : logs_(logFolder) {
    if (xvfb_.display().empty()) return;
    if (withWindowManager) {
        windowManager_ = testsupport::StartOpenbox(display(), logs_ / "openbox.log");
        ready_ = windowManager_ > 0;
    } else {
        ready_ = desktop::AppBarX11Service(display()).Connected();
    }
}

X11Session::~X11Session() { testsupport::EndProgram(windowManager_); }

bool X11Session::RunChild(const std::string& childTest, const std::vector<std::string>& environment,
                          std::string& failureLog) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string log = (logs_ / "child.log").string();
    // Under the leak checker: the session bus library that Qt's X11 platform loads keeps a block
    // until the process ends; that one is not ours.
    const std::filesystem::path suppressions = logs_ / "lsan.supp";
    testsupport::WriteFile(suppressions, "leak:libdbus-1.so\n");
    std::vector<std::string> env{"DISPLAY=" + display(), "QT_QPA_PLATFORM=xcb",
                                 "LSAN_OPTIONS=suppressions=" + suppressions.string()};
    env.insert(env.end(), environment.begin(), environment.end());
    const pid_t child = testsupport::StartProgram(
        self, {"--gtest_also_run_disabled_tests", "--gtest_filter=" + childTest}, env, log);
    const std::optional<int> status = testsupport::WaitForChild(child, std::chrono::seconds(120));
    if (!status) testsupport::EndProgram(child);
    failureLog = testsupport::ReadFile(log);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0 &&
           failureLog.find("[  PASSED  ] 1 test") != std::string::npos;
}

}  // namespace desktoptest
