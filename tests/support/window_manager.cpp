#include "tests/support/window_manager.h"

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/xvfb_display.h"

namespace testsupport {
namespace {

std::string Property(const std::string& display, const std::string& window, const std::string& name) {
    std::vector<std::string> argv{"env", "DISPLAY=" + display, "xprop"};
    if (window.empty()) argv.push_back("-root");
    else argv.insert(argv.end(), {"-id", window});
    argv.push_back(name);
    return RunProgram(argv).out;
}

// The window id at the end of xprop's "NAME(WINDOW): window id # 0x..." line, or "".
std::string WindowIdIn(const std::string& line) {
    const std::size_t at = line.find("window id # ");
    if (at == std::string::npos) return {};
    std::string id = line.substr(at + 12);
    id.erase(id.find_last_not_of(" \n") + 1);
    return id;
}

// EWMH: a running window manager names its check window on the root window, the check window
// names itself, and the work area is published (what the desktop bar reads first).
bool WindowManagerAnnounced(const std::string& display) {
    const std::string check = WindowIdIn(Property(display, "", "_NET_SUPPORTING_WM_CHECK"));
    return !check.empty() && WindowIdIn(Property(display, check, "_NET_SUPPORTING_WM_CHECK")) == check &&
           Property(display, "", "_NET_WORKAREA").find(" = ") != std::string::npos;
}

}  // namespace

pid_t StartOpenbox(const std::string& display, const std::filesystem::path& logFile) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const pid_t openbox =
            StartProgram(FindProgram("openbox"), {"--sm-disable"}, {"DISPLAY=" + display}, logFile.string());
        if (openbox <= 0) continue;
        bool exited = false;
        const bool ready = WaitFor(
            [&] {
                if (WindowManagerAnnounced(display)) return true;
                exited = WaitForChild(openbox, std::chrono::milliseconds(0)).has_value();
                return exited;
            },
            std::chrono::seconds(20));
        if (ready && !exited) return openbox;
        if (!exited) EndProgram(openbox);
    }
    return -1;
}

}  // namespace testsupport
