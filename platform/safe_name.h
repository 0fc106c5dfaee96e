#pragma once
// A webcam's name becomes the name of its folder below the data folder. This is the one check
// that a name is safe for that: not empty, not "." or "..", and without '/', '\' or control
// characters, so that no path built from it can leave the data folder. Names are checked as the
// records hold them, in Windows-1252; the five bytes that code leaves undefined are refused too,
// as they would become control characters in the file name.

#include <string>
#include <string_view>

namespace platform {

bool IsSafeFolderName(std::string_view name);

// The webcam's folder: folder + the name in UTF-8 + '/', or "" when the name is not safe.
// folder must end in '/'. Every path built from a webcam name goes through here.
std::string SafeSubfolder(const std::string& folder, std::string_view name);

}  // namespace platform
