#pragma once
// TAppBarSettings: the desktop bar's settings, held by the bar and stored byte for byte as the
// 84-byte binary value "DOROZADATA" (little-endian, padding zero) of the quick bar's key.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "desktop/app_bar_types.h"

namespace desktop {

inline constexpr const char* kQuickBarKey = "Software\\Quenmark\\Orvello2\\QuickBar";
inline constexpr const char* kAppBarValue = "DOROZADATA";

struct TAppBarSettings {
    std::int32_t Size = 84;
    std::uint8_t Edge = abeFloat;
    std::uint8_t Flags = kAllAppBarFlags;
    std::uint8_t AutoHide = 0;
    std::uint8_t AlwaysOnTop = 1;
    std::uint8_t SlideEffect = 1;
    std::uint8_t Pad1[3] = {};
    std::int32_t SlideTime = 400;
    std::int32_t HorzSizeInc = 1;
    std::int32_t VertSizeInc = 1;
    std::int32_t VertDockSize = 72;
    std::int32_t HorzDockSize = 72;
    std::int32_t FloatLeft = 0, FloatTop = 0, FloatRight = 0, FloatBottom = 0;
    std::int32_t MinWidth = 0, MinHeight = 0;
    std::int32_t MaxWidth = 0, MaxHeight = 0;
    std::int32_t MinVertDockSize = 0, MinHorzDockSize = 0;
    std::int32_t MaxVertDockSize = 0, MaxHorzDockSize = 0;
    std::uint8_t TaskEntry = abtFloatDependent;
    std::uint8_t Pad2[3] = {};

    AppBarRect FloatRect() const { return {FloatLeft, FloatTop, FloatRight, FloatBottom}; }
    void SetFloatRect(const AppBarRect& r) {
        FloatLeft = r.left;
        FloatTop = r.top;
        FloatRight = r.right;
        FloatBottom = r.bottom;
    }
};
static_assert(sizeof(TAppBarSettings) == 84);
static_assert(offsetof(TAppBarSettings, SlideTime) == 12);
static_assert(offsetof(TAppBarSettings, FloatLeft) == 32);
static_assert(offsetof(TAppBarSettings, MinWidth) == 48);
static_assert(offsetof(TAppBarSettings, MaxVertDockSize) == 72);
static_assert(offsetof(TAppBarSettings, TaskEntry) == 80);

// The constructor's defaults: the table's values, the maximum sizes from the screen.
TAppBarSettings DefaultAppBarSettings(const AppBarRect& screen);

// A stored record can hold anything: an edge out of range, a slide time below 0 or above 10 s,
// negative steps or limits or ones beyond the screen, dock sizes of 0, a floating rectangle of no
// size, beyond 16-bit coordinates or off every screen.
// Those are put back to sane values, so that a bad file never puts the bar out of reach; sane
// values are left as they are. screens: the screens' rectangles, the first the primary one.
void SanitizeAppBarSettings(TAppBarSettings& settings, const std::vector<AppBarRect>& screens);

// The floating rectangle made sane: a size within the floating limits (a fallback size when it
// has none), and moved to the middle of the primary screen when it lies on no screen.
AppBarRect SaneFloatRect(const TAppBarSettings& settings, const std::vector<AppBarRect>& screens);

// "DOROZADATA" of the quick bar's key: read only when it is exactly 84 bytes (then true and the
// record replaced); written whole (true when the key could be opened). Store errors give false.
bool ReadAppBarSettings(TAppBarSettings& settings);
bool WriteAppBarSettings(const TAppBarSettings& settings);

}  // namespace desktop
