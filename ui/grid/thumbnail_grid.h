#pragma once
// The thumbnail grid of the main window (DrawGrid11): the cell size and layout, the drawing of
// each cell, selection by mouse and keys, the hints and dragging webcams out of it. It drives a
// TDrawGrid1 and reads the webcams through a ThumbnailGridSource; what a click or a key starts
// elsewhere in the window goes through the ThumbnailGridHost.
//
// Main thread only.

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "ui/controls/shift_state.h"

class QPainter;
class QTimer;

namespace ui {

class TDrawGrid1;
class ThumbnailGridHost;
class ThumbnailGridSource;
class tdraggedwebcam;

class ThumbnailGrid : public QObject {
    Q_OBJECT
public:
    // Takes over the grid's drawing, mouse, key and drag events and its hints.
    ThumbnailGrid(TDrawGrid1& grid, ThumbnailGridHost& host, QObject* parent = nullptr);

    // The manager's side, once it exists (null before: the grid then stays empty).
    void SetSource(ThumbnailGridSource* source) { source_ = source; }

    // DefaultColWidth and DefaultRowHeight for thumbnails of this size; the grid is never made
    // narrower than one whole column and its scroll bar.
    void SetThumbnailSize(int thumbWidth, int thumbHeight);

    // Repaints a webcam's cell with the next frame; nothing for a webcam out of range or not shown.
    void RedrawWebcamCell(int webcam);
    // RowCount from DisplayedCount and ColCount.
    void UpdateGridRows();
    // Every cell painted again.
    void Repaint();

    // FormResize: the relayout runs 400 ms after the last resize. BeforeRelayout does the
    // window's part first (left panel width, the other page's layout).
    void FormResize();
    std::function<void()> BeforeRelayout;
    // The relayout itself (resizetimer's tick).
    void resizetimerTimer();

    // Key-down of the form and of the grid: records the shift state and handles (and consumes)
    // Left, Right, Up and Down. Key-up only records the shift state.
    void FormKeyDown(int& key, TShiftState shift);
    void KeyUp(int& key, TShiftState shift);
    // ToolButton1Click and ToolButton2Click: the webcam of the cell before or after the
    // current webcam's cell becomes current.
    void ShowPreviousWebcam();
    void ShowNextWebcam();
    // SelectAll1Click: every shown webcam selected.
    void SelectAll();
    // Webcam becomes the only selected one (when it is shown), after its motion settings.
    void MarkCurrentWebcam(int webcam);
    // The grid's current cell moves to the webcam's cell (scrolled into view); no click is
    // reported. Nothing for a webcam that is not shown.
    void MoveCursorTo(int webcam);

    // The grid's mouse press at viewport point (x, y); the grid has moved its current cell to a
    // left press on a cell. Only the left and the right button act.
    void MouseDown(Qt::MouseButton button, int x, int y);
    // The hint of the cell under a viewport point; nothing when hints are off or no webcam is
    // there. Lines end in LF CR.
    std::optional<QString> HintText(const QPoint& point) const;
    // What a drag from the viewer carries: the current webcam, when there is one.
    std::unique_ptr<tdraggedwebcam> ViewerDrag() const;

    // Form state kept here: the keyboard shift state of the last key event, the current webcam
    // before the last click, and where that press was (screen coordinates).
    TShiftState ShiftState = 0;
    int PreviousWebcam = 0;
    QPoint DragStartPoint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect) const;
    int Count() const;
    int DisplayedCount() const;
    int CellWebcam(int cell) const;  // 0 outside the display map or for an empty slot
    int DisplayCell(int webcam) const;
    bool IsSelected(int webcam) const;
    void SetSelected(int webcam, bool selected);
    void ShowAndMark(int webcam);

    TDrawGrid1& grid_;
    ThumbnailGridHost& host_;
    ThumbnailGridSource* source_ = nullptr;
    QTimer* resizetimer_;
};

}  // namespace ui
