// "DOROZADATA": the 84-byte record as it is stored, accepted only whole, and a stored record
// with nonsense values put back to values that keep the bar within reach.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "desktop/app_bar_geometry.h"
#include "desktop/app_bar_settings.h"
#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

const std::vector<AppBarRect> kScreens{{0, 0, 1000, 800}};

class AppBarSettingsStore : public testsupport::IsolatedTest {};

TEST_F(AppBarSettingsStore, TheRecordIsStoredByteForByte) {
    TAppBarSettings s = DefaultAppBarSettings({0, 0, 1000, 800});
    s.Edge = abeLeft;
    s.SlideTime = 250;
    s.MaxHorzDockSize = 0x01020304;
    s.TaskEntry = abtShow;
    ASSERT_TRUE(WriteAppBarSettings(s));
    const std::string bytes = *platform::SettingsKey(kQuickBarKey, false).ReadBinary(kAppBarValue);
    ASSERT_EQ(bytes.size(), 84u);
    EXPECT_EQ(bytes.substr(0, 9), std::string("\x54\0\0\0\0\x1f\0\x01\x01", 9));
    EXPECT_EQ(bytes.substr(9, 3), std::string(3, '\0'));
    EXPECT_EQ(bytes.substr(12, 4), std::string("\xfa\0\0\0", 4));
    EXPECT_EQ(bytes.substr(76, 8), std::string("\x04\x03\x02\x01\0\0\0\0", 8));
}

TEST_F(AppBarSettingsStore, OnlyAValueOfExactly84BytesIsRead) {
    TAppBarSettings stored = DefaultAppBarSettings({0, 0, 1000, 800});
    stored.Edge = abeBottom;
    stored.HorzDockSize = 99;
    std::string bytes(reinterpret_cast<const char*>(&stored), sizeof stored);
    for (const std::size_t size : {83u, 84u, 85u}) {
        std::string value = bytes;
        value.resize(size, '\0');
        platform::SettingsKey(kQuickBarKey, true).WriteBinary(kAppBarValue, value.data(), value.size());
        TAppBarSettings read;  // the constructor's defaults
        EXPECT_EQ(ReadAppBarSettings(read), size == 84) << size << " bytes";
        EXPECT_EQ(read.Edge, size == 84 ? abeBottom : abeFloat) << size << " bytes";
        EXPECT_EQ(read.HorzDockSize, size == 84 ? 99 : 72) << size << " bytes";
    }
}

TEST_F(AppBarSettingsStore, NothingStoredReadsNothing) {
    TAppBarSettings read;
    EXPECT_FALSE(ReadAppBarSettings(read));
    EXPECT_EQ(read.Edge, abeFloat);
}

TEST(AppBarSettingsSanity, SaneValuesAreKept) {
    TAppBarSettings s = DefaultAppBarSettings({0, 0, 1000, 800});
    s.Edge = abeRight;
    s.SlideTime = 10000;
    s.SetFloatRect({900, 700, 1100, 900});  // partly on screen
    s.VertDockSize = 100;
    const TAppBarSettings before = s;
    SanitizeAppBarSettings(s, kScreens);
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);
}

TEST(AppBarSettingsSanity, NonsenseIsPutBackWithinReach) {
    struct Case {
        const char* name;
        void (*spoil)(TAppBarSettings&);
        bool (*sane)(const TAppBarSettings&);
    } cases[] = {
        {"edge above 5", [](TAppBarSettings& s) { s.Edge = 9; }, [](const TAppBarSettings& s) { return s.Edge == abeFloat; }},
        {"edge 4 (not registered)", [](TAppBarSettings& s) { s.Edge = abeUnknown; },
         [](const TAppBarSettings& s) { return s.Edge == abeFloat; }},
        {"slide time below 0", [](TAppBarSettings& s) { s.SlideTime = -5; },
         [](const TAppBarSettings& s) { return s.SlideTime == 400; }},
        {"slide time above 10 s", [](TAppBarSettings& s) { s.SlideTime = 10001; },
         [](const TAppBarSettings& s) { return s.SlideTime == 400; }},
        {"dock sizes of 0", [](TAppBarSettings& s) { s.VertDockSize = s.HorzDockSize = 0; },
         [](const TAppBarSettings& s) { return s.VertDockSize == 72 && s.HorzDockSize == 72; }},
        {"dock size beyond its maximum", [](TAppBarSettings& s) { s.HorzDockSize = 5000; },
         [](const TAppBarSettings& s) { return s.HorzDockSize == 400; }},
        {"negative steps", [](TAppBarSettings& s) { s.HorzSizeInc = -92; },
         [](const TAppBarSettings& s) { return s.HorzSizeInc == 0; }},
        {"floating rectangle of negative size", [](TAppBarSettings& s) { s.SetFloatRect({300, 300, 200, 100}); },
         [](const TAppBarSettings& s) { return s.FloatRect() == AppBarRect{300, 300, 424, 404}; }},
        {"floating rectangle off every screen", [](TAppBarSettings& s) { s.SetFloatRect({5000, -900, 5200, -800}); },
         [](const TAppBarSettings& s) { return s.FloatRect() == AppBarRect{400, 350, 600, 450}; }},
        {"floating maximum below the minimum", [](TAppBarSettings& s) { s.MinWidth = 124, s.MaxWidth = 3; },
         [](const TAppBarSettings& s) { return s.MaxWidth == 1000; }},
    };
    for (const Case& c : cases) {
        TAppBarSettings s = DefaultAppBarSettings({0, 0, 1000, 800});
        s.SetFloatRect({100, 100, 300, 200});
        c.spoil(s);
        SanitizeAppBarSettings(s, kScreens);
        EXPECT_TRUE(c.sane(s)) << c.name;
        EXPECT_FALSE(s.FloatRect().Empty()) << c.name;
    }
}

