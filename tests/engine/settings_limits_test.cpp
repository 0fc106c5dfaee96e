#include "engine/regconfig.h"
#include "engine/settings_limits.h"
#include "engine/webcam_records.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

using namespace engine;

TEST(SettingsLimits, EachThumbnailSideOutOfRangeIsItsDefault) {
    struct Case {
        std::int32_t width, height;
        int wantWidth, wantHeight;
    };
    std::int32_t hostileWidth = 0, hostileHeight = 0;  // EXTRA2's bytes 256..263 f0abe8c6 9cb09654
    const unsigned char hostile[] = {0xf0, 0xab, 0xe8, 0xc6, 0x9c, 0xb0, 0x96, 0x54};
    std::memcpy(&hostileWidth, hostile, 4);
    std::memcpy(&hostileHeight, hostile + 4, 4);
    const Case cases[] = {
        {86, 80, 86, 80},
        {20, 20, 20, 20},
        {640, 480, 640, 480},
        {320, 240, 320, 240},
        {19, 481, 86, 80},
        {641, 479, 86, 479},
        {0, 0, 86, 80},
        {-1, 100, 86, 100},
        {INT_MAX, INT_MIN, 86, 80},
        {hostileWidth, hostileHeight, 86, 80},
    };
    for (const Case& c : cases) {
        const ThumbnailSize size = SaneThumbnailSize(c.width, c.height);
        EXPECT_EQ(size.width, c.wantWidth) << c.width << " x " << c.height;
        EXPECT_EQ(size.height, c.wantHeight) << c.width << " x " << c.height;
        TExtra2Rec extra2 = ZeroRecord<TExtra2Rec>();
        extra2.ThumbWidth = c.width;
        extra2.ThumbHeight = c.height;
        SaneExtra2(extra2);
        EXPECT_EQ(extra2.ThumbWidth, c.wantWidth);
        EXPECT_EQ(extra2.ThumbHeight, c.wantHeight);
    }
}

TEST(SettingsLimits, ConfigNumbersOutOfRangeGetTheirDefaultsFieldByField) {
    TConfigRec rec = DefaultConfig();
    rec.LeftPanelWidth = INT_MAX;
    rec.SlowScanRefresh = 1440;  // in range: kept
    rec.SlowScanIdle = -5;
    rec.MaxThreads = 200;  // the manager clamps it itself
    rec.WindowWidth = 99999;  // the window fits it to the screen
    SaneConfig(rec);
    EXPECT_EQ(rec.LeftPanelWidth, 222);
    EXPECT_EQ(rec.SlowScanRefresh, 1440);
    EXPECT_EQ(rec.SlowScanIdle, 60);
    EXPECT_EQ(rec.MaxThreads, 200);
    EXPECT_EQ(rec.WindowWidth, 99999);
    rec.LeftPanelWidth = 0;
    rec.SlowScanRefresh = 0;
    rec.SlowScanIdle = 1441;
    SaneConfig(rec);
    EXPECT_EQ(rec.LeftPanelWidth, 0);  // not set: the splitter keeps its own
    EXPECT_EQ(rec.SlowScanRefresh, 60);
    EXPECT_EQ(rec.SlowScanIdle, 60);
}

}  // namespace
