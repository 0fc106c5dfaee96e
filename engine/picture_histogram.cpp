#include "engine/picture_histogram.h"

#include "engine/fast_bitmap.h"

#include <algorithm>
#include <cmath>

namespace engine {

StretchLevels FindStretchLevels(const ChannelHistogram& histogram, std::int64_t clip, int mix) {
    StretchLevels levels;
    // Level 0 never counts towards the low end, level 255 never towards the high end.
    levels.low = 256;
    std::int64_t sum = 0;
    for (int level = 1; level <= 255; ++level) {
        sum += histogram[level];
        if (sum > clip) {
            levels.low = level + 1;
            break;
        }
    }
    levels.high = -1;
    sum = 0;
    for (int level = 254; level >= 0; --level) {
        sum += histogram[level];
        if (sum > clip) {
            levels.high = level - 1;
            break;
        }
    }
    std::int64_t total = 0;
    for (int level = levels.low; level <= levels.high; ++level)
        total += histogram[level];
    int median = levels.low;
    sum = 0;
    while (sum <= total / 2 && median <= levels.high)
        sum += histogram[median++];
    levels.mid = (mix * median + (20 - mix) * ((levels.low + levels.high) / 2)) / 20;
    return levels;
}

std::uint8_t MapStretchLevel(const StretchLevels& levels, int v) {
    if (v < levels.low)
        return 0;
    if (v > levels.high)
        return 255;
    if (v <= levels.mid) {
        if (levels.mid <= levels.low)
            return 0;
        const double scale = 128.0 / (levels.mid - levels.low);
        return static_cast<std::uint8_t>(std::min(128.0, std::nearbyint((v - levels.low) * scale)));
    }
    // v > mid and v <= high, so high > mid here.
    const double scale = 128.0 / (levels.high - levels.mid);
    return static_cast<std::uint8_t>(std::min(255.0, std::nearbyint((v - levels.mid) * scale) + 127));
}

void HistogramStretch(Bitmap& bitmap, int percent, int mix) {
    if (percent < 0 || percent > 100)
        return;
    tfastbm fast;
    fast.Attach(&bitmap);
    const int w = bitmap.width();
    const int h = bitmap.height();
    std::array<ChannelHistogram, 3> histograms{};  // red, green, blue
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = fast.GetPixel(x, y);
            ++histograms[0][RedOf(c)];
            ++histograms[1][GreenOf(c)];
            ++histograms[2][BlueOf(c)];
        }
    const std::int64_t clip = static_cast<std::int64_t>(w) * h * percent / 2500;
    std::array<std::array<std::uint8_t, 256>, 3> maps{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const StretchLevels levels = FindStretchLevels(histograms[channel], clip, mix);
        for (int v = 0; v < 256; ++v)
            maps[channel][static_cast<std::size_t>(v)] = MapStretchLevel(levels, v);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = fast.GetPixel(x, y);
            fast.SetPixel(x, y, RGB(maps[0][RedOf(c)], maps[1][GreenOf(c)], maps[2][BlueOf(c)]));
        }
}

}  // namespace engine
