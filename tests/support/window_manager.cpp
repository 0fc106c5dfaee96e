#include "tests/support/window_manager.h"

#include <chrono>

#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/xvfb_display.h"

namespace testsupport {
namespace {

// EWMH: a running window manager names its check window on the root window.
bool WindowManagerAnnounced(const std::string& display) {
    const ProgramResult root = RunProgram({"env", "DISPLAY=" + display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"});
    return root.out.find("window id") != std::string::npos;
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
