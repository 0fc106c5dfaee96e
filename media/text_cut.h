#pragma once
// Cutting a UTF-8 text to a number of bytes without splitting a character, for the fixed-size
// text fields of stored headers and reports.

#include <cstddef>
#include <string>
#include <string_view>

namespace media {

// The longest start of Text that fits in MaxBytes and ends on a character boundary.
std::string CutText(std::string_view text, std::size_t max_bytes);

}  // namespace media
