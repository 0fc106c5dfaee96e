// The main window wired to a real webcam manager (fetch threads that never fetch): its menu
// items run the commands, the form's keys move between webcams, the webcam chooser's marks
// become the grid's selection, the manager's events reach the view, every load runs behind the
// loading window and a blanked thumbnail is redrawn at once.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "engine/categories.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "tests/support/webcam_defs.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/controls/draw_grid1.h"
#include "ui/forms/loadingwc.h"
#include "ui/filters/view_filter.h"
#include "ui/main/main_menus.h"
#include "ui/main/manager_dialog_sources.h"
#include "ui/main/tsupamain.h"

namespace {

// The regions painted and the times shown of the widget it watches.
class EventWatch : public QObject {
public:
    explicit EventWatch(QWidget& watched) { watched.installEventFilter(this); }
    std::vector<QRegion> painted;
    int shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted.push_back(static_cast<QPaintEvent*>(event)->region());
        if (event->type() == QEvent::Show) ++shown;
        return false;
    }
};

class MainFormWiring : public mainformtest::StartedMainWindowTest {
protected:
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(form_.get(), &press);
    }
};

TEST_F(MainFormWiring, MenuItemsRunTheCommandsOnTheManager) {
    EXPECT_TRUE(Item("ToolButton8").isEnabled());
    Item("Startallwebcams1").trigger();
    EXPECT_EQ(manager_->RunningCount(), 3);
    Item("Stopallwebcams2").trigger();  // the tray's item runs the same command
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_TRUE(form_->StopRequested);
    // A check item that the command turns itself: one trigger, one change.
    const bool slowScan = form_->Extra1.SlowScanOn != 0;
    Item("SlowScanInactiveWebcams1").trigger();
    EXPECT_EQ(form_->Extra1.SlowScanOn != 0, !slowScan);
    EXPECT_EQ(Item("SlowScanInactiveWebcams1").isChecked(), !slowScan);
}

TEST_F(MainFormWiring, ArrowKeysOfTheFormMoveBetweenWebcams) {
    ASSERT_EQ(form_->CurrentWebcam(), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(form_->CurrentWebcam(), 2);
    Key(Qt::Key_Down, Qt::ControlModifier);  // to the last one
    EXPECT_EQ(form_->CurrentWebcam(), 3);
    Key(Qt::Key_Up);
    EXPECT_EQ(form_->CurrentWebcam(), 2);
    EXPECT_EQ(form_->findChild<QLabel*>("Label2")->text(), QStringLiteral("Cam2"));
}

TEST_F(MainFormWiring, WebcamsMarkedInTheChooserAreTheOnesTheGridShows) {
    ui::ManagerChooserSource source(*manager_, [this] { form_->ShowFilter(ui::kFilterSelected); });
    ASSERT_EQ(source.WebcamCount(), 3);
    EXPECT_EQ(source.WebcamRecord(2).Name.str(), "Cam3");
    source.ShowOnlySelected({1, 3});
    EXPECT_EQ(form_->findChild<QComboBox*>("ComboBox1")->currentIndex(), ui::kFilterSelected);
    EXPECT_EQ(manager_->DisplayedCount(), 2);
    EXPECT_EQ(manager_->GetCellWebcam(1), 3);
    EXPECT_FALSE(manager_->GetWebcam(2)->FSelected);
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    QWidget* widget() const { return widget_; }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget* widget_;
};

// A burst of the engine's status changes is painted with the next frame, once, and what the
// window then shows is what the last events give: the last text in the status line, the
// gauges of the final queue and thread states, each cell with its webcam's last status.
TEST_F(MainFormWiring, ABurstOfStatusChangesIsPaintedOnceAsItsLastEventsLeaveIt) {
    form_->show();
    manager_->StartAll();  // the idle threads take nothing: all three stay queued
    QApplication::processEvents();
    auto* label = form_->findChild<QLabel*>("Label1");
    auto* grid = form_->findChild<ui::TDrawGrid1*>("DrawGrid11");
    std::vector<media::TMMLEDGauge*> gauges;
    for (const char* name : {"MMLEDGauge1", "MMLEDGauge2", "MMLEDGauge3", "MMLEDGauge4"})
        gauges.push_back(form_->findChild<media::TMMLEDGauge*>(name));
    std::vector<std::unique_ptr<PaintCounter>> counters;
    counters.push_back(std::make_unique<PaintCounter>(label));
    counters.push_back(std::make_unique<PaintCounter>(grid->viewport()));
    for (auto* gauge : gauges) counters.push_back(std::make_unique<PaintCounter>(gauge));

    const std::uint8_t statuses[] = {engine::kStatusQueued, engine::kStatusHeader, engine::kStatusPicture,
                                     engine::kStatusWaiting, engine::kStatusError};
    const int threads = static_cast<int>(manager_->FThreads.size());
    ASSERT_EQ(threads, 16);
    for (int round = 0; round < 40; ++round) {
        for (int t = 0; t < threads; ++t) manager_->FThreads[static_cast<std::size_t>(t)]->FState = (t + round) % 3;
        for (int i = 0; i < 3; ++i) manager_->StatusChanged(i, statuses[(round + i) % 5]);
    }
    // The final round: 8 threads fetch a picture, 4 check a header.
    for (int t = 0; t < threads; ++t) manager_->FThreads[static_cast<std::size_t>(t)]->FState = t < 8 ? 2 : t < 12;
    manager_->StatusChanged(2, engine::kStatusHeader);
    manager_->StatusChanged(0, engine::kStatusError);
    for (const auto& counter : counters)
        EXPECT_EQ(counter->paints, 0) << counter->widget()->objectName().toStdString() << " painted inside the calls";
    EXPECT_EQ(gauges[2]->Progress(), 0) << "the gauges read the counts with the frame, not at each change";

    mainformtest::PassFrames();
    EXPECT_EQ(counters[0]->paints, 1) << "status line";
    EXPECT_EQ(counters[1]->paints, 1) << "grid";
    EXPECT_EQ(label->text(),
              QStringLiteral("Cam1 - ") + QString::fromStdString(engine::WebcamStatusText(engine::kStatusError)));
    const int progress[] = {100, 0, 50, 25};  // queued, waiting, pictures, headers
    for (std::size_t g = 0; g < gauges.size(); ++g) {
        EXPECT_EQ(gauges[g]->Progress(), progress[g]) << g;
        EXPECT_LE(counters[g + 2]->paints, 1) << g;
    }
    const std::uint8_t lastStatus[] = {engine::kStatusError, engine::kStatusQueued, engine::kStatusHeader};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(manager_->GetWebcam(i + 1)->FStatus, lastStatus[i]) << i;
    // On the screen, each of them is what a paint of the present state draws: nothing stale.
    QScreen* screen = form_->screen();
    for (const auto& counter : counters) {
        QWidget* widget = counter->widget();
        const QPoint at = widget->mapTo(form_.get(), QPoint(0, 0));
        const QImage shown =
            screen->grabWindow(form_->winId(), at.x(), at.y(), widget->width(), widget->height()).toImage();
        const QImage fresh = widget->grab().toImage().convertToFormat(shown.format());
        EXPECT_TRUE(shown == fresh) << widget->objectName().toStdString();
    }
}

// Status changes that each come in a wake-up of their own, as they do under load, are shown a
// frame at a time, not one paint (and one layout of the window) each.
TEST_F(MainFormWiring, StatusChangesInWakeUpsOfTheirOwnAreShownAFrameAtATime) {
    form_->show();
    QApplication::processEvents();
    auto* label = form_->findChild<QLabel*>("Label1");
    PaintCounter counter(label);
    constexpr int kChanges = 20;
    // The status line's frame: the label takes a new text at most once in each.
    constexpr auto kFrame = std::chrono::milliseconds(16);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kChanges; ++i) {
        manager_->StatusChanged(i % 3, i % 2 ? engine::kStatusPicture : engine::kStatusWaiting);
        QApplication::processEvents();
    }
    // However busy the machine, no more paints than frames begun while the changes came (and
    // the one that takes the last text): a paint per change would exceed that whenever the
    // changes came faster than one a frame.
    const int frames = static_cast<int>((std::chrono::steady_clock::now() - start) / kFrame) + 1;
    mainformtest::PassFrames();
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, std::min(frames, kChanges) + 1) << frames << " frames";
    EXPECT_EQ(label->text(),
              QStringLiteral("Cam2 - ") + QString::fromStdString(engine::WebcamStatusText(engine::kStatusPicture)));
}

