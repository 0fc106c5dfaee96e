#pragma once
// The command line of ovl: only the first parameter counts, compared upper-cased.
// "-DEBUGSTART" traces the start-up steps; any parameter beginning "-AUTOCAP" starts every
// webcam once they are loaded; "-AUTOCAPMIN" also hides the window to the tray.

#include <string>
#include <vector>

namespace ui {

struct CommandLineFlags {
    bool DebugStart = false;
    bool AutoCap = false;
    bool AutoCapMin = false;
};

// Parameters as given, without the program name.
CommandLineFlags ReadCommandLine(const std::vector<std::string>& parameters);

}  // namespace ui
