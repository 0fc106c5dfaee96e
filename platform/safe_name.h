#pragma once
// A webcam's name becomes the name of its folder below the data folder. This is the one check
// that a name is safe for that: not empty, not "." or "..", and without '/', '\' or control
// characters, so that no path built from it can leave the data folder.

#include <string>
#include <string_view>

namespace platform {

bool IsSafeFolderName(std::string_view name);

// folder + name + '/', or "" when the name is not safe. folder must end in '/'.
std::string SafeSubfolder(const std::string& folder, std::string_view name);

}  // namespace platform