TEST_F(MainFormWiring, StatusChangesOfTheEngineReachTheStatusLine) {
    manager_->StatusChanged(1, engine::kStatusStopped);
    mainformtest::PassFrames();
    EXPECT_EQ(form_->findChild<QLabel*>("Label1")->text(),
              QStringLiteral("Cam2 - ") + QString::fromStdString(engine::WebcamStatusText(engine::kStatusStopped)));
}

// Every reload of the definitions shows its progress as the start-up load does.
TEST_F(MainFormWiring, EveryReloadRunsBehindTheLoadingWindow) {
    const std::filesystem::path other = dataDir().parent_path() / "other";
    std::filesystem::create_directories(other);
    testsupport::WriteWebcamDefs(other.string() + "/", {"http://127.0.0.1:9/d.jpg"});
    const std::pair<const char*, std::function<void()>> reloads[] = {
        {"delete of the current webcam",
         [&] {
             prompts_.answers = {true, false};  // delete it, keep its pictures
             Item("Deletecurrentwebcam1").trigger();
         }},
        {"another data folder",
         [&] {
             prompts_.paths = {QString::fromStdString(other.string())};
             Item("SelectWebcamFolder1").trigger();
         }},
    };
    const int webcams[] = {2, 1};
    for (std::size_t n = 0; n < std::size(reloads); ++n) {
        const auto& [what, reload] = reloads[n];
        EventWatch loading(ui::loadingwc());
        reload();
        EXPECT_EQ(form_->WebcamManager()->Count(), webcams[n]) << what;
        EXPECT_GE(loading.shown, 1) << what;
        EXPECT_FALSE(ui::loadingwc().isVisible()) << what;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << what;
    }
}

// "Delete all pictures" blanks the selected webcams' thumbnails: the cell is painted with the
// frame that follows the command, not left for some later repaint.
TEST_F(MainFormWiring, ABlankedThumbnailIsRedrawnAtOnce) {
    form_->resize(900, 600);
    ASSERT_TRUE(dialogtest::ShowExposed(*form_));
    form_->ShowWebcam(2);
    form_->MarkCurrentWebcam(2);
    auto& grid = dialogtest::Child<ui::TDrawGrid1>(*form_, "DrawGrid11");
    const int cell = manager_->GetWebcam(2)->FDisplayCell;
    const QRect rect = grid.CellRect(cell % grid.ColCount(), cell / grid.ColCount());
    QApplication::processEvents();
    EventWatch viewport(*grid.viewport());
    prompts_.answers = {true};
    Item("DeleteAllPicturesforcurrentwebcam1").trigger();
    QApplication::processEvents();
    bool cellPainted = false;
    for (const QRegion& region : viewport.painted) cellPainted = cellPainted || region.contains(rect);
    EXPECT_TRUE(cellPainted);
}

}  // namespace
