// The screen saver's readers and writer of the settings store.
#include "engine/regconfig.h"

#include "engine/webcam_records.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace engine;

class SaverSettings : public testsupport::IsolatedTest {
protected:
    platform::SettingsKey Key() { return platform::SettingsKey(kSettingsKey, true); }
    template <typename Rec>
    void Store(const char* name, const Rec& rec) { Key().WriteBinary(name, &rec, sizeof rec); }
    tregconfig config;
};

TEST_F(SaverSettings, AbsentExtra1GivesTheSaversDefaults) {
    TExtra1Rec rec;
    std::memset(&rec, 0x55, sizeof rec);
    config.ReadSaverExtra1(rec);
    EXPECT_EQ(rec.SaverWithMain, 0);  // does not run beside ovl
    EXPECT_EQ(rec.SaverListOnly, 0);
    EXPECT_EQ(rec.SaverInOrder, 0);
    EXPECT_EQ(rec.SaverSavedOnly, 0);
    EXPECT_EQ(rec.SaverInterval, 30);
    EXPECT_EQ(rec.SaverDisplay, 0);
    EXPECT_EQ(rec.AutoStart, 1);
    EXPECT_EQ(rec.AutoSaveMode, 1);   // differs from ovl's default
    EXPECT_EQ(rec.AutoRefresh, 30);   // differs from ovl's default
    EXPECT_FALSE(rec.WeatherURL.empty());
    EXPECT_FALSE(rec.MapQuery.empty());
}

TEST_F(SaverSettings, StoredExtra1IsReadOverTheDefaults) {
    TExtra1Rec stored = DefaultExtra1();
    stored.SaverInterval = 7;
    stored.SaverWithMain = 1;
    Store("EXTRA1", stored);
    TExtra1Rec rec;
    config.ReadSaverExtra1(rec);
    EXPECT_EQ(rec.SaverInterval, 7);
    EXPECT_EQ(rec.SaverWithMain, 1);
    EXPECT_EQ(rec.AutoRefresh, 60);
}

TEST_F(SaverSettings, DataFolderFallsBackToOvlProgDir) {
    struct Case {
        const char* name;
        const char* extraFolder;  // nullptr: no EXTRA stored
        const char* progDir;      // nullptr: no OVLPROGDIR stored
        const char* expected;
    };
    const Case cases[] = {
        {"EXTRA wins", "/data/cams/", "/elsewhere", "/data/cams/"},
        {"no EXTRA, OVLPROGDIR without slash", nullptr, "/opt/ovl", "/opt/ovl/"},
        {"empty folder in EXTRA, OVLPROGDIR with slash", "", "/opt/ovl/", "/opt/ovl/"},
        {"neither", nullptr, nullptr, ""},
        {"empty OVLPROGDIR", nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Key().DeleteValue("EXTRA");
        Key().DeleteValue("OVLPROGDIR");
        if (c.extraFolder) {
            TExtraRec extra = ZeroRecord<TExtraRec>();
            extra.DataDir.assign(c.extraFolder);
            Store("EXTRA", extra);
        }
        if (c.progDir) Key().WriteString("OVLPROGDIR", c.progDir);
        TExtraRec rec;
        config.ReadSaverExtra(rec);
        EXPECT_EQ(rec.DataDir.str(), c.expected);
    }
}

TEST_F(SaverSettings, WritingKeepsEveryByteOvlOwnsAsStored) {
    TExtra1Rec ovlRec = DefaultExtra1();
    ovlRec.AutoSaveMode = 9;
    ovlRec.WeatherURL.assign("http://weather.test/");
    Store("EXTRA1", ovlRec);

    TExtra1Rec mine;
    config.ReadSaverExtra1(mine);
    mine.SaverInOrder = 1;
    mine.SaverInterval = 120;
    mine.AutoSaveMode = 0;            // a stale copy of ovl's byte must not win
    mine.WeatherURL.assign("stale");
    config.WriteSaverExtra1(mine);

    const auto stored = Key().ReadBinary("EXTRA1");
    ASSERT_TRUE(stored && stored->size() == sizeof(TExtra1Rec));
    TExtra1Rec expected = ovlRec;
    expected.SaverInOrder = 1;
    expected.SaverInterval = 120;
    EXPECT_EQ(*stored, std::string(reinterpret_cast<const char*>(&expected), sizeof expected));
}

TEST_F(SaverSettings, FirstWriteStoresTheWholeRecord) {
    TExtra1Rec mine;
    config.ReadSaverExtra1(mine);
    config.WriteSaverExtra1(mine);
    const auto stored = Key().ReadBinary("EXTRA1");
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, std::string(reinterpret_cast<const char*>(&mine), sizeof mine));
}

}  // namespace
