#include "desktop/app_bar_settings.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "platform/settings_store.h"

namespace desktop {

namespace {

constexpr int kMaxSlideTime = 10000;
// X, like the shell's messages, carries a window's position as a 16-bit signed value: a stored
// corner beyond that is no place at all, and a rectangle within it has a width and height that
// an int holds.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;
// A floating bar with no size of its own gets one that holds its menu picture and a button.
constexpr int kFallbackFloatWidth = 124;
constexpr int kFallbackFloatHeight = 104;

int NotNegative(int value) { return std::max(value, 0); }
int Coordinate(int value) { return std::clamp(value, kMinCoordinate, kMaxCoordinate); }

AppBarRect PrimaryScreen(const std::vector<AppBarRect>& screens) {
    return screens.empty() ? AppBarRect{0, 0, 1024, 768} : screens.front();
}

}  // namespace

TAppBarSettings DefaultAppBarSettings(const AppBarRect& screen) {
    TAppBarSettings s;
    s.MaxWidth = screen.Width();
    s.MaxHeight = screen.Height();
    s.MaxVertDockSize = screen.Width() / 2;
    s.MaxHorzDockSize = screen.Height() / 2;
    return s;
}

void SanitizeAppBarSettings(TAppBarSettings& s, const std::vector<AppBarRect>& screens) {
    const AppBarRect primary = PrimaryScreen(screens);
    const TAppBarSettings defaults = DefaultAppBarSettings(primary);
    if (s.Edge == abeUnknown || s.Edge > abeFloat) s.Edge = abeFloat;
    s.Flags &= kAllAppBarFlags;
    s.AutoHide = s.AutoHide ? 1 : 0;
    s.AlwaysOnTop = s.AlwaysOnTop ? 1 : 0;
    s.SlideEffect = s.SlideEffect ? 1 : 0;
    if (s.SlideTime < 0 || s.SlideTime > kMaxSlideTime) s.SlideTime = defaults.SlideTime;
    if (s.TaskEntry > abtFloatDependent) s.TaskEntry = defaults.TaskEntry;
    // A step wider than the screen would size the bar off it.
    s.HorzSizeInc = std::clamp(s.HorzSizeInc, 0, primary.Width());
    s.VertSizeInc = std::clamp(s.VertSizeInc, 0, primary.Height());

    // Limits: none negative, no maximum below its minimum or beyond the screen.
    s.MinWidth = std::min(NotNegative(s.MinWidth), primary.Width());
    s.MinHeight = std::min(NotNegative(s.MinHeight), primary.Height());
    if (s.MaxWidth < std::max(s.MinWidth, 1) || s.MaxWidth > primary.Width()) s.MaxWidth = defaults.MaxWidth;
    if (s.MaxHeight < std::max(s.MinHeight, 1) || s.MaxHeight > primary.Height()) s.MaxHeight = defaults.MaxHeight;
    s.MinVertDockSize = std::min(NotNegative(s.MinVertDockSize), defaults.MaxVertDockSize);
    s.MinHorzDockSize = std::min(NotNegative(s.MinHorzDockSize), defaults.MaxHorzDockSize);
    if (s.MaxVertDockSize < std::max(s.MinVertDockSize, 1) || s.MaxVertDockSize > primary.Width())
        s.MaxVertDockSize = defaults.MaxVertDockSize;
    if (s.MaxHorzDockSize < std::max(s.MinHorzDockSize, 1) || s.MaxHorzDockSize > primary.Height())
        s.MaxHorzDockSize = defaults.MaxHorzDockSize;

    // Dock sizes: at least one pixel and the minimum, at most the maximum.
    if (s.VertDockSize <= 0) s.VertDockSize = defaults.VertDockSize;
    if (s.HorzDockSize <= 0) s.HorzDockSize = defaults.HorzDockSize;
    s.VertDockSize = std::clamp(s.VertDockSize, std::max(s.MinVertDockSize, 1), s.MaxVertDockSize);
    s.HorzDockSize = std::clamp(s.HorzDockSize, std::max(s.MinHorzDockSize, 1), s.MaxHorzDockSize);

    s.SetFloatRect({Coordinate(s.FloatLeft), Coordinate(s.FloatTop), Coordinate(s.FloatRight),
                    Coordinate(s.FloatBottom)});
    s.SetFloatRect(SaneFloatRect(s, screens));
}

AppBarRect SaneFloatRect(const TAppBarSettings& s, const std::vector<AppBarRect>& screens) {
    const AppBarRect primary = PrimaryScreen(screens);
    AppBarRect r = s.FloatRect();
    int width = r.Width(), height = r.Height();
    if (width <= 0) width = std::max(s.MinWidth, kFallbackFloatWidth);
    if (height <= 0) height = std::max(s.MinHeight, kFallbackFloatHeight);
    width = std::min(std::max(width, s.MinWidth), std::max(s.MaxWidth, 1));
    height = std::min(std::max(height, s.MinHeight), std::max(s.MaxHeight, 1));
    r = AppBarRect{r.left, r.top, r.left + width, r.top + height};
    const bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const AppBarRect& screen) {
        return r.Intersects(screen);
    });
    if (!onScreen || screens.empty()) {
        r = r.MovedTo(primary.left + (primary.Width() - width) / 2, primary.top + (primary.Height() - height) / 2);
    }
    return r;
}

bool ReadAppBarSettings(TAppBarSettings& settings) {
    try {
        const platform::SettingsKey key(kQuickBarKey, false);
        const std::optional<std::string> bytes = key.ReadBinary(kAppBarValue);
        if (!bytes || bytes->size() != sizeof(TAppBarSettings)) return false;
        std::memcpy(&settings, bytes->data(), sizeof settings);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool WriteAppBarSettings(const TAppBarSettings& settings) {
    try {
        platform::SettingsKey key(kQuickBarKey, true);
        try {
            key.WriteBinary(kAppBarValue, &settings, sizeof settings);
        } catch (const std::exception&) {
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace desktop
