#include "ui/filters/view_filter.h"

#include <gtest/gtest.h>

#include "tests/ui/filters_fixture.h"

namespace {

using platform::DaysFromMinutes;
using platform::DaysFromSeconds;
using ui::FilterWebcam;

constexpr platform::TDateTime kNow = 46000.5;

FilterWebcam PictureAgo(double seconds) {
    FilterWebcam w;
    w.lastNewPicture = kNow - DaysFromSeconds(seconds);
    return w;
}

TEST(ViewFilter, PredicatesOfEachItem) {
    FilterWebcam skewed = PictureAgo(0);  // arrived now, made 10 minutes before the server's Date
    skewed.serverDate = 46000.0;
    skewed.lastModified = 46000.0 - DaysFromMinutes(10);
    FilterWebcam halfKnown = PictureAgo(60);  // one server date alone adds nothing
    halfKnown.serverDate = 46000.0;
    FilterWebcam flags;
    flags.running = flags.favourite = flags.selected = true;
    flags.webcamType = 2;
    const FilterWebcam never;  // never had a picture: decades old
    struct Case {
        const char* what;
        int item;
        FilterWebcam webcam;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"4:59 in 5 min", ui::kFilter5Minutes, PictureAgo(299), true},
        {"5:00 in 5 min", ui::kFilter5Minutes, PictureAgo(300), false},
        {"14:59 in 15 min", ui::kFilter15Minutes, PictureAgo(899), true},
        {"15:00 in 15 min", ui::kFilter15Minutes, PictureAgo(900), false},
        {"59:59 in 1 hour", ui::kFilterHour, PictureAgo(3599), true},
        {"1 hour in 1 hour", ui::kFilterHour, PictureAgo(3600), false},
        {"23:59:59 since yesterday", ui::kFilterDay, PictureAgo(86399), true},
        {"1 day since yesterday", ui::kFilterDay, PictureAgo(86400), false},
        {"6.9 days in a week", ui::kFilterWeek, PictureAgo(6.9 * 86400), true},
        {"7 days in a week", ui::kFilterWeek, PictureAgo(7 * 86400), false},
        {"server skew of 10 min in 5 min", ui::kFilter5Minutes, skewed, false},
        {"server skew of 10 min in 15 min", ui::kFilter15Minutes, skewed, true},
        {"one server date in 5 min", ui::kFilter5Minutes, halfKnown, true},
        {"never in a week", ui::kFilterWeek, never, false},
        {"never in all", ui::kFilterAll, never, true},
        {"not favourite", ui::kFilterFavourites, never, false},
        {"favourite", ui::kFilterFavourites, flags, true},
        {"stopped", ui::kFilterRunning, never, false},
        {"running", ui::kFilterRunning, flags, true},
        {"disabled", ui::kFilterEnabled, flags, false},
        {"not selected", ui::kFilterSelected, never, false},
        {"selected", ui::kFilterSelected, flags, true},
        {"still webcam", ui::kFilterStreaming, never, false},
        {"streaming webcam", ui::kFilterStreaming, flags, true},
        {"unknown item", 11, flags, false},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::PassesViewFilter(c.item, c.webcam, kNow), c.passes) << c.what;
}

TEST(ViewFilter, CaptionsAndTimeItems) {
    const QStringList captions = ui::ViewFilterCaptions();
    ASSERT_EQ(captions.size(), 11);
    EXPECT_EQ(captions[3], QStringLiteral("depuis 5 min"));
    EXPECT_EQ(captions[7], QStringLiteral("depuis1 semaine"));
    EXPECT_EQ(captions[9], QStringLiteral("Camera selectionnee"));
    for (int item = 0; item <= 10; ++item) EXPECT_EQ(ui::IsTimeFilter(item), item >= 3 && item <= 7) << item;
}

class FillDisplayMap : public filterstest::ManagerTest {};

TEST_F(FillDisplayMap, PassingWebcamsTakeCellsInOrderWithoutGaps) {
    for (const char* name : {"a", "b", "c", "d"}) Add(name, std::string(name) == "b" || std::string(name) == "d");
    EXPECT_EQ(ui::FillDisplayMap(*manager_, ui::kFilterFavourites, kNow), 2);
    EXPECT_EQ(manager_->DisplayedCount(), 2);
    EXPECT_EQ(manager_->GetCellWebcam(0), 2);
    EXPECT_EQ(manager_->GetCellWebcam(1), 4);
    EXPECT_EQ(manager_->GetWebcam(1)->FDisplayCell, -1);
    EXPECT_EQ(manager_->GetWebcam(4)->FDisplayCell, 1);

    EXPECT_EQ(ui::FillDisplayMap(*manager_, ui::kFilterAll, kNow), 4);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(manager_->GetCellWebcam(i - 1), i);

    // Nothing selected: an empty grid.
    EXPECT_EQ(ui::FillDisplayMap(*manager_, ui::kFilterSelected, kNow), 0);
    EXPECT_EQ(manager_->DisplayedCount(), 0);
}

TEST_F(FillDisplayMap, TimeFiltersReadTheWebcamsTimesOnTheInstalledClock) {
    engine::twebcam& old = Add("old");
    engine::twebcam& fresh = Add("fresh");
    const platform::TDateTime now = platform::Now();
    old.FLastNewPicture = now - DaysFromSeconds(300);
    fresh.FLastNewPicture = now - DaysFromSeconds(299);
    EXPECT_EQ(ui::FillDisplayMap(*manager_, ui::kFilter5Minutes, now), 1);
    EXPECT_EQ(manager_->GetCellWebcam(0), 2);
    // The server's clock skew counts from the time the picture was made.
    fresh.FServerDate = now;
    fresh.FLastModified = now - DaysFromMinutes(10);
    EXPECT_EQ(ui::FillDisplayMap(*manager_, ui::kFilter5Minutes, now), 0);
}

}  // namespace
