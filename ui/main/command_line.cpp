#include "ui/main/command_line.h"

#include <algorithm>
#include <cctype>

namespace ui {

CommandLineFlags ReadCommandLine(const std::vector<std::string>& parameters) {
    CommandLineFlags flags;
    if (parameters.empty()) return flags;
    std::string first = parameters.front();
    std::transform(first.begin(), first.end(), first.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    flags.DebugStart = first == "-DEBUGSTART";
    flags.AutoCap = first.starts_with("-AUTOCAP");
    flags.AutoCapMin = first.starts_with("-AUTOCAPMIN");
    return flags;
}

}  // namespace ui
