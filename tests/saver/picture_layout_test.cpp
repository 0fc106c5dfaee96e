#include "saver/picture_layout.h"
#include "saver/picture_rotation.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The picture area of a 1024 x 768 screen above the 41-pixel caption panel.
constexpr int kAreaWidth = 1024;
constexpr int kAreaHeight = 727;

TEST(PictureRect, ThreeDisplayModes) {
    const struct {
        const char* name;
        int width, height, display;
        QRect expected;
    } cases[] = {
        {"normal size fits", 800, 600, 1, QRect(112, 63, 800, 600)},
        {"double does not fit: fitted, narrower than the area", 800, 600, 2, QRect(27, 0, 969, 727)},
        {"full screen enlarges", 320, 240, 0, QRect(27, 0, 969, 727)},
        {"double fits", 320, 240, 2, QRect(192, 123, 640, 480)},
        {"normal size too wide: fitted, lower than the area", 2000, 600, 1, QRect(0, 210, 1024, 307)},
        {"unknown display value acts as normal size", 800, 600, 5, QRect(112, 63, 800, 600)},
        {"same ratio as the area fills it", 2048, 1454, 0, QRect(0, 0, 1024, 727)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(saver::PictureRect(c.width, c.height, kAreaWidth, kAreaHeight, c.display), c.expected) << c.name;
}

TEST(PictureInterval, StoredSecondsToMilliseconds) {
    const struct {
        int stored, ms;
    } cases[] = {{0, 10000}, {1, 1000}, {30, 30000}, {6000, 6000000}, {6001, 6000000},
                 {-5, 1000}, {0x7FFFFFFF, 6000000}};
    for (const auto& c : cases) EXPECT_EQ(saver::PictureIntervalMs(c.stored), c.ms) << c.stored;
}

TEST(MouseTravel, MoreThanFourPixelsEnds) {
    saver::MouseTravel travel;
    travel.Reset({100, 100});
    EXPECT_FALSE(travel.Moved({104, 100}));  // exactly 4
    EXPECT_FALSE(travel.Moved({106, 102}));  // 2 + 2 from the last event
    EXPECT_TRUE(travel.Moved({111, 102}));   // 5
    EXPECT_FALSE(travel.Moved({0, 500}));    // reported at x = 0: ignored, not remembered
    EXPECT_FALSE(travel.Moved({500, 0}));
    EXPECT_FALSE(travel.Moved({113, 104}));  // 4 from (111, 102)
    EXPECT_TRUE(travel.Moved({113, 99}));    // 5
}

std::vector<engine::tsdo> List(std::initializer_list<int> savedCounts) {
    std::vector<engine::tsdo> list;
    for (int saved : savedCounts) {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.SavedCount = static_cast<std::uint8_t>(saved);
        list.emplace_back(rec);
    }
    return list;
}

TEST(PictureRotation, InOrderWrapsAround) {
    const auto list = List({0, 0, 0});
    saver::PictureRotation rotation(true);
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        rotation.SelectNext(list, false);
        shown.push_back(rotation.index());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
}

TEST(PictureRotation, SavedOnlyPicksAmongWebcamsWithPictures) {
    saver::PictureRotation rotation(false, 7);
    std::set<int> picked;
    for (int i = 0; i < 200; ++i) {
        rotation.SelectNext(List({0, 3, 0, 1}), true);
        picked.insert(rotation.index());
    }
    EXPECT_EQ(picked, (std::set<int>{1, 3}));
    rotation.SelectNext(List({0, 0}), true);
    EXPECT_EQ(rotation.index(), -1);
}

// A failed live fetch on a webcam without pictures shows another's, then the live rotation
// goes on from the failed one.
TEST(PictureRotation, FallBackKeepsTheFailedIndex) {
    const auto list = List({0, 0, 5});
    saver::PictureRotation rotation(true);
    rotation.SelectNext(list, false);
    ASSERT_EQ(rotation.index(), 0);
    rotation.BeginFallBack(list);
    EXPECT_EQ(rotation.index(), 2);
    rotation.EndFallBack();
    EXPECT_EQ(rotation.index(), 0);
    rotation.SelectNext(list, false);
    EXPECT_EQ(rotation.index(), 1);
}

TEST(PictureRotation, SavedPickReachesTheLastPicture) {
    saver::PictureRotation rotation(false, 11);
    std::set<std::size_t> picked;
    for (int i = 0; i < 200; ++i) picked.insert(rotation.PickSaved(3));
    EXPECT_EQ(picked, (std::set<std::size_t>{0, 1, 2}));
    EXPECT_EQ(rotation.PickSaved(1), 0u);
}

}  // namespace
