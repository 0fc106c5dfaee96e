#pragma once
// The viewer's picture enhancement: a per-channel histogram stretch with a movable mid point.

#include "engine/bitmap.h"

#include <array>
#include <cstdint>

namespace engine {

using ChannelHistogram = std::array<std::int64_t, 256>;

struct StretchLevels {
    int low = 0;   // 1..256: levels below map to 0
    int high = 0;  // -1..254: levels above map to 255
    int mid = 0;   // maps to 128
};

// Percent (0..100) clips Width x Height x Percent / 2500 pixels at each end of the histogram;
// Mix (0..20) moves the mid point from the centre of the range (0) to the median (20).
StretchLevels FindStretchLevels(const ChannelHistogram& histogram, std::int64_t clip, int mix);

// The output level of v.
std::uint8_t MapStretchLevel(const StretchLevels& levels, int v);

// Stretches every channel of a 24-bit or 8-bit bitmap in place. Nothing happens when Percent is
// outside 0..100. Raises as tfastbm does for a bitmap of more than 1800 rows.
void HistogramStretch(Bitmap& bitmap, int percent, int mix);

}  // namespace engine
