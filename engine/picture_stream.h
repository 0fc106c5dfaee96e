#pragma once
// Stream pictures that are either a bare JPEG (found by its FF D8 FF DB start) or a raw 80 x 60
// YCbCr frame in the last 9600 bytes (60 rows of 40 groups Y0, Y1, Cb, Cr, two pixels each).

#include "engine/bitmap.h"
#include "engine/bitmap_color.h"

#include <cstdint>
#include <string_view>

namespace engine {

inline constexpr int kRawFrameWidth = 80;
inline constexpr int kRawFrameHeight = 60;
inline constexpr std::size_t kRawFrameBytes = 9600;

// Integer conversion, divisions truncating toward zero, each channel clamped to 0..255.
TColor YCbCrToRGB(std::uint8_t y, std::uint8_t cb, std::uint8_t cr);

// Draws the picture stretched over the whole target. A JPEG that does not decode leaves the
// target as it is; data of at most 9600 bytes without the JPEG start draws nothing.
void LoadStreamPicture(std::string_view data, Bitmap& target);

}  // namespace engine
