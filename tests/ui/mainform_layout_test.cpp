// The main window's layout as a person meets it: the first start opens with room for the grid
// beside the view, clicks on thumbnails never move the split, the grid always shows one whole
// column, the user's split outlives resizes and restarts, the status line stays readable beside
// the gauges, and dialogs open centred on the window (global saving at its button).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QLabel>
#include <QMouseEvent>
#include <QSplitter>

#include <filesystem>

#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "tests/support/temp_dir.h"
#include "tests/support/webcam_defs.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/filters_fixture.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/controls/draw_grid1.h"
#include "ui/dialogs/changerefresh.h"
#include "ui/dialogs/favpref.h"
#include "ui/dialogs/globalsave.h"
#include "ui/main/main_menus.h"
#include "ui/main/screen_placement.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/tsupamain.h"

namespace {

using dialogtest::Child;

class MainWindowLayout : public mainformtest::MainWindowTest {
protected:
    // Cam1..Cam3, each with a saved 640 x 480 picture, so a click fills the view's caption,
    // byte count and size.
    engine::twebcammanager* Start() {
        WriteThreeWebcams();
        for (const char* name : {"Cam1", "Cam2", "Cam3"})
            testsupport::WriteFile(dataDir() / name / "20261211101010.jpg", filterstest::PictureBytes(640, 480));
        FormWithIdleManager().StartUp();
        form_->Timer3Timer();
        return form_->WebcamManager();
    }
    void StoreLayout(int width, int height, int leftPanel, int thumbWidth, int thumbHeight) {
        engine::tregconfig store;
        engine::TConfigRec config{};
        store.ReadConfig(config);
        config.WindowWidth = width;
        config.WindowHeight = height;
        config.LeftPanelWidth = leftPanel;
        store.WriteConfig(config);
        testsupport::StoreThumbnailSize(thumbWidth, thumbHeight);
    }
    QWidget& Panel() { return Child<QWidget>(*form_, "Panel1"); }
    ui::TDrawGrid1& Grid() { return Child<ui::TDrawGrid1>(*form_, "DrawGrid11"); }
    // The grid shows a whole cell beside its scroll bar.
    void ExpectAWholeColumn(const char* when) {
        ui::TDrawGrid1& grid = Grid();
        EXPECT_GE(grid.viewport()->width(), grid.DefaultColWidth()) << when;
        EXPECT_GE(grid.width(), grid.DefaultColWidth() + 20) << when;
    }
    void Click(int webcam) {
        ui::TDrawGrid1& grid = Grid();
        const int cell = form_->WebcamManager()->GetWebcam(webcam)->FDisplayCell;
        const QPoint at = grid.CellRect(cell % grid.ColCount(), cell / grid.ColCount()).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &release);
        QApplication::processEvents();
    }
    // The window shown, and the grid laid out as the relayout timer does after a resize.
    void Show() {
        ASSERT_TRUE(dialogtest::ShowExposed(*form_));
        form_->Thumbnails().resizetimerTimer();
    }
    void Resize(int width, int height) {
        form_->resize(width, height);
        QApplication::processEvents();
        form_->Thumbnails().resizetimerTimer();
    }
};

// No size stored yet: the record's 640 x 480 is too narrow for the grid's two default columns
// beside the view.
TEST_F(MainWindowLayout, TheFirstStartOpensWithRoomForTheGridAndTheViewAndClicksNeverMoveTheSplit) {
    ASSERT_NE(Start(), nullptr);
    Show();
    EXPECT_EQ(Panel().width(), 222);  // the stored (default) split
    EXPECT_EQ(Grid().ColCount(), 2);
    ExpectAWholeColumn("at the first size");
    const int split = Panel().width();
    for (int webcam : {1, 2, 3, 1}) {
        Click(webcam);
        EXPECT_EQ(form_->CurrentWebcam(), webcam);
        EXPECT_EQ(Panel().width(), split) << "after a click on webcam " << webcam;
    }
    EXPECT_FALSE(Child<QLabel>(*form_, "Label9").text().isEmpty());  // the caption did fill
}

