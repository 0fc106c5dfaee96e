#include "engine/regconfig.h"

#include "engine/webcam_records.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using namespace engine;

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(ORVELLO_FIXTURES) + name);
    std::string hex, line;
    while (std::getline(in, line)) hex += line;
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

template <typename Rec>
std::string Bytes(const Rec& rec) {
    return std::string(reinterpret_cast<const char*>(&rec), sizeof rec);
}

class Settings : public testsupport::IsolatedTest {
protected:
    platform::SettingsKey Key() { return platform::SettingsKey(kSettingsKey, true); }
    void Store(const char* name, const std::string& bytes) { Key().WriteBinary(name, bytes.data(), bytes.size()); }
    tregconfig config;
};

TEST_F(Settings, DefaultRecordsMatchTheirByteImages) {
    EXPECT_EQ(Bytes(DefaultConfig()), Fixture("default_config.hex"));
    EXPECT_EQ(Bytes(DefaultExtra1()), Fixture("default_extra1.hex"));
    EXPECT_EQ(Bytes(DefaultDiskMan()), Fixture("default_diskman.hex"));
    EXPECT_EQ(Bytes(ZeroRecord<TExtraRec>()), Fixture("default_extra.hex"));
    EXPECT_EQ(Bytes(ZeroRecord<TExtra2Rec>()), Fixture("default_extra2.hex"));
}

TEST_F(Settings, EmptyKeyReadsTheDefaults) {
    TConfigRec cfg;
    TExtraRec extra;
    TExtra1Rec extra1;
    TExtra2Rec extra2;
    TDiskManRec disk;
    config.ReadConfig(cfg);
    config.ReadExtra(extra);
    config.ReadExtra12(extra1, extra2);
    config.ReadDiskMan(disk);
    EXPECT_EQ(Bytes(cfg), Fixture("default_config.hex"));
    EXPECT_EQ(Bytes(disk), Fixture("default_diskman.hex"));
    EXPECT_EQ(extra.DataDir.str(), programDir().string() + "/");
    EXPECT_EQ(extra.WindowState, 0);
    EXPECT_EQ(extra2.ThumbWidth, 86);
    EXPECT_EQ(extra2.ThumbHeight, 80);
    EXPECT_EQ(extra1.AutoStart, 1);
    EXPECT_EQ(extra1.SaverInterval, 30);
    EXPECT_EQ(extra1.AutoRefresh, 60);
    EXPECT_TRUE(extra1.WeatherURL.view().ends_with("/cgi-bin/findweather/getForecast"));
    EXPECT_EQ(extra1.WeatherQuery.str(), "?query=$P+$C");
    EXPECT_TRUE(extra1.MapURL.view().ends_with("/world/places.cgi"));
    EXPECT_EQ(extra1.MapQuery.str(), "?place=$P&country=$C");
}

TEST_F(Settings, StoredValueSizesAndTypes) {
    std::string shorter(300, '\x07');
    Store("CONFIG", shorter);
    TConfigRec cfg;
    config.ReadConfig(cfg);
    const std::string expected = shorter + Fixture("default_config.hex").substr(300);
    EXPECT_EQ(Bytes(cfg), expected);

    Store("CONFIG", std::string(601, '\x07'));  // longer than the record: ignored whole
    config.ReadConfig(cfg);
    EXPECT_EQ(Bytes(cfg), Fixture("default_config.hex"));

    Key().WriteString("DISKMAN", std::string(328, '\x07'));  // a string, not a binary value
    TDiskManRec disk;
    config.ReadDiskMan(disk);
    EXPECT_EQ(Bytes(disk), Fixture("default_diskman.hex"));
}

TEST_F(Settings, WrittenRecordsReadBackWhole) {
    TConfigRec cfg = DefaultConfig();
    cfg.MaxThreads = 30;
    cfg.ProxyHost.assign("proxy.local");
    config.WriteConfig(cfg);
    TConfigRec back;
    config.ReadConfig(back);
    EXPECT_EQ(Bytes(back), Bytes(cfg));
    EXPECT_EQ(Key().Info("CONFIG")->size, 600u);

    TExtraRec extra = ZeroRecord<TExtraRec>();
    extra.DataDir.assign("/srv/webcams/");
    extra.WindowState = 2;
    config.WriteExtra(extra);
    TExtraRec extraBack;
    config.ReadExtra(extraBack);
    EXPECT_EQ(Bytes(extraBack), Bytes(extra));
}

TEST_F(Settings, LookupDefaultsFillOnlyAnEmptyAddress) {
    TExtra1Rec stored = DefaultExtra1();
    stored.WeatherQuery.assign("?stale");         // empty address: both replaced
    stored.MapURL.assign("http://maps.local/");   // address set: its empty query stays empty
    Store("EXTRA1", Bytes(stored));
    TExtra1Rec extra1;
    TExtra2Rec extra2;
    config.ReadExtra12(extra1, extra2);
    EXPECT_EQ(extra1.WeatherQuery.str(), "?query=$P+$C");
    EXPECT_FALSE(extra1.WeatherURL.empty());
    EXPECT_EQ(extra1.MapURL.str(), "http://maps.local/");
    EXPECT_TRUE(extra1.MapQuery.empty());
}

TEST_F(Settings, ZeroThumbnailSizeReadsAsDefault) {
    TExtra2Rec stored = ZeroRecord<TExtra2Rec>();
    stored.ThumbHeight = 120;
    Store("EXTRA2", Bytes(stored));
    TExtra1Rec extra1;
    TExtra2Rec extra2;
    config.ReadExtra12(extra1, extra2);
    EXPECT_EQ(extra2.ThumbWidth, 86);
    EXPECT_EQ(extra2.ThumbHeight, 120);
}

TEST_F(Settings, WritingExtra1KeepsTheScreenSaversBytesAsStored) {
    TExtra1Rec mine = DefaultExtra1();
    mine.AutoSaveMode = 3;
    config.WriteExtra12(mine, ZeroRecord<TExtra2Rec>());

    // The screen saver's dialog changes its own settings meanwhile.
    TExtra1Rec saver = mine;
    saver.SaverWithMain = 1;
    saver.SaverListOnly = 1;
    saver.SaverInOrder = 1;
    saver.SaverSavedOnly = 1;
    saver.SaverInterval = 45;
    saver.SaverDisplay = 2;
    Store("EXTRA1", Bytes(saver));

    mine.AutoSaveMode = 7;
    mine.SaverInterval = 99;  // ovl's stale copy of a saver field must not win
    config.WriteExtra12(mine, ZeroRecord<TExtra2Rec>());

    TExtra1Rec back;
    TExtra2Rec extra2;
    config.ReadExtra12(back, extra2);
    EXPECT_EQ(back.AutoSaveMode, 7);
    EXPECT_EQ(back.SaverWithMain, 1);
    EXPECT_EQ(back.SaverListOnly, 1);
    EXPECT_EQ(back.SaverInOrder, 1);
    EXPECT_EQ(back.SaverSavedOnly, 1);
    EXPECT_EQ(back.SaverInterval, 45);
    EXPECT_EQ(back.SaverDisplay, 2);
}

TEST_F(Settings, KeyThatCannotBeOpenedRaisesAfterSettingDefaults) {
    testsupport::WriteFile(configDir() / "Quenmark", "not a folder");
    TConfigRec cfg;
    std::memset(&cfg, 0x55, sizeof cfg);
    try {
        config.ReadConfig(cfg);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Registry open key failed");
    }
    EXPECT_EQ(Bytes(cfg), Fixture("default_config.hex"));
}

}  // namespace
