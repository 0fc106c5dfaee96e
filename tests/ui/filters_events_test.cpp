#include "ui/filters/view_filters.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "engine/webcam_events.h"
#include "media/qt/led_gauge.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/filters_fixture.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filter_host.h"

namespace {

using engine::kPictureMotion;
using engine::kPictureNoChange;
using engine::kPictureNoTest;

class FakeView : public ui::PictureView {
public:
    void SetShowsLivePicture(bool live) override { calls << QStringLiteral("live %1").arg(live); }
    void ShowPictureFile(const std::string& fileName, bool withCaption) override {
        calls << QStringLiteral("file %1 %2").arg(QString::fromStdString(fileName)).arg(withCaption);
    }
    void DisplayEnginePicture(engine::twebcampicture&) override { calls << QStringLiteral("display"); }
    void ShowUnsavedCaption() override { calls << QStringLiteral("unsaved caption"); }
    void RepaintPicture() override { calls << QStringLiteral("repaint"); }
    QStringList calls;
};

class FakeHost : public ui::ViewFilterHost {
public:
    int FilterItem() const override { return item; }
    int CurrentWebcam() const override { return current; }
    void ShowWebcam(int webcam) override {
        calls << QStringLiteral("show %1").arg(webcam);
        current = webcam;
    }
    void MarkCurrentWebcam(int webcam) override { calls << QStringLiteral("mark %1").arg(webcam); }
    void RedrawWebcamCell(int webcam) override { calls << QStringLiteral("cell %1").arg(webcam); }
    void GridChanged() override { calls << QStringLiteral("grid"); }
    void FocusGrid() override { calls << QStringLiteral("focus"); }
    bool ViewerPageShown() const override { return viewerPage; }
    bool FollowNewPictures() const override { return follow; }
    void SetStatusLabel(const QString& text) override { status = text; }
    void UpdateStatusGauges() override { calls << QStringLiteral("gauges"); }
    media::TMMLEDGauge& MotionGauge() override { return gauge; }
    int MotionThreshold() const override { return 5; }
    bool DiskShowThumbnails() const override { return thumbnails; }
    void SetDiskShowThumbnails(bool on) override {
        thumbnails = on;
        calls << QStringLiteral("thumbnails %1").arg(on);
    }
    void DiskRefreshSelectLast() override { calls << QStringLiteral("disk refresh"); }
    void DiskAddPending() override { calls << QStringLiteral("disk pending"); }
    void ShowWebcamInfo() override { calls << QStringLiteral("info"); }
    void UpdateQuickBarButton(int webcam) override { calls << QStringLiteral("quick %1").arg(webcam); }

    int item = ui::kFilterAll;
    int current = 1;
    bool viewerPage = true;
    bool follow = false;
    bool thumbnails = true;
    QString status;
    QStringList calls;
    media::TMMLEDGauge gauge;
};

class ViewFilterEvents : public filterstest::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        for (const char* name : {"one", "two", "three"}) Add(name);
        owned_ = std::make_unique<ui::ViewFilters>(*manager_, host_, view_);
        filters().ApplyViewFilter();
        host_.calls.clear();
    }
    void TearDown() override {
        owned_.reset();
        ManagerTest::TearDown();
    }
    void NewPicture(int index, const std::string& file, std::uint8_t kind, bool withPicture, int score = 0) {
        auto picture = filterstest::MakePicture(filterstest::PictureBytes(8, 6));
        filters().NewPictureArrived(index, file, nullptr, kind, withPicture ? picture.get() : nullptr, score);
    }

    FakeHost host_;
    FakeView view_;
    std::unique_ptr<ui::ViewFilters> owned_;
    ui::ViewFilters& filters() { return *owned_; }
};

