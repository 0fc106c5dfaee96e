#pragma once
// The peak resident memory of this process (VmHWM), which can be reset so that each run of a
// benchmark reports its own peak.

#include <fstream>
#include <string>

namespace bench {

// Starts a new peak from the memory resident now; false where the kernel does not allow it.
inline bool ResetPeakMemory() {
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    return static_cast<bool>(refs.flush());
}

// VmHWM in megabytes; 0 when unknown.
inline double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

}  // namespace bench
