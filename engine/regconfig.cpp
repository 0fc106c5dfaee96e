#include "engine/regconfig.h"

#include "engine/webcam_records.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"

#include <cstring>
#include <stdexcept>

namespace engine {
namespace {

constexpr const char* kWeatherURL = "http://weather.orvello.example/cgi-bin/findweather/getForecast";
constexpr const char* kWeatherQuery = "?query=$P+$C";
constexpr const char* kMapURL = "http://maps.orvello.example/world/places.cgi";
constexpr const char* kMapQuery = "?place=$P&country=$C";

// The screen saver's own bytes of EXTRA1: its settings dialog writes them while ovl runs.
constexpr std::size_t kSaverBytes[][2] = {
    {offsetof(TExtra1Rec, SaverWithMain), offsetof(TExtra1Rec, SaverSavedOnly) + 1},
    {offsetof(TExtra1Rec, SaverInterval), offsetof(TExtra1Rec, SaverDisplay) + sizeof(std::int32_t)},
};

// Copies a stored binary value over the start of rec. A missing value, a value longer than the
// record or one stored as a string leaves rec as it is.
template <typename Rec>
bool ReadValue(const platform::SettingsKey& key, const char* name, Rec& rec) {
    const auto info = key.Info(name);
    if (!info || info->type != platform::ValueType::Binary || info->size > sizeof(Rec)) return false;
    const auto bytes = key.ReadBinary(name);
    if (!bytes || bytes->size() > sizeof(Rec)) return false;
    std::memcpy(&rec, bytes->data(), bytes->size());
    return true;
}

template <typename Rec>
void WriteValue(platform::SettingsKey& key, const char* name, const Rec& rec) {
    key.WriteBinary(name, &rec, sizeof(Rec));
}

// Copies the screen saver's own bytes of from into to.
void CopySaverBytes(TExtra1Rec& to, const TExtra1Rec& from) {
    auto* target = reinterpret_cast<unsigned char*>(&to);
    const auto* source = reinterpret_cast<const unsigned char*>(&from);
    for (const auto& range : kSaverBytes) std::memcpy(target + range[0], source + range[0], range[1] - range[0]);
}

void FillLookupDefaults(TExtra1Rec& rec) {
    if (rec.WeatherURL.empty()) {
        rec.WeatherURL.assign(kWeatherURL);
        rec.WeatherQuery.assign(kWeatherQuery);
    }
    if (rec.MapURL.empty()) {
        rec.MapURL.assign(kMapURL);
        rec.MapQuery.assign(kMapQuery);
    }
}

}  // namespace

TConfigRec DefaultConfig() {
    auto rec = ZeroRecord<TConfigRec>();
    rec.MaxThreads = 16;
    rec.LeftPanelWidth = 222;
    rec.Unused265 = 1;
    rec.UseProxy = 1;
    rec.Unused267 = 67;
    rec.ProxyPort = 8080;
    rec.FontName.assign("MS Sans Serif");
    rec.Unused308 = 32768;
    rec.FavRefresh = 15;
    rec.FavRefreshOn = 1;
    rec.SlowScanRefresh = 60;
    rec.SlowScanIdle = 60;
    rec.WindowWidth = 640;
    rec.WindowHeight = 480;
    return rec;
}

TExtra1Rec DefaultExtra1() {
    auto rec = ZeroRecord<TExtra1Rec>();
    rec.AutoStart = 1;
    rec.SaverInterval = 30;
    rec.AutoRefresh = 60;
    return rec;
}

TExtra1Rec SaverDefaultExtra1() {
    auto rec = DefaultExtra1();
    rec.AutoSaveMode = 1;
    rec.AutoRefresh = 30;
    return rec;
}

TDiskManRec DefaultDiskMan() {
    auto rec = ZeroRecord<TDiskManRec>();
    rec.Unused1.assign(".");
    rec.ActivePage = 2;
    rec.Unused264 = 1;
    rec.Unused266 = 1;
    rec.Unused268 = 2;
    rec.Unused272 = 0.03;
    rec.GlobalSaveOn = 1;
    rec.FontName.assign("Arial");
    rec.GlobalSaveMode = kSaveOnMotion;
    rec.TrayIcon = 1;
    return rec;
}

tregconfig::tregconfig() = default;
tregconfig::~tregconfig() = default;

void tregconfig::Open() {
    if (FOpen) return;
    try {
        FRegistry = std::make_unique<platform::SettingsKey>(kSettingsKey, true);
    } catch (const platform::SettingsError&) {
        throw std::runtime_error("Registry open key failed");
    }
    FOpen = true;
}

void tregconfig::Close() {
    FRegistry.reset();
    FOpen = false;
}

template <typename Fn>
void tregconfig::WithKey(Fn&& fn) {
    Open();
    try {
        fn(*FRegistry);
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

void tregconfig::ReadConfig(TConfigRec& rec) {
    rec = DefaultConfig();
    WithKey([&](platform::SettingsKey& key) {
        if (!ReadValue(key, "CONFIG", rec)) rec = DefaultConfig();
    });
}

void tregconfig::WriteConfig(const TConfigRec& rec) {
    WithKey([&](platform::SettingsKey& key) { WriteValue(key, "CONFIG", rec); });
}

void tregconfig::ReadExtra(TExtraRec& rec) {
    rec = ZeroRecord<TExtraRec>();
    WithKey([&](platform::SettingsKey& key) {
        if (!ReadValue(key, "EXTRA", rec)) rec = ZeroRecord<TExtraRec>();
        if (rec.DataDir.empty()) rec.DataDir.assign(platform::ProgramFolder());
    });
}

void tregconfig::WriteExtra(const TExtraRec& rec) {
    WithKey([&](platform::SettingsKey& key) { WriteValue(key, "EXTRA", rec); });
}

void tregconfig::ReadExtra12(TExtra1Rec& extra1, TExtra2Rec& extra2) {
    extra1 = DefaultExtra1();
    WithKey([&](platform::SettingsKey& key) { ReadValue(key, "EXTRA1", extra1); });
    FillLookupDefaults(extra1);
    extra2 = ZeroRecord<TExtra2Rec>();
    WithKey([&](platform::SettingsKey& key) { ReadValue(key, "EXTRA2", extra2); });
    if (extra2.ThumbWidth == 0) extra2.ThumbWidth = 86;
    if (extra2.ThumbHeight == 0) extra2.ThumbHeight = 80;
}

void tregconfig::WriteExtra12(const TExtra1Rec& extra1, const TExtra2Rec& extra2) {
    WithKey([&](platform::SettingsKey& key) {
        TExtra1Rec merged = extra1;
        TExtra1Rec stored = extra1;
        if (ReadValue(key, "EXTRA1", stored)) CopySaverBytes(merged, stored);
        WriteValue(key, "EXTRA1", merged);
        WriteValue(key, "EXTRA2", extra2);
    });
}

void tregconfig::ReadDiskMan(TDiskManRec& rec) {
    rec = DefaultDiskMan();
    WithKey([&](platform::SettingsKey& key) {
        if (!ReadValue(key, "DISKMAN", rec)) rec = DefaultDiskMan();
    });
}

void tregconfig::WriteDiskMan(const TDiskManRec& rec) {
    WithKey([&](platform::SettingsKey& key) { WriteValue(key, "DISKMAN", rec); });
}

void tregconfig::ReadSaverExtra1(TExtra1Rec& rec) {
    rec = SaverDefaultExtra1();
    WithKey([&](platform::SettingsKey& key) { ReadValue(key, "EXTRA1", rec); });
    FillLookupDefaults(rec);
}

void tregconfig::ReadSaverExtra(TExtraRec& rec) {
    rec = ZeroRecord<TExtraRec>();
    WithKey([&](platform::SettingsKey& key) {
        if (!ReadValue(key, "EXTRA", rec)) rec = ZeroRecord<TExtraRec>();
        if (!rec.DataDir.empty()) return;
        const auto folder = key.ReadString("OVLPROGDIR");
        if (folder && !folder->empty()) rec.DataDir.assign(platform::WithTrailingSlash(*folder));
    });
}

void tregconfig::WriteSaverExtra1(const TExtra1Rec& rec) {
    WithKey([&](platform::SettingsKey& key) {
        TExtra1Rec merged = SaverDefaultExtra1();
        if (ReadValue(key, "EXTRA1", merged)) CopySaverBytes(merged, rec);
        else merged = rec;
        WriteValue(key, "EXTRA1", merged);
    });
}

}  // namespace engine
