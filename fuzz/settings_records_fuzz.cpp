// Feeds the stored settings records to their readers: "DOROZADATA" of the quick bar's key and
// "CONFIG", "EXTRA", "EXTRA1", "EXTRA2", "DISKMAN" and "MOTIONSETTINGS" of the program's key.
// The input is a run of values, each one flag byte (bit 0: a string value, else binary), a
// 16-bit little-endian length and that many bytes, written into a settings store of its own.
// Checked: a record is taken only as its reader promises (DOROZADATA whole, the others over their
// defaults from their first byte), DOROZADATA made sane puts the bar within reach, and the bar's
// arithmetic on it overflows nothing; and what the main window and the manager compute from the
// records, taken as the window takes them (the grid's cells and columns, the thumbnails' bitmaps,
// the window and panel sizes, the slow scan's timers, the motion gauge), stays within bounds and
// overflows nothing. The sanitizers check the rest.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/app_bar_geometry.h"
#include "desktop/app_bar_settings.h"
#include "engine/bitmap.h"
#include "engine/motion_settings.h"
#include "engine/regconfig.h"
#include "engine/settings_limits.h"
#include "platform/clock_datetime.h"
#include "platform/settings_store.h"
#include "ui/grid/cell_geometry.h"
#include "ui/main/window_size.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct StoredValue {
    const char* key;
    const char* name;
};
constexpr StoredValue kValues[] = {
    {desktop::kQuickBarKey, desktop::kAppBarValue}, {engine::kSettingsKey, "CONFIG"},
    {engine::kSettingsKey, "EXTRA"},                {engine::kSettingsKey, "EXTRA1"},
    {engine::kSettingsKey, "EXTRA2"},               {engine::kSettingsKey, "DISKMAN"},
    {engine::kSettingsKey, engine::kMotionSettingsValue},
};

struct Value {
    bool string = false;
    bool present = false;
    std::string bytes;
};

std::vector<Value> Split(std::string_view input) {
    std::vector<Value> values;
    for (std::size_t i = 0; i < std::size(kValues); ++i) {
        Value v;
        if (input.size() >= 3) {
            v.present = true;
            v.string = (input[0] & 1) != 0;
            const std::size_t length = static_cast<unsigned char>(input[1]) | static_cast<unsigned char>(input[2]) << 8;
            input.remove_prefix(3);
            v.bytes = std::string(input.substr(0, length));
            input.remove_prefix(v.bytes.size());
        }
        values.push_back(std::move(v));
    }
    return values;
}

void Store(const std::vector<Value>& values) {
    platform::SettingsKey::DeleteKey(engine::kSettingsKey);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!values[i].present) continue;
        platform::SettingsKey key(kValues[i].key, true);
        if (values[i].string) {
            key.WriteString(kValues[i].name, values[i].bytes);
        } else {
            key.WriteBinary(kValues[i].name, values[i].bytes.data(), values[i].bytes.size());
        }
    }
}

bool Binary(const Value& v, std::size_t largest) { return v.present && !v.string && v.bytes.size() <= largest; }

// A record read over its defaults: the stored bytes first, the defaults' after them; else all defaults.
template <typename Rec>
void CheckOverDefaults(const Rec& read, const Rec& defaults, const Value& stored) {
    Rec expected = defaults;
    if (Binary(stored, sizeof(Rec))) std::memcpy(&expected, stored.bytes.data(), stored.bytes.size());
    Check(std::memcmp(&read, &expected, sizeof(Rec)) == 0);
}

