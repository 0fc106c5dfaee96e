#include "engine/motion_settings.h"

#include "engine/regconfig.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using engine::TMotionSettingsRec;

class MotionSettings : public testsupport::IsolatedTest {
protected:
    platform::SettingsKey Key() { return platform::SettingsKey(engine::kSettingsKey, true); }
    static std::string Bytes(std::initializer_list<std::int32_t> values) {
        std::string bytes;
        for (std::int32_t v : values)
            bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
        return bytes;
    }
};

void ExpectSettings(const TMotionSettingsRec& got, int cell, int threshold, int sensitivity, const std::string& what) {
    EXPECT_EQ(got.CellSize, cell) << what;
    EXPECT_EQ(got.Threshold, threshold) << what;
    EXPECT_EQ(got.Sensitivity, sensitivity) << what;
}

TEST_F(MotionSettings, WithoutAKeyTheDefaults) {
    ExpectSettings(engine::ReadGlobalMotionSettings(), 4, 5, 13, "no key");
    EXPECT_FALSE(engine::WriteGlobalMotionSettings({8, 6, 20, {}})) << "the key is not created";
    EXPECT_FALSE(platform::SettingsKey::KeyExists(engine::kSettingsKey));
}

TEST_F(MotionSettings, StoredValuesReplaceOnlyWhatIsValid) {
    struct Case { std::string name; std::string bytes; bool asString; int cell, threshold, sensitivity; };
    const Case cases[] = {
        {"whole record", Bytes({8, 6, 20, 1, 2, 3}), false, 8, 6, 20},
        {"shorter value", Bytes({9}), false, 9, 5, 13},
        {"longer value", Bytes({8, 6, 20, 1, 2, 3, 4}), false, 4, 5, 13},
        {"string value", Bytes({8, 6, 20, 1, 2, 3}), true, 4, 5, 13},
        {"cell size 0", Bytes({0, 6, 20, 0, 0, 0}), false, 4, 6, 20},
        {"out of range", Bytes({26, -1, 30, 0, 0, 0}), false, 4, 5, 13},
    };
    for (const Case& c : cases) {
        platform::SettingsKey key = Key();
        key.DeleteValue(engine::kMotionSettingsValue);
        if (c.asString)
            key.WriteString(engine::kMotionSettingsValue, c.bytes);
        else
            key.WriteBinary(engine::kMotionSettingsValue, c.bytes.data(), c.bytes.size());
        ExpectSettings(engine::ReadGlobalMotionSettings(), c.cell, c.threshold, c.sensitivity, c.name);
    }
}

TEST_F(MotionSettings, WritesTheWholeRecordIntoTheExistingKey) {
    Key();
    ASSERT_TRUE(engine::WriteGlobalMotionSettings({8, 6, 20, {7, 8, 9}}));
    const auto stored = Key().ReadBinary(engine::kMotionSettingsValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, Bytes({8, 6, 20, 7, 8, 9}));
    EXPECT_EQ(engine::ReadGlobalMotionSettings().Unused[2], 9);
}

TEST_F(MotionSettings, WebcamOverridesInRangeReplaceTheGlobalValues) {
    Key();
    engine::WriteGlobalMotionSettings({6, 7, 14, {}});
    auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    ExpectSettings(engine::LoadMotionSettings(&rec2), 6, 7, 14, "no overrides");
    ExpectSettings(engine::LoadMotionSettings(nullptr), 6, 7, 14, "global only");
    rec2.MotionCellSize = 8;
    ExpectSettings(engine::LoadMotionSettings(&rec2), 8, 7, 14, "cell size 8");
    rec2.MotionThreshold = 25;
    rec2.MotionSensitivity = 1;
    ExpectSettings(engine::LoadMotionSettings(&rec2), 8, 25, 1, "all three");
    rec2.MotionCellSize = -3;
    rec2.MotionThreshold = 26;
    ExpectSettings(engine::LoadMotionSettings(&rec2), 6, 7, 1, "out of range means global");
}

}  // namespace