// Every 32-bit field at the limits of its type, one at a time and all at once: the record comes
// out within reach, and the bar's arithmetic on it overflows nothing (the sanitizer build
// aborts on an overflow).
TEST(AppBarSettingsSanity, FieldsAtTheLimitsOfTheirTypeAreClampedOrReplaced) {
    std::vector<std::size_t> offsets{0};
    for (std::size_t offset = 12; offset <= 76; offset += 4) offsets.push_back(offset);
    std::vector<TAppBarSettings> records;
    for (const std::int32_t value : {INT_MIN, INT_MIN + 1, -1, INT_MAX}) {
        TAppBarSettings all = DefaultAppBarSettings({0, 0, 1000, 800});
        for (const std::size_t offset : offsets) {
            TAppBarSettings one = DefaultAppBarSettings({0, 0, 1000, 800});
            std::memcpy(reinterpret_cast<char*>(&one) + offset, &value, sizeof value);
            std::memcpy(reinterpret_cast<char*>(&all) + offset, &value, sizeof value);
            records.push_back(one);
        }
        records.push_back(all);
    }
    // Corners far apart on either side: no width or height an int holds.
    TAppBarSettings apart = DefaultAppBarSettings({0, 0, 1000, 800});
    apart.SetFloatRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    records.push_back(apart);
    apart.SetFloatRect({INT_MAX, INT_MAX, INT_MIN, INT_MIN});
    records.push_back(apart);

    const AppBarScreen metrics{{0, 0, 1000, 800}, {0, 0, 1000, 800}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        TAppBarSettings s = records[i];
        SanitizeAppBarSettings(s, kScreens);
        SCOPED_TRACE(i);
        const AppBarRect f = s.FloatRect();
        EXPECT_TRUE(!f.Empty() && f.Intersects(kScreens[0]) && f.Width() <= s.MaxWidth && f.Height() <= s.MaxHeight);
        EXPECT_TRUE(s.SlideTime >= 0 && s.SlideTime <= 10000);
        EXPECT_TRUE(s.HorzSizeInc >= 0 && s.HorzSizeInc <= 1000 && s.VertSizeInc >= 0 && s.VertSizeInc <= 800);
        EXPECT_TRUE(s.VertDockSize >= 1 && s.VertDockSize <= s.MaxVertDockSize && s.MaxVertDockSize <= 1000);
        EXPECT_TRUE(s.HorzDockSize >= 1 && s.HorzDockSize <= s.MaxHorzDockSize && s.MaxHorzDockSize <= 800);
        for (int edge = abeLeft; edge <= abeFloat; ++edge) {
            const AppBarRect dock = DockRect(edge, metrics.screen, s.VertDockSize, s.HorzDockSize);
            EXPECT_FALSE(dock.Empty());
            if (IsDockedEdge(edge)) AutoHideRect(edge, true, false, dock, metrics);
            const TrackingLimits t = TrackingLimitsFor(edge, s, metrics.screen);
            SnapSize(t.maxWidth, s.MinWidth, s.HorzSizeInc);
            SnapSize(t.maxHeight, s.MinHeight, s.VertSizeInc);
            SlideStep(f, dock, s.SlideTime / 2, s.SlideTime);
        }
    }
}

}  // namespace
}  // namespace desktop
