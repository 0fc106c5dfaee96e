#include "engine/settings_limits.h"

#include "engine/regconfig.h"

namespace engine {
namespace {

std::int32_t Within(std::int32_t value, int least, int largest, std::int32_t fallback) {
    return value >= least && value <= largest ? value : fallback;
}

}  // namespace

ThumbnailSize SaneThumbnailSize(std::int32_t width, std::int32_t height) {
    return {Within(width, kLeastThumbSide, kLargestThumbWidth, kDefaultThumbWidth),
            Within(height, kLeastThumbSide, kLargestThumbHeight, kDefaultThumbHeight)};
}

ThumbnailSize DrawableThumbnailSize(std::int32_t width, std::int32_t height) {
    return {Within(width, 1, kLargestThumbWidth, kDefaultThumbWidth),
            Within(height, 1, kLargestThumbHeight, kDefaultThumbHeight)};
}

void SaneConfig(TConfigRec& rec) {
    const TConfigRec defaults = DefaultConfig();
    rec.LeftPanelWidth = Within(rec.LeftPanelWidth, 0, kLargestPanelWidth, defaults.LeftPanelWidth);
    rec.SlowScanRefresh =
        Within(rec.SlowScanRefresh, kLeastSlowScanMinutes, kLargestSlowScanMinutes, defaults.SlowScanRefresh);
    rec.SlowScanIdle = Within(rec.SlowScanIdle, kLeastSlowScanMinutes, kLargestSlowScanMinutes, defaults.SlowScanIdle);
}

void SaneExtra2(TExtra2Rec& rec) {
    const ThumbnailSize size = SaneThumbnailSize(rec.ThumbWidth, rec.ThumbHeight);
    rec.ThumbWidth = size.width;
    rec.ThumbHeight = size.height;
}

}  // namespace engine
