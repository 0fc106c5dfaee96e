#pragma once
// TDrawGrid1: a grid of equal cells whose contents its owner draws, used for both thumbnail
// grids of the main window. It has no fixed cells and no grid lines, scrolls by whole cells,
// keeps a current cell (moved by a left press on a cell and by the arrow keys), and lets one
// cell be repainted from outside. Events are replaceable handlers, so that an object driving
// the grid can take them over.

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRegion>

#include <functional>

#include "ui/controls/key_handlers.h"

class QMimeData;
class QPainter;

namespace ui {

class TDrawGrid1 : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TDrawGrid1(QWidget* parent = nullptr);

    int ColCount() const { return col_count_; }
    void SetColCount(int count);  // at least 1
    int RowCount() const { return row_count_; }
    void SetRowCount(int count);  // at least 0
    int DefaultColWidth() const { return col_width_; }
    void SetDefaultColWidth(int width);  // at least 1
    int DefaultRowHeight() const { return row_height_; }
    void SetDefaultRowHeight(int height);  // at least 1

    // The current cell; moving it scrolls it into view.
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCurrentCell(int col, int row);
    int LeftCol() const { return left_col_; }
    int TopRow() const { return top_row_; }

    // The cell's rectangle in viewport coordinates.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point; false outside every cell.
    bool MouseToCell(const QPoint& point, int& col, int& row) const;

    // Marks one cell for repainting; Update paints every marked cell at once.
    void InvalidateCell(int col, int row);
    void Update();

    // A drag from the last press: at once, or once the mouse has moved the platform's drag
    // distance with the button held (OnStartDrag gives what is dragged; nothing gives no drag).
    void BeginDrag(bool immediate);

    std::function<void(QPainter& painter, int col, int row, const QRect& rect)> OnDrawCell;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    KeyHandler OnKeyDown;
    KeyHandler OnKeyUp;
    KeyPressHandler OnKeyPress;
    std::function<QMimeData*()> OnStartDrag;  // the drag takes the object
    std::function<void(Qt::DropAction result)> OnEndDrag;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Press(QMouseEvent& event);
    void Moved();  // counts or sizes changed
    void UpdateScrollBars();
    void ScrollIntoView(int col, int row);
    void StartDrag();
    int VisibleCols() const;  // whole columns in the viewport, at least 1
    int VisibleRows() const;

    int col_count_ = 5;
    int row_count_ = 5;
    int col_width_ = 64;
    int row_height_ = 24;
    int col_ = 0;
    int row_ = 0;
    int left_col_ = 0;
    int top_row_ = 0;
    QRegion pending_;
    bool drag_armed_ = false;
    bool click_armed_ = false;
    QPoint press_point_;
};

}  // namespace ui