TEST_F(ViewFilterEvents, ANewPictureOfAnotherWebcamOnlyRedrawsItsCellUnlessFollowed) {
    struct Case {
        const char* what;
        bool follow;
        std::uint8_t kind;
        QStringList hostCalls;
    };
    const std::vector<Case> cases = {
        {"follow off", false, kPictureNoTest, {"cell 2", "quick 2"}},
        {"follow on, no change", true, kPictureNoChange, {"cell 2", "quick 2"}},
        {"follow on, motion", true, kPictureMotion, {"show 2", "mark 2", "cell 2", "quick 2"}},
        {"follow on, no test", true, kPictureNoTest, {"show 2", "mark 2", "cell 2", "quick 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_.current = 1;
        host_.follow = c.follow;
        host_.calls.clear();
        view_.calls.clear();
        manager_->GetWebcam(2)->FNewPicture = false;
        NewPicture(1, "", c.kind, true, 30);
        EXPECT_EQ(host_.calls, c.hostCalls);
        const bool followed = c.hostCalls.contains(QStringLiteral("show 2"));
        EXPECT_EQ(view_.calls, followed ? QStringList{"repaint"} : QStringList{});
        EXPECT_EQ(manager_->GetWebcam(2)->FNewPicture, followed);
        EXPECT_EQ(host_.gauge.Progress(), followed && c.kind == kPictureMotion ? 30 : 0);
    }
}

TEST_F(ViewFilterEvents, TheCurrentWebcamsPictureGoesIntoTheViewer) {
    NewPicture(0, "/data/one/x20261210081502.jpg", kPictureMotion, false, 25);
    EXPECT_EQ(view_.calls, (QStringList{"live 0", "file /data/one/x20261210081502.jpg 1", "repaint"}));
    // The thumbnail switch is off while the new file is listed, and restored.
    EXPECT_EQ(host_.calls,
              (QStringList{"thumbnails 0", "disk refresh", "info", "thumbnails 1", "cell 1", "quick 1"}));
    EXPECT_EQ(host_.gauge.Progress(), 25);
    EXPECT_EQ(host_.gauge.Point1(), 20);
    EXPECT_EQ(host_.gauge.Point2(), 20);

    view_.calls.clear();
    NewPicture(0, "", kPictureNoTest, true);
    EXPECT_EQ(view_.calls, (QStringList{"live 1", "display", "unsaved caption", "repaint"}));
    EXPECT_EQ(host_.gauge.Progress(), 0);
}

TEST_F(ViewFilterEvents, WhileTheDiskPageShowsOnlyTheCellAndTheQuickBarChange) {
    host_.viewerPage = false;
    host_.follow = true;
    NewPicture(0, "/data/one/x.jpg", kPictureMotion, false);
    NewPicture(1, "", kPictureMotion, true);
    filters().StreamPictureArrived(0, "", nullptr, kPictureNoTest, nullptr, 0);
    EXPECT_TRUE(view_.calls.isEmpty());
    EXPECT_EQ(host_.calls, (QStringList{"cell 1", "quick 1", "cell 2", "quick 2", "cell 1", "quick 1"}));
}

TEST_F(ViewFilterEvents, AStreamFrameOfTheCurrentWebcamIsDisplayedNotLoaded) {
    auto frame = filterstest::MakePicture(filterstest::PictureBytes(8, 6));
    filters().StreamPictureArrived(0, "/data/one/x2026121008150201.jpg", nullptr, kPictureNoTest, frame.get(), 0);
    EXPECT_EQ(view_.calls, (QStringList{"live 1", "display", "repaint"}));
    EXPECT_EQ(host_.calls, (QStringList{"thumbnails 0", "disk pending", "info", "thumbnails 1", "cell 1", "quick 1"}));
    // Frames never make the viewer follow another webcam.
    host_.follow = true;
    host_.calls.clear();
    filters().StreamPictureArrived(1, "", nullptr, kPictureMotion, frame.get(), 0);
    EXPECT_EQ(host_.calls, (QStringList{"cell 2", "quick 2"}));
}

TEST_F(ViewFilterEvents, TimeFiltersShowAHiddenWebcamWithItsNextPictureAndDropItWhenOld) {
    engine::twebcam& two = *manager_->GetWebcam(2);
    two.FLastNewPicture = platform::Now() - platform::DaysFromMinutes(6);
    host_.item = ui::kFilter5Minutes;
    filters().ApplyViewFilter();
    EXPECT_EQ(manager_->DisplayedCount(), 0);
    host_.calls.clear();
    // The engine stamps the arrival before it reports.
    two.FLastNewPicture = platform::Now();
    NewPicture(1, "", kPictureNoTest, true);
    EXPECT_EQ(host_.calls.first(), QStringLiteral("grid"));
    EXPECT_EQ(two.FDisplayCell, 0);

    // The 30 s timer drops it once its picture is 5 minutes old, and leaves other filters alone.
    clock_.AdvanceSeconds(299);
    filters().Timer4Timer();
    EXPECT_EQ(two.FDisplayCell, 0);
    clock_.AdvanceSeconds(30);
    filters().Timer4Timer();
    EXPECT_EQ(two.FDisplayCell, -1);
    host_.item = ui::kFilterSelected;
    host_.calls.clear();
    filters().Timer4Timer();
    EXPECT_TRUE(host_.calls.isEmpty());
}

TEST_F(ViewFilterEvents, ChangingTheFilterShowsTheFirstCellWhenTheCurrentWebcamIsHidden) {
    manager_->GetWebcam(3)->FSelected = true;
    host_.current = 1;
    host_.item = ui::kFilterSelected;
    filters().ComboBox1Change();
    EXPECT_EQ(host_.calls, (QStringList{"grid", "show 3", "focus"}));
    host_.calls.clear();
    host_.item = ui::kFilterAll;
    filters().ComboBox1Change();
    EXPECT_EQ(host_.calls, (QStringList{"grid", "focus"}));
}

TEST_F(ViewFilterEvents, StatusChangeRedrawsAndNamesTheStatus) {
    filters().WebcamStatusChanged(1, engine::kStatusWaiting);
    EXPECT_EQ(host_.calls, (QStringList{"cell 2", "gauges"}));
    EXPECT_TRUE(host_.status.startsWith(QStringLiteral("two - ")));
    EXPECT_GT(host_.status.size(), 6);
}

}  // namespace
