#include "ui/grid/thumbnail_grid.h"

#include "tests/ui/dialog_test_support.h"
#include "tests/ui/thumbnail_grid_fakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

#include "media/qt/qt_convert.h"
#include "ui/controls/draw_grid1.h"
#include "ui/grid/dragged_webcam.h"

namespace {

using gridtest::FakeHost;
using gridtest::FakeSource;

// Ten webcams in a grid of 500 x 300 with cells of 98 x 106: five columns, two rows.
class ThumbnailGridTest : public ::testing::Test {
protected:
    ThumbnailGridTest() : source(10), thumbnails(grid, host) {
        grid.resize(500, 300);
        thumbnails.SetThumbnailSize(86, 80);
        thumbnails.SetSource(&source);
        thumbnails.resizetimerTimer();
    }

    // A press on a cell's middle (or on a viewport point) with the recorded shift state.
    void Press(int col, int row, Qt::MouseButton button = Qt::LeftButton) {
        PressAt(QPoint(col * 98 + 49, row * 106 + 53), button);
    }
    void PressAt(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent press(QEvent::MouseButtonPress, point, grid.viewport()->mapToGlobal(point), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, grid.viewport()->mapToGlobal(point), button,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &release);
    }
    void Select(std::initializer_list<int> webcams) {
        for (int webcam : webcams) source.SetSelected(webcam, true);
    }
    void Current(int webcam) {
        host.current = webcam;
        thumbnails.PreviousWebcam = 0;
    }

