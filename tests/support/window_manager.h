#pragma once
// A window manager (openbox) on a test's private X display, for checks that need one: placed
// windows, dock struts, exact captions.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace testsupport {

// Starts openbox on display (":N") and waits until it announces itself on the root window;
// its process id, or -1 when it did not come up. On a loaded machine openbox has been seen to
// fail to open a display that had just come up: it is then started again, three times at most.
pid_t StartOpenbox(const std::string& display, const std::filesystem::path& logFile);

}  // namespace testsupport
