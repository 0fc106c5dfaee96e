// Feeds the stored settings records to their readers: "DOROZADATA" of the quick bar's key and
// "CONFIG", "EXTRA", "EXTRA1", "EXTRA2", "DISKMAN" and "MOTIONSETTINGS" of the program's key.
// The input is a run of values, each one flag byte (bit 0: a string value, else binary), a
// 16-bit little-endian length and that many bytes, written into a settings store of its own.
// Checked: a record is taken only as its reader promises (DOROZADATA whole, the others over their
// defaults from their first byte), DOROZADATA made sane puts the bar within reach, and the bar's
// arithmetic on it overflows nothing; the sanitizers check the rest.

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
#include "engine/motion_settings.h"
#include "engine/regconfig.h"
#include "platform/settings_store.h"

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
