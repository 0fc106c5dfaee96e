#include "engine/picture_histogram.h"

#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

namespace {

using engine::Bitmap;
using engine::ChannelHistogram;
using engine::FindStretchLevels;
using engine::MapStretchLevel;
using engine::StretchLevels;

TEST(HistogramStretch, LevelsOfEdgeHistograms) {
    ChannelHistogram oneLevel{};
    oneLevel[100] = 1000;
    ChannelHistogram black{};
    black[0] = 990;
    black[200] = 10;
    ChannelHistogram ramp{};  // 10 pixels on each of the levels 50..149
    for (int v = 50; v < 150; ++v)
        ramp[v] = 10;
    struct Case { const char* name; const ChannelHistogram* h; std::int64_t clip; int mix; StretchLevels want; };
    const Case cases[] = {
        {"one level, centre", &oneLevel, 0, 0, {101, 99, 100}},
        {"one level, median", &oneLevel, 0, 20, {101, 99, 101}},
        {"almost black", &black, 40, 10, {256, -1, (10 * 256 + 10 * 127) / 20}},
        {"ramp without clip, centre", &ramp, 0, 0, {51, 148, 99}},
        {"ramp clipped 20 each end, median", &ramp, 20, 20, {53, 146, 101}},
    };
    for (const Case& c : cases) {
        const StretchLevels got = FindStretchLevels(*c.h, c.clip, c.mix);
        EXPECT_EQ(got.low, c.want.low) << c.name;
        EXPECT_EQ(got.high, c.want.high) << c.name;
        EXPECT_EQ(got.mid, c.want.mid) << c.name;
    }
}

TEST(HistogramStretch, MapsAroundTheMidPoint) {
    const StretchLevels levels{50, 150, 100};
    struct Case { int v; int want; };
    for (const Case c : {Case{49, 0}, Case{50, 0}, Case{75, 64}, Case{100, 128}, Case{101, 130}, Case{150, 255},
                         Case{151, 255}}) {
        EXPECT_EQ(MapStretchLevel(levels, c.v), c.want) << c.v;
    }
    // An empty lower half is never scaled.
    EXPECT_EQ(MapStretchLevel(StretchLevels{60, 200, 60}, 60), 0);
}

TEST(HistogramStretch, FlatAndBlackPicturesBecomeBlack) {
    struct Case { std::uint8_t level; int percent; };
    for (const Case c : {Case{100, 0}, Case{0, 100}}) {
        Bitmap b = testpictures::MakeBitmap(40, 30, [&](int, int) { return c.level * 0x010101u; });
        engine::HistogramStretch(b, c.percent, 10);
        for (std::size_t i = 0; i < b.size(); ++i)
            ASSERT_EQ(b.data()[i], 0) << int(c.level);
    }
}

TEST(HistogramStretch, StretchesAGreyRampToTheFullRangeAndIgnoresABadPercent) {
    Bitmap ramp = testpictures::MakeGrey(100, 10, [](int x, int) { return static_cast<std::uint8_t>(50 + x); });
    Bitmap unchanged = ramp;
    engine::HistogramStretch(unchanged, 101, 10);
    EXPECT_EQ(unchanged, ramp);
    engine::HistogramStretch(ramp, 0, 0);
    EXPECT_EQ(ramp.row(0)[0], 0);     // level 50 < low 51
    EXPECT_EQ(ramp.row(0)[99], 255);  // level 149 > high 148
    EXPECT_EQ(ramp.row(0)[49], 128);  // level 99 is the mid point
}

}  // namespace
