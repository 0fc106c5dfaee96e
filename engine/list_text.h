#pragma once
// Text helpers of the webcam-list readers: whole-file reading and line splitting.

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The whole file as bytes. Throws std::system_error naming the file when it cannot be read.
std::string ReadListFile(const std::string& fileName);

// Lines without their line ends, which may be CRLF or LF. A last line without a line end
// counts; text ending in a line end has no empty line after it.
std::vector<std::string_view> SplitListLines(std::string_view text);

// ASCII-only case changes: URLs and keys are compared this way whatever the locale.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);

}  // namespace engine
