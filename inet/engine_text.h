#pragma once
// Text helpers of the protocol engines: comparisons that ignore the case of the ASCII
// letters only (as protocol words need), decimal numbers with padding, and Base64.

#include <cstdint>
#include <string>
#include <string_view>

namespace inet {

// -1, 0 or 1 by unsigned bytes, with A-Z taken as a-z.
int CompareTextNoCase(std::string_view a, std::string_view b);
// The same over at most n chars of each.
int CompareTextNoCase(std::string_view a, std::string_view b, std::size_t n);
// The decimal digits of value, left-padded with pad to width.
std::string UnsignedToText(std::uint32_t value, std::size_t width = 0, char pad = ' ');
// Standard alphabet, "=" padding, no line breaks.
std::string Base64(std::string_view bytes);

}  // namespace inet
