#include "ui/controls/draw_grid1.h"

#include "tests/ui/dialog_test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>

#include <utility>
#include <vector>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// A grid of 4 x 6 cells of 50 x 40 in a 200 x 120 viewport: three rows visible at a time.
class TDrawGrid1Test : public ::testing::Test {
protected:
    TDrawGrid1Test() {
        grid.SetColCount(4);
        grid.SetRowCount(6);
        grid.SetDefaultColWidth(50);
        grid.SetDefaultRowHeight(40);
        grid.setFrameShape(QFrame::NoFrame);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.resize(200, 120);
        grid.OnDrawCell = [this](QPainter&, int col, int row, const QRect&) { drawn.emplace_back(col, row); };
        grid.show();
        // Bounded wait until the window can be painted.
        QDeadlineTimer deadline(5000);
        while (!(grid.windowHandle() && grid.windowHandle()->isExposed()) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        QCoreApplication::processEvents();
        drawn.clear();
    }

    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &press);
    }
    void Mouse(QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, point, grid.viewport()->mapToGlobal(point), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &event);
    }

    ui::TDrawGrid1 grid;
    Cells drawn;
};

TEST_F(TDrawGrid1Test, PaintsTheVisibleCellsAndRepaintsOneInvalidatedCell) {
    grid.viewport()->repaint();
    EXPECT_EQ(drawn.size(), 12u);
    drawn.clear();
    grid.InvalidateCell(2, 1);
    grid.Update();
    EXPECT_EQ(drawn, (Cells{{2, 1}}));
    drawn.clear();
    grid.Update();  // nothing pending
    EXPECT_TRUE(drawn.empty());
}

TEST_F(TDrawGrid1Test, ALeftPressMovesTheCurrentCellBeforeTheHandlerRuns) {
    std::vector<std::pair<int, int>> atPress;
    grid.OnMouseDown = [&](Qt::MouseButton, ui::TShiftState, int, int) { atPress.emplace_back(grid.Col(), grid.Row()); };
    int clicks = 0;
    grid.OnClick = [&] { ++clicks; };
    Mouse(QEvent::MouseButtonPress, {120, 50}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {120, 50}, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, {20, 90}, Qt::RightButton, Qt::RightButton);  // the right button leaves it
    grid.SetRowCount(2);
    Mouse(QEvent::MouseButtonPress, {20, 100}, Qt::LeftButton, Qt::LeftButton);  // below the last row
    EXPECT_EQ(atPress, (Cells{{2, 1}, {2, 1}, {2, 1}}));
    EXPECT_EQ(clicks, 1);
}

TEST_F(TDrawGrid1Test, ArrowKeysMoveAndScrollUnlessAHandlerConsumesThem) {
    grid.SetCurrentCell(0, 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(std::make_pair(grid.Col(), grid.Row()), std::make_pair(1, 3));
    EXPECT_EQ(grid.TopRow(), 1);  // row 3 scrolled into the three visible rows
    Key(Qt::Key_End);
    Key(Qt::Key_Right);  // stays in the last column
    EXPECT_EQ(grid.Col(), 3);
    grid.OnKeyDown = [](int& key, ui::TShiftState) {
        if (key == Qt::Key_Left) key = 0;
    };
    Key(Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 3);
}

TEST_F(TDrawGrid1Test, MouseToCellAfterScrolling) {
    grid.SetCurrentCell(0, 5);
    int col = -1, row = -1;
    ASSERT_TRUE(grid.MouseToCell({60, 10}, col, row));
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(1, 3));
    EXPECT_EQ(grid.CellRect(1, 3), QRect(50, 0, 50, 40));
    ASSERT_TRUE(grid.MouseToCell({199, 10}, col, row));
    EXPECT_EQ(col, 3);
    grid.SetColCount(3);
    EXPECT_FALSE(grid.MouseToCell({160, 10}, col, row));
}

TEST_F(TDrawGrid1Test, ADragStartsOnlyAfterTheMouseMovesWithTheButtonHeld) {
    int starts = 0;
    grid.OnStartDrag = [&]() -> QMimeData* {
        ++starts;
        return nullptr;  // nothing to drag: no drag loop in the test
    };
    Mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    grid.BeginDrag(false);
    Mouse(QEvent::MouseMove, {11, 10}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(starts, 0);
    Mouse(QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(starts, 1);
    Mouse(QEvent::MouseButtonRelease, {40, 10}, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    grid.BeginDrag(false);
    Mouse(QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton);  // released first: no drag
    EXPECT_EQ(starts, 1);
}

}  // namespace
