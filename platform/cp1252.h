#pragma once
// Record strings are single-byte Windows-1252 text kept byte for byte; the user interface and
// file names are UTF-8. These two functions are the one place where the two meet.

#include <string>
#include <string_view>

namespace platform {

// Total: every byte has a character. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same number, so the conversion back
// gives the same bytes.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters Windows-1252 cannot hold, and bytes that are not valid UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace platform