// In a window at its least width, every zoom text fits the room the view keeps for it: zooming
// never moves the split.
TEST_F(MainWindowLayout, ZoomingNeverMovesTheSplitOfANarrowWindow) {
    ASSERT_NE(Start(), nullptr);
    Show();
    Resize(form_->minimumSizeHint().width(), 500);
    const int split = Panel().width();
    for (const char* button : {"SpeedButton34", "SpeedButton34", "SpeedButton34", "SpeedButton33", "SpeedButton33",
                               "SpeedButton33", "SpeedButton33", "SpeedButton33", "SpeedButton36", "SpeedButton1"}) {
        dialogtest::Click(*form_, button);
        QApplication::processEvents();
        EXPECT_EQ(Panel().width(), split) << "after " << button << ", zoom "
                                          << Child<QLabel>(*form_, "Label32").text().toStdString();
    }
}

// A stored split wider than the window allows, and large thumbnails: the grid keeps one whole
// column, the split comes back when the window grows, and the split is what is stored again.
TEST_F(MainWindowLayout, TheUsersSplitOutlivesResizesAndRestartsWithLargeThumbnails) {
    StoreLayout(700, 500, 300, 160, 120);
    ASSERT_NE(Start(), nullptr);
    Show();
    ExpectAWholeColumn("in a narrow window");
    Resize(1100, 700);
    EXPECT_EQ(Panel().width(), 300);
    Click(2);
    EXPECT_EQ(Panel().width(), 300);
    ExpectAWholeColumn("in a wide window");
    Resize(700, 500);
    ASSERT_TRUE(form_->FormClose());
    engine::tregconfig store;
    engine::TConfigRec config{};
    store.ReadConfig(config);
    EXPECT_EQ(config.LeftPanelWidth, 300);
}

// The status line beside the gauges in the first window: the webcam's name and state whole.
TEST_F(MainWindowLayout, TheStatusLineStaysReadableBesideTheGauges) {
    engine::twebcammanager* manager = Start();
    ASSERT_NE(manager, nullptr);
    Show();
    manager->StatusChanged(1, engine::kStatusWaiting);
    mainformtest::PassFrames();  // the status line takes its text with the next frame
    auto& label = Child<QLabel>(*form_, "Label1");
    ASSERT_TRUE(label.text().startsWith(QStringLiteral("Cam2 - ")));
    EXPECT_GE(label.contentsRect().width(), label.fontMetrics().horizontalAdvance(label.text()));
}

// Dialogs without a parent (once centred on the screen) open on the middle of the window;
// global saving opens at the bottom-left corner of its button, SpeedButton2, kept within the
// screen.
TEST_F(MainWindowLayout, EveryDialogOpensCentredOnTheWindowAndWithinTheScreen) {
    ASSERT_NE(Start(), nullptr);
    form_->ShowWebcam(1);
    form_->MarkCurrentWebcam(1);
    const QRect area = form_->screen()->availableGeometry();
    const int kFrames = 20;  // what the window manager's frames may shift a centre by
    struct Case {
        const char* command;
        QDialog& dialog;
    } cases[] = {{"GlobalSaveControl1", ui::globalsave()},
                 {"PreferencesforFavorites1", ui::favpref()},
                 {"Changerefreshrateforselectedwebcams1", ui::changerefresh()}};
    // The window in two places: off the screen's middle, then reaching past its corner.
    for (const QRect& window : {QRect(40, 30, 700, 500), QRect(area.width() - 500, area.height() - 300, 700, 500)}) {
        form_->setGeometry(window);
        Show();
        const QPoint centre = form_->frameGeometry().center();
        for (const Case& c : cases) {
            QRect opened;
            dialogtest::WhenShown(c.dialog, [&] {
                opened = c.dialog.frameGeometry();
                c.dialog.reject();
            });
            ui::FindCommand(*form_, c.command)->trigger();
            ASSERT_FALSE(opened.isNull()) << c.command;
            EXPECT_TRUE(area.contains(opened)) << c.command;
            if (&c.dialog == &ui::globalsave())
                EXPECT_LE((opened.topLeft() - ui::FitOnScreen(form_->BelowSpeedButton2(), opened.size(), area))
                              .manhattanLength(),
                          2 * kFrames)
                    << c.command;
            else if (area.contains(QRect(centre - QPoint(opened.width() / 2, opened.height() / 2), opened.size())))
                EXPECT_LE((opened.center() - centre).manhattanLength(), kFrames) << c.command;
        }
    }
}

}  // namespace
