#include "ui/controls/draw_grid1.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "media/color.h"
#include "media/qt/qt_convert.h"

namespace ui {

TDrawGrid1::TDrawGrid1(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    UpdateScrollBars();
}

void TDrawGrid1::SetColCount(int count) {
    count = std::max(1, count);
    if (count == col_count_) return;
    col_count_ = count;
    col_ = std::min(col_, col_count_ - 1);
    Moved();
}

void TDrawGrid1::SetRowCount(int count) {
    count = std::max(0, count);
    if (count == row_count_) return;
    row_count_ = count;
    row_ = std::clamp(row_, 0, std::max(0, row_count_ - 1));
    Moved();
}

void TDrawGrid1::SetDefaultColWidth(int width) {
    width = std::max(1, width);
    if (width == col_width_) return;
    col_width_ = width;
    Moved();
}

void TDrawGrid1::SetDefaultRowHeight(int height) {
    height = std::max(1, height);
    if (height == row_height_) return;
    row_height_ = height;
    Moved();
}

void TDrawGrid1::Moved() {
    UpdateScrollBars();
    viewport()->update();
}

int TDrawGrid1::VisibleCols() const { return std::max(1, viewport()->width() / col_width_); }
int TDrawGrid1::VisibleRows() const { return std::max(1, viewport()->height() / row_height_); }

void TDrawGrid1::UpdateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, row_count_ - VisibleRows()));
    vertical->setPageStep(VisibleRows());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, col_count_ - VisibleCols()));
    horizontal->setPageStep(VisibleCols());
    top_row_ = vertical->value();
    left_col_ = horizontal->value();
}

void TDrawGrid1::SetCurrentCell(int col, int row) {
    col_ = std::clamp(col, 0, col_count_ - 1);
    row_ = std::clamp(row, 0, std::max(0, row_count_ - 1));
    ScrollIntoView(col_, row_);
}

void TDrawGrid1::ScrollIntoView(int col, int row) {
    QScrollBar* vertical = verticalScrollBar();
    if (row < top_row_) vertical->setValue(row);
    else if (row >= top_row_ + VisibleRows()) vertical->setValue(row - VisibleRows() + 1);
    QScrollBar* horizontal = horizontalScrollBar();
    if (col < left_col_) horizontal->setValue(col);
    else if (col >= left_col_ + VisibleCols()) horizontal->setValue(col - VisibleCols() + 1);
}

QRect TDrawGrid1::CellRect(int col, int row) const {
    return QRect((col - left_col_) * col_width_, (row - top_row_) * row_height_, col_width_, row_height_);
}

bool TDrawGrid1::MouseToCell(const QPoint& point, int& col, int& row) const {
    if (point.x() < 0 || point.y() < 0) return false;
    const int c = left_col_ + point.x() / col_width_, r = top_row_ + point.y() / row_height_;
    if (c >= col_count_ || r >= row_count_) return false;
    col = c;
    row = r;
    return true;
}

void TDrawGrid1::InvalidateCell(int col, int row) {
    const QRect rect = CellRect(col, row);
    pending_ += rect;
    viewport()->update(rect);
}

void TDrawGrid1::Update() {
    if (pending_.isEmpty()) return;
    const QRegion region = pending_;
    pending_ = QRegion();
    viewport()->repaint(region);
}

void TDrawGrid1::paintEvent(QPaintEvent* event) {
    pending_ -= event->region();
    QPainter painter(viewport());
    const QColor window = media::ToQColor(media::clWindow);
    painter.fillRect(event->rect(), window);
    const int lastCol = std::min(col_count_, left_col_ + viewport()->width() / col_width_ + 1);
    const int lastRow = std::min(row_count_, top_row_ + viewport()->height() / row_height_ + 1);
    for (int row = top_row_; row < lastRow; ++row) {
        for (int col = left_col_; col < lastCol; ++col) {
            const QRect rect = CellRect(col, row);
            if (!event->region().intersects(rect) || !OnDrawCell) continue;
            painter.save();
            painter.setClipRect(rect);
            OnDrawCell(painter, col, row, rect);
            painter.restore();
        }
    }
}

void TDrawGrid1::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TDrawGrid1::scrollContentsBy(int, int) {
    top_row_ = verticalScrollBar()->value();
    left_col_ = horizontalScrollBar()->value();
    pending_ = QRegion();
    viewport()->update();
}

void TDrawGrid1::Press(QMouseEvent& event) {
    const QPoint point = event.position().toPoint();
    int col = 0, row = 0;
    if (event.button() == Qt::LeftButton && MouseToCell(point, col, row)) SetCurrentCell(col, row);
    setFocus(Qt::MouseFocusReason);
    press_point_ = point;
    drag_armed_ = false;
    click_armed_ = event.button() == Qt::LeftButton;
    if (OnMouseDown) OnMouseDown(event.button(), ShiftStateOf(event.modifiers()), point.x(), point.y());
}

void TDrawGrid1::mousePressEvent(QMouseEvent* event) { Press(*event); }

void TDrawGrid1::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(*event);
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
}

void TDrawGrid1::mouseReleaseEvent(QMouseEvent* event) {
    drag_armed_ = false;
    const QPoint point = event->position().toPoint();
    if (OnMouseUp) OnMouseUp(event->button(), ShiftStateOf(event->modifiers()), point.x(), point.y());
    if (click_armed_ && event->button() == Qt::LeftButton && viewport()->rect().contains(point) && OnClick) OnClick();
    click_armed_ = false;
}

void TDrawGrid1::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (drag_armed_ && (event->buttons() & Qt::LeftButton) &&
        (point - press_point_).manhattanLength() >= QApplication::startDragDistance())
        StartDrag();
    if (OnMouseMove) OnMouseMove(ShiftStateOf(event->modifiers()), point.x(), point.y());
}

void TDrawGrid1::BeginDrag(bool immediate) {
    drag_armed_ = true;
    if (immediate) StartDrag();
}

void TDrawGrid1::StartDrag() {
    drag_armed_ = false;
    click_armed_ = false;
    QMimeData* data = OnStartDrag ? OnStartDrag() : nullptr;
    if (!data) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction);
    if (OnEndDrag) OnEndDrag(result);
}

void TDrawGrid1::keyPressEvent(QKeyEvent* event) {
    if (RunKeyHandlers(*event, OnKeyDown, OnKeyUp, OnKeyPress)) return;
    int col = col_, row = row_;
    switch (event->key()) {
        case Qt::Key_Left: --col; break;
        case Qt::Key_Right: ++col; break;
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_Home: col = 0; break;
        case Qt::Key_End: col = col_count_ - 1; break;
        case Qt::Key_PageUp: row -= VisibleRows(); break;
        case Qt::Key_PageDown: row += VisibleRows(); break;
        default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    SetCurrentCell(col, row);
    event->accept();
}

void TDrawGrid1::keyReleaseEvent(QKeyEvent* event) {
    if (!RunKeyHandlers(*event, OnKeyDown, OnKeyUp, OnKeyPress)) QAbstractScrollArea::keyReleaseEvent(event);
}

}  // namespace ui