void CheckAppBar(const Value& stored) {
    using namespace desktop;
    const std::vector<AppBarRect> screens{{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
    const AppBarScreen metrics{screens[0], {0, 30, 1280, 1024}};
    TAppBarSettings s = DefaultAppBarSettings(screens[0]);
    const bool read = ReadAppBarSettings(s);
    Check(read == (stored.present && !stored.string && stored.bytes.size() == sizeof s));
    if (read) Check(std::memcmp(&s, stored.bytes.data(), sizeof s) == 0);
    SanitizeAppBarSettings(s, screens);

    Check(s.Edge <= abeFloat && s.Edge != abeUnknown && s.TaskEntry <= abtFloatDependent);
    Check(s.SlideTime >= 0 && s.SlideTime <= 10000);
    const AppBarRect f = s.FloatRect();
    Check(!f.Empty() && f.Width() <= s.MaxWidth && f.Height() <= s.MaxHeight);
    Check(f.Intersects(screens[0]) || f.Intersects(screens[1]));
    Check(s.VertDockSize >= 1 && s.VertDockSize <= s.MaxVertDockSize && s.MaxVertDockSize <= 1280);
    Check(s.HorzDockSize >= 1 && s.HorzDockSize <= s.MaxHorzDockSize && s.MaxHorzDockSize <= 1024);
    Check(s.HorzSizeInc >= 0 && s.HorzSizeInc <= 1280 && s.VertSizeInc >= 0 && s.VertSizeInc <= 1024);

    // What the bar computes from its settings, on every edge.
    for (int edge = abeLeft; edge <= abeFloat; ++edge) {
        const AppBarRect dock = DockRect(edge, metrics.screen, s.VertDockSize, s.HorzDockSize);
        if (IsDockedEdge(edge)) {
            Check(!dock.Empty());
            AutoHideRect(edge, true, false, dock, metrics);
            AutoHideRect(edge, true, true, dock, metrics);
        }
        const TrackingLimits t = TrackingLimitsFor(edge, s, metrics.screen);
        SnapSize(t.maxWidth, s.MinWidth, s.HorzSizeInc);
        SnapSize(t.minHeight, s.MinHorzDockSize, s.VertSizeInc);
        SlideStep(f, dock, s.SlideTime / 2, s.SlideTime);
        FloatRectAfterMove(dock, false, f, metrics.workArea);
        EdgeFromPoint(s.Flags, {f.left, f.top}, false, metrics, static_cast<TAppBarEdge>(s.Edge));
    }
    SaneFloatRect(s, screens);
}

// The records as the main window takes its working copies of them, and what it and the manager
// compute from those.
void CheckConsumers(engine::TConfigRec config, engine::TExtra2Rec extra2, const engine::TMotionSettingsRec& motion) {
    engine::SaneConfig(config);
    engine::SaneExtra2(extra2);
    const int width = extra2.ThumbWidth, height = extra2.ThumbHeight;
    Check(width >= engine::kLeastThumbSide && width <= engine::kLargestThumbWidth);
    Check(height >= engine::kLeastThumbSide && height <= engine::kLargestThumbHeight);
    // Each webcam's blank thumbnail, as the manager makes it.
    const engine::ThumbnailSize drawn = engine::DrawableThumbnailSize(width, height);
    Check(drawn.width == width && drawn.height == height);
    const engine::Bitmap blank(width, height, 24);
    Check(blank.width() == width && blank.height() == height);

    const QSize cell = ui::ThumbnailCellSize(width, height);
    Check(ui::ThumbnailSizeOfCell(cell) == QSize(width, height));
    const int points = ui::NameFontPoints(cell.width());
    Check(points >= 5 && points <= 8);
    Check(ui::GridLeastWidth(cell.width(), 2, 20) > cell.width());
    for (const int gridWidth : {0, 1, 30, 222, config.LeftPanelWidth})
        for (const int webcams : {0, 1, 100000}) {
            const int columns = ui::GridColumns(gridWidth, 1024, cell, webcams);
            Check(columns >= 1);
            const int rows = ui::GridRows(webcams, columns);
            Check(rows >= 0 && rows <= webcams);
        }

    // The window within the screen, the left panel beside the view.
    const QSize screen(1280, 1024);
    const QSize window = ui::ClampWindowSize({config.WindowWidth, config.WindowHeight}, screen);
    Check(window.width() >= 1 && window.width() <= screen.width() && window.height() >= 1 &&
          window.height() <= screen.height());
    Check(config.LeftPanelWidth >= 0 && config.LeftPanelWidth <= engine::kLargestPanelWidth);

    // The slow scan's timers: a resting webcam comes back within a day.
    for (const int minutes : {config.SlowScanRefresh, config.SlowScanIdle}) {
        const platform::TDateTime after = platform::DaysFromMinutes(minutes);
        Check(after > 0 && after <= 1);
    }
    // The fetch threads and the motion gauge's zone points.
    const int threads = std::clamp(config.MaxThreads & 0xFF, 4, 64);
    Check(threads >= 4 && threads <= 64);
    Check(motion.Threshold * 4 <= engine::kMotionSettingMax * 4);
}

void CheckEngineRecords(const std::vector<Value>& values) {
    engine::tregconfig config;
    engine::TConfigRec configRec;
    config.ReadConfig(configRec);
    CheckOverDefaults(configRec, engine::DefaultConfig(), values[1]);
    engine::TDiskManRec diskMan;
    config.ReadDiskMan(diskMan);
    CheckOverDefaults(diskMan, engine::DefaultDiskMan(), values[5]);
    engine::TExtraRec extra;
    config.ReadExtra(extra);
    Check(!extra.DataDir.empty());
    engine::TExtra1Rec extra1;
    engine::TExtra2Rec extra2;
    config.ReadExtra12(extra1, extra2);
    Check(extra2.ThumbWidth != 0 && extra2.ThumbHeight != 0);
    config.ReadSaverExtra1(extra1);
    config.ReadSaverExtra(extra);

    const engine::TMotionSettingsRec motion = engine::ReadGlobalMotionSettings();
    for (const int value : {motion.CellSize, motion.Threshold, motion.Sensitivity})
        Check(value >= engine::kMotionSettingMin && value <= engine::kMotionSettingMax);
    CheckConsumers(configRec, extra2, motion);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A store of its own, never the user's.
    char folder[] = "/tmp/fuzz-settings-XXXXXX";
    Check(mkdtemp(folder) != nullptr);
    setenv("XDG_CONFIG_HOME", folder, 1);
    setenv("ORVELLO_PROGRAM_DIR", folder, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<Value> values = Split(std::string_view(reinterpret_cast<const char*>(data), size));
    Store(values);
    CheckAppBar(values[0]);
    CheckEngineRecords(values);
    return 0;
}