    FakeSource source;
    FakeHost host;
    ui::TDrawGrid1 grid;
    ui::ThumbnailGrid thumbnails;
};

using Webcams = std::vector<int>;

TEST_F(ThumbnailGridTest, RelayoutLeavesRoomForTheScrollBarOnlyWhenNeeded) {
    EXPECT_EQ(grid.DefaultColWidth(), 98);
    EXPECT_EQ(grid.DefaultRowHeight(), 106);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 2);
    source = FakeSource(11);
    int before = 0;
    thumbnails.BeforeRelayout = [&] { ++before; };
    thumbnails.FormResize();
    thumbnails.FormResize();
    auto* timer = thumbnails.findChild<QTimer*>(QStringLiteral("resizetimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 400);
    EXPECT_EQ(grid.ColCount(), 5);  // nothing happens before the tick
    QMetaObject::invokeMethod(timer, [&] { thumbnails.resizetimerTimer(); });
    QCoreApplication::processEvents();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(before, 1);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.RowCount(), 3);
}

TEST_F(ThumbnailGridTest, PlainClickShowsTheWebcamAndLeavesItAloneSelected) {
    Current(2);
    Select({2, 5, 9});
    Press(2, 1);  // cell 7: webcam 8
    EXPECT_EQ(host.calls, (QStringList{"show 8", "motion 8"}));
    EXPECT_EQ(source.Selected(), Webcams{8});
    EXPECT_EQ(thumbnails.PreviousWebcam, 2);
    EXPECT_EQ(thumbnails.DragStartPoint, grid.viewport()->mapToGlobal(QPoint(2 * 98 + 49, 106 + 53)));
}

TEST_F(ThumbnailGridTest, CtrlClickTogglesAndTwiceRestores) {
    Current(1);
    Select({1, 3});
    thumbnails.ShiftState = ui::ssCtrl;
    Press(3, 0);
    EXPECT_EQ(source.Selected(), (Webcams{1, 3, 4}));
    Press(3, 0);
    EXPECT_EQ(source.Selected(), (Webcams{1, 3}));
    Press(2, 0);
    EXPECT_EQ(source.Selected(), (Webcams{1}));
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ThumbnailGridTest, ShiftClickSelectsTheRangeFromThePreviousWebcamUnlessAlreadySelected) {
    struct Case {
        int current;
        Webcams selectedBefore;
        int col, row;
        Webcams selectedAfter;
    };
    for (const Case& c : {Case{7, {7}, 1, 0, {2, 3, 4, 5, 6, 7}},  // backwards from webcam 7 to webcam 2
                          Case{2, {2}, 0, 1, {2, 3, 4, 5, 6}},     // forwards to webcam 6
                          Case{2, {2, 4}, 3, 0, {2, 4}},           // webcam 4 is selected already
                          Case{0, {}, 2, 1, {8}}}) {               // no previous webcam: only this one
        source = FakeSource(10);
        Current(c.current);
        for (int webcam : c.selectedBefore) source.SetSelected(webcam, true);
        thumbnails.ShiftState = ui::ssShift | ui::ssCtrl;
        Press(c.col, c.row);
        EXPECT_EQ(source.Selected(), c.selectedAfter) << "from " << c.current;
        EXPECT_TRUE(host.calls.isEmpty());
    }
}

TEST_F(ThumbnailGridTest, RightClickPopsUpTheMenuWithoutTouchingTheSelection) {
    Current(3);
    Select({3});
    Press(1, 1, Qt::RightButton);
    EXPECT_EQ(host.calls, (QStringList{"popup"}));
    EXPECT_EQ(host.popupPoint, grid.viewport()->mapToGlobal(QPoint(98 + 49, 106 + 53)));
    EXPECT_EQ(source.Selected(), Webcams{3});
    EXPECT_EQ(thumbnails.PreviousWebcam, 3);
}

TEST_F(ThumbnailGridTest, PressesOutsideTheShownWebcamsDoNothing) {
    source.cells.resize(8);  // cells 8 and 9 empty
    Current(1);
    Select({1});
    Press(1, 0);  // webcam 2 becomes the grid's current cell
    host.calls.clear();
    PressAt(QPoint(495, 20));  // beside the last column
    PressAt(QPoint(20, 290));  // below the last row
    Press(4, 1);               // an empty cell
    Press(1, 0, Qt::MiddleButton);
    EXPECT_TRUE(host.calls.isEmpty());
    source.freed[2] = true;  // webcam 3's slot empty
    Press(2, 0);
    EXPECT_EQ(host.calls, QStringList{});
    EXPECT_EQ(source.Selected(), Webcams{2});
}

TEST_F(ThumbnailGridTest, ArrowKeysAreConsumedAndMapToPicturesAndWebcams) {
    struct Case {
        int key;
        ui::TShiftState shift;
        int current;
        QStringList calls;
    };
    for (const Case& c : {Case{Qt::Key_Left, 0, 4, {"previous picture"}},
                          Case{Qt::Key_Left, ui::ssAlt, 4, {"first picture"}},
                          Case{Qt::Key_Right, 0, 4, {"next picture"}},
                          Case{Qt::Key_Right, ui::ssShift, 4, {"last picture"}},
                          Case{Qt::Key_Up, 0, 4, {"show 3", "motion 3"}},
                          Case{Qt::Key_Up, 0, 1, {"motion 1"}},
                          Case{Qt::Key_Up, ui::ssCtrl, 4, {"show 1", "motion 1"}},
                          Case{Qt::Key_Down, 0, 4, {"show 5", "motion 5"}},
                          Case{Qt::Key_Down, 0, 10, {"motion 10"}},
                          Case{Qt::Key_Down, ui::ssAlt, 4, {"show 10", "motion 10"}}}) {
        host.calls.clear();
        Current(c.current);
        int key = c.key;
        thumbnails.FormKeyDown(key, c.shift);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(host.calls, c.calls) << c.key << " " << c.shift << " on " << c.current;
        EXPECT_EQ(source.Selected(), c.calls.back().startsWith("motion") ? Webcams{host.current} : Webcams{});
        source = FakeSource(10);
    }
    int key = Qt::Key_A;
    thumbnails.FormKeyDown(key, ui::ssCtrl);
    EXPECT_EQ(key, Qt::Key_A);
    EXPECT_EQ(thumbnails.ShiftState, ui::ssCtrl);
    thumbnails.KeyUp(key, 0);
    EXPECT_EQ(thumbnails.ShiftState, 0);
}

TEST_F(ThumbnailGridTest, NextAndPreviousFollowTheDisplayMapAndClearTheShiftState) {
    source.cells = {4, 9, 2};
    Current(9);
    thumbnails.ShiftState = ui::ssShift;
    thumbnails.ShowNextWebcam();
    EXPECT_EQ(host.current, 2);
    EXPECT_EQ(thumbnails.ShiftState, 0);
    thumbnails.ShowPreviousWebcam();
    thumbnails.ShowPreviousWebcam();
    EXPECT_EQ(host.current, 4);
    EXPECT_EQ(source.Selected(), Webcams{4});
    Current(7);  // not shown: previous finds no cell before it, next starts at the first cell
    thumbnails.ShowPreviousWebcam();
    EXPECT_EQ(host.current, 7);
    thumbnails.ShowNextWebcam();
    EXPECT_EQ(host.current, 4);
}

TEST_F(ThumbnailGridTest, SelectAllAndMarkCoverOnlyShownWebcams) {
    source.cells = {1, 3, 5};
    thumbnails.SelectAll();
    EXPECT_EQ(source.Selected(), (Webcams{1, 3, 5}));
    source.SetSelected(8, true);  // selected but not shown: marking leaves it
    thumbnails.MarkCurrentWebcam(3);
    EXPECT_EQ(source.Selected(), (Webcams{3, 8}));
    host.calls.clear();
    for (int webcam : {0, 2, 11}) thumbnails.MarkCurrentWebcam(webcam);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(source.Selected(), (Webcams{3, 8}));
}

TEST_F(ThumbnailGridTest, HintsNameDescriptionAndAddressWithLfCr) {
    source.webcams[0].description = "Vue du port";
    EXPECT_EQ(thumbnails.HintText(QPoint(10, 10)), QString("Cam 1\n\rVue du port\n\rhttp://127.0.0.1/cam1.jpg"));
    EXPECT_EQ(thumbnails.HintText(QPoint(110, 120)), QString("Cam 7\n\rhttp://127.0.0.1/cam7.jpg"));
    source.cells.resize(6);
    EXPECT_EQ(thumbnails.HintText(QPoint(495, 10)), std::nullopt);   // beside the last column
    EXPECT_EQ(thumbnails.HintText(QPoint(210, 120)), std::nullopt);  // an empty cell
    host.hints = false;
    EXPECT_EQ(thumbnails.HintText(QPoint(10, 10)), std::nullopt);
}

TEST_F(ThumbnailGridTest, TheToolTipShowsTheHintWithPlainLineBreaks) {
    grid.show();
    const auto ask = [&](QPoint point) {
        QHelpEvent help(QEvent::ToolTip, point, grid.viewport()->mapToGlobal(point));
        QCoreApplication::sendEvent(grid.viewport(), &help);
    };
    ask(QPoint(10, 10));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Cam 1\nhttp://127.0.0.1/cam1.jpg");
    host.hints = false;
    ask(QPoint(10, 10));
    QDeadlineTimer deadline(5000);  // the tip fades out
    while (QToolTip::isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(ThumbnailGridTest, DragsCarryTheSelectionOrTheViewersWebcam) {
    std::unique_ptr<QMimeData> fromGrid(grid.OnStartDrag());
    auto* dragged = qobject_cast<ui::tdraggedwebcam*>(fromGrid.get());
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->FWebcamIndex, 0);
    Current(6);
    ASSERT_NE(thumbnails.ViewerDrag(), nullptr);
    EXPECT_EQ(thumbnails.ViewerDrag()->FWebcamIndex, 6);
    for (int current : {0, 11}) {
        Current(current);
        EXPECT_EQ(thumbnails.ViewerDrag(), nullptr);
    }
}

TEST_F(ThumbnailGridTest, DrawsTheCellsFromTheWebcamsAndRedrawsOneCellWithTheNextFrame) {
    source.cells.resize(7);
    source.webcams[1].status = 7;
    source.webcams[1].favourite = true;
    source.webcams[3].enabled = false;
    source.webcams[4].newPicture = true;
    source.webcams[5].status = 4;
    source.webcams[5].resting = true;
    Select({3});
    thumbnails.UpdateGridRows();
    grid.show();
    const QImage shot = grid.viewport()->grab().toImage();
    dialogtest::SaveScreenshot(grid, "thumbnail_grid");
    EXPECT_EQ(QColor(shot.pixel(6, 6)), QColor(0x33, 0x66, 40));  // webcam 1's thumbnail, bytes B, G, R
    EXPECT_EQ(QColor(shot.pixel(98 + 88, 91)), media::ToQColor(media::clRed));    // webcam 2 in error
    EXPECT_EQ(QColor(shot.pixel(98 + 88, 97)), media::ToQColor(media::clLime));   // a favourite
    EXPECT_EQ(QColor(shot.pixel(2 * 98 + 1, 50)), media::ToQColor(media::clNavy));  // webcam 3 selected
    EXPECT_EQ(QColor(shot.pixel(3 * 98, 0)), media::ToQColor(media::clGray));     // webcam 4 disabled
    EXPECT_EQ(QColor(shot.pixel(88, 106 + 91)), media::ToQColor(media::clLime));  // webcam 6 fetches
    EXPECT_EQ(QColor(shot.pixel(88, 106 + 97)), media::ToQColor(media::clRed));   // and rests
    EXPECT_EQ(QColor(shot.pixel(3 * 98 + 50, 106 + 50)), media::ToQColor(media::clWhite));  // empty cell
    EXPECT_EQ(QColor(shot.pixel(495, 50)), media::ToQColor(media::clWhite));  // beside the cells

    QCoreApplication::processEvents();
    source.thumbnailsAsked.clear();
    for (int webcam : {0, 9, 11}) thumbnails.RedrawWebcamCell(webcam);  // out of range or not shown
    for (int i = 0; i < 3; ++i) thumbnails.RedrawWebcamCell(6);
    EXPECT_EQ(source.thumbnailsAsked, Webcams{});  // nothing inside the calls
    QCoreApplication::processEvents();
    EXPECT_EQ(source.thumbnailsAsked, Webcams{6});  // the burst paints the cell once
}

}  // namespace
