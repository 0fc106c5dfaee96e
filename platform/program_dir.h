#pragma once
// The program folder: where the logs, ovl.ini and splash.jpg live, and the default data folder.

#include <string>

namespace platform {

// The folder of the running executable, or $ORVELLO_PROGRAM_DIR when set (tests, read-only
// installs); always with a trailing '/'.
std::string ProgramFolder();

// folder with a trailing '/' added when it has none (an empty folder stays empty).
std::string WithTrailingSlash(std::string folder);

}  // namespace platform
