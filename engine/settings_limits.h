#pragma once
// The ranges of the stored settings numbers that size something: the thumbnails (each webcam's
// bitmap and the grid's cells), the window's left panel and the slow scan's timers. The readers
// keep the records as stored; the main window takes its working copies through SaneConfig and
// SaneExtra2, which replace each number outside its range by its default, field by field, so
// that no stored value asks for an allocation, a loop or a geometry the program cannot make.

#include "engine/settings_records.h"

#include <cstdint>

namespace engine {

inline constexpr int kDefaultThumbWidth = 86;
inline constexpr int kDefaultThumbHeight = 80;
// A thumbnail side below this is the default (as the window always did), one above the largest
// too: the size dialog offers at most 320 x 240.
inline constexpr int kLeastThumbSide = 20;
inline constexpr int kLargestThumbWidth = 640;
inline constexpr int kLargestThumbHeight = 480;
// Wider than any screen the window opens on.
inline constexpr int kLargestPanelWidth = 16384;
// The slow scan's minutes, as the preferences dialog allows them.
inline constexpr int kLeastSlowScanMinutes = 1;
inline constexpr int kLargestSlowScanMinutes = 1440;

struct ThumbnailSize {
    int width = kDefaultThumbWidth;
    int height = kDefaultThumbHeight;
};

// Each side within its range, else its default.
ThumbnailSize SaneThumbnailSize(std::int32_t width, std::int32_t height);
// The manager's own guard on the size it is given: any side from 1 pixel up to the largest is
// kept, any other is its default.
ThumbnailSize DrawableThumbnailSize(std::int32_t width, std::int32_t height);

// LeftPanelWidth, SlowScanRefresh and SlowScanIdle within their ranges, else their defaults.
void SaneConfig(TConfigRec& rec);
// ThumbWidth and ThumbHeight as SaneThumbnailSize makes them.
void SaneExtra2(TExtra2Rec& rec);

}  // namespace engine
