#include "ui/grid/thumbnail_grid.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

#include "media/color.h"
#include "media/qt/qt_convert.h"
#include "ui/controls/draw_grid1.h"
#include "ui/dialogs/record_text.h"
#include "ui/grid/bitmap_image.h"
#include "ui/grid/cell_geometry.h"
#include "ui/grid/dragged_webcam.h"
#include "ui/grid/grid_host.h"
#include "ui/grid/grid_source.h"
#include "ui/grid/thumbnail_cell.h"

namespace ui {

namespace {

constexpr int kRelayoutDelayMs = 400;
constexpr int kHintHidePauseMs = 4000;
// The hint's lines end in LF CR.
const QString kHintLineEnd = QStringLiteral("\n\r");

}  // namespace

ThumbnailGrid::ThumbnailGrid(TDrawGrid1& grid, ThumbnailGridHost& host, QObject* parent)
    : QObject(parent), grid_(grid), host_(host), resizetimer_(new QTimer(this)) {
    resizetimer_->setObjectName(QStringLiteral("resizetimer"));
    resizetimer_->setSingleShot(true);
    resizetimer_->setInterval(kRelayoutDelayMs);
    connect(resizetimer_, &QTimer::timeout, this, &ThumbnailGrid::resizetimerTimer);
    grid_.OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect) {
        DrawCell(painter, col, row, rect);
    };
    grid_.OnMouseDown = [this](Qt::MouseButton button, TShiftState, int x, int y) { MouseDown(button, x, y); };
    grid_.OnKeyDown = [this](int& key, TShiftState shift) { FormKeyDown(key, shift); };
    grid_.OnKeyUp = [this](int& key, TShiftState shift) { KeyUp(key, shift); };
    grid_.OnStartDrag = [] { return new tdraggedwebcam(0); };
    grid_.viewport()->installEventFilter(this);
}

int ThumbnailGrid::Count() const { return source_ ? source_->Count() : 0; }
int ThumbnailGrid::DisplayedCount() const { return source_ ? source_->DisplayedCount() : 0; }

int ThumbnailGrid::CellWebcam(int cell) const {
    if (cell < 0 || cell >= DisplayedCount()) return 0;
    const int webcam = source_->GetCellWebcam(cell);
    return webcam >= 1 && webcam <= Count() && source_->SelectedState(webcam) ? webcam : 0;
}

int ThumbnailGrid::DisplayCell(int webcam) const {
    return webcam >= 1 && webcam <= Count() ? source_->DisplayCell(webcam) : -1;
}

bool ThumbnailGrid::IsSelected(int webcam) const { return source_->SelectedState(webcam).value_or(false); }

void ThumbnailGrid::SetSelected(int webcam, bool selected) {
    source_->SetSelected(webcam, selected);
    RedrawWebcamCell(webcam);
}

void ThumbnailGrid::SetThumbnailSize(int thumbWidth, int thumbHeight) {
    const QSize cell = ThumbnailCellSize(thumbWidth, thumbHeight);
    grid_.SetDefaultColWidth(cell.width());
    grid_.SetDefaultRowHeight(cell.height());
    grid_.setMinimumWidth(GridLeastWidth(cell.width(), grid_.frameWidth(),
                                         grid_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid_)));
}

void ThumbnailGrid::RedrawWebcamCell(int webcam) {
    const int cell = DisplayCell(webcam);
    if (cell < 0) return;
    grid_.InvalidateCell(cell % grid_.ColCount(), cell / grid_.ColCount());
}

void ThumbnailGrid::UpdateGridRows() { grid_.SetRowCount(GridRows(DisplayedCount(), grid_.ColCount())); }

void ThumbnailGrid::Repaint() { grid_.viewport()->update(); }

void ThumbnailGrid::FormResize() { resizetimer_->start(); }

void ThumbnailGrid::resizetimerTimer() {
    if (BeforeRelayout) BeforeRelayout();
    resizetimer_->stop();
    grid_.SetColCount(GridColumns(grid_.width(), grid_.height(),
                                  QSize(grid_.DefaultColWidth(), grid_.DefaultRowHeight()), Count()));
    if (!source_) return;
    UpdateGridRows();
    grid_.viewport()->update();
}

void ThumbnailGrid::DrawCell(QPainter& painter, int col, int row, const QRect& rect) const {
    const int webcam = CellWebcam(grid_.ColCount() * row + col);
    const std::optional<GridWebcam> cam = webcam ? source_->Webcam(webcam) : std::nullopt;
    if (!cam) {
        painter.fillRect(rect, media::ToQColor(media::clWindow));
        return;
    }
    const ThumbnailCellLook look = CellLookOf(*cam, ImageOfBitmap(source_->Thumbnail(webcam)), host_.StatusLEDs());
    painter.drawImage(rect.topLeft(), RenderThumbnailCell(rect.size(), look));
}

void ThumbnailGrid::ShowAndMark(int webcam) {
    host_.ShowWebcam(webcam);
    MarkCurrentWebcam(webcam);
}

void ThumbnailGrid::MarkCurrentWebcam(int webcam) {
    if (DisplayCell(webcam) < 0) return;
    host_.LoadCurrentMotionSettings();
    // Every cell of a list of any length at each change of the current webcam: one look at each.
    const int shown = DisplayedCount(), count = Count();
    for (int cell = 0; cell < shown; ++cell) {
        const int other = source_->GetCellWebcam(cell);
        const std::optional<bool> selected =
            other >= 1 && other <= count ? source_->SelectedState(other) : std::nullopt;
        if (selected && *selected != (other == webcam)) SetSelected(other, other == webcam);
    }
}

void ThumbnailGrid::MoveCursorTo(int webcam) {
    const int cell = DisplayCell(webcam);
    if (cell >= 0) grid_.SetCurrentCell(cell % grid_.ColCount(), cell / grid_.ColCount());
}

void ThumbnailGrid::MouseDown(Qt::MouseButton button, int x, int y) {
    int col = 0, row = 0;
    // Only a left press on a cell moves the current cell: a press beside every cell, or with
    // another button than the right one, must not act on the cell that was current before.
    if (button != Qt::RightButton && (button != Qt::LeftButton || !grid_.MouseToCell(QPoint(x, y), col, row))) return;
    const int webcam = CellWebcam(grid_.Row() * grid_.ColCount() + grid_.Col());
    if (!webcam) return;
    PreviousWebcam = host_.CurrentWebcam();
    if (button == Qt::RightButton) {
        host_.PopupGridMenu(grid_.viewport()->mapToGlobal(QPoint(x, y)));
        return;
    }
    if (!(ShiftState & (ssShift | ssCtrl))) {
        ShowAndMark(webcam);
    } else if (!(ShiftState & ssShift)) {
        SetSelected(webcam, !IsSelected(webcam));
    } else if (!IsSelected(webcam)) {
        // From the previous webcam's cell to this one; a previous webcam that is not shown
        // gives this webcam alone.
        const int here = DisplayCell(webcam), before = DisplayCell(PreviousWebcam);
        const int first = before < 0 ? here : std::min(before, here), last = before < 0 ? here : std::max(before, here);
        for (int cell = first; cell <= last; ++cell)
            if (const int other = CellWebcam(cell)) SetSelected(other, true);
    }
    DragStartPoint = grid_.viewport()->mapToGlobal(QPoint(x, y));
    grid_.BeginDrag(false);
}

void ThumbnailGrid::FormKeyDown(int& key, TShiftState shift) {
    ShiftState = shift;
    const bool modified = (shift & (ssShift | ssAlt | ssCtrl)) != 0;
    switch (key) {
        case Qt::Key_Left: modified ? host_.FirstPicture() : host_.PreviousPicture(); break;
        case Qt::Key_Right: modified ? host_.LastPicture() : host_.NextPicture(); break;
        case Qt::Key_Up:
            if (!modified) {
                ShowPreviousWebcam();
            } else {
                if (Count() >= 1) host_.ShowWebcam(1);
                MarkCurrentWebcam(host_.CurrentWebcam());
            }
            break;
        case Qt::Key_Down:
            if (!modified) {
                ShowNextWebcam();
            } else {
                if (const int last = CellWebcam(DisplayedCount() - 1)) host_.ShowWebcam(last);
                MarkCurrentWebcam(host_.CurrentWebcam());
            }
            break;
        default: return;
    }
    key = 0;
}

void ThumbnailGrid::KeyUp(int&, TShiftState shift) { ShiftState = shift; }

void ThumbnailGrid::ShowPreviousWebcam() {
    ShiftState = 0;
    const int cell = DisplayCell(host_.CurrentWebcam());
    if (cell > 0)
        if (const int webcam = CellWebcam(cell - 1)) host_.ShowWebcam(webcam);
    MarkCurrentWebcam(host_.CurrentWebcam());
}

void ThumbnailGrid::ShowNextWebcam() {
    ShiftState = 0;
    const int cell = DisplayCell(host_.CurrentWebcam());
    if (cell != DisplayedCount() - 1)
        if (const int webcam = CellWebcam(cell + 1)) host_.ShowWebcam(webcam);
    MarkCurrentWebcam(host_.CurrentWebcam());
}

void ThumbnailGrid::SelectAll() {
    for (int cell = 0; cell < DisplayedCount(); ++cell)
        if (const int webcam = CellWebcam(cell)) SetSelected(webcam, true);
}

std::optional<QString> ThumbnailGrid::HintText(const QPoint& point) const {
    int col = 0, row = 0;
    if (!host_.WebcamHints() || !grid_.MouseToCell(point, col, row)) return std::nullopt;
    const int webcam = CellWebcam(row * grid_.ColCount() + col);
    const std::optional<GridWebcam> cam = webcam ? source_->Webcam(webcam) : std::nullopt;
    if (!cam) return std::nullopt;
    QString text = FromRecord(cam->name) + kHintLineEnd;
    if (!cam->description.empty()) text += FromRecord(cam->description) + kHintLineEnd;
    return text + FromRecord(cam->pictureUrl);
}

std::unique_ptr<tdraggedwebcam> ThumbnailGrid::ViewerDrag() const {
    const int current = host_.CurrentWebcam();
    if (current < 1 || current > Count()) return nullptr;
    return std::make_unique<tdraggedwebcam>(current);
}

bool ThumbnailGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid_.viewport() || event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    const auto& help = static_cast<QHelpEvent&>(*event);
    const std::optional<QString> text = HintText(help.pos());
    int col = 0, row = 0;
    if (text && grid_.MouseToCell(help.pos(), col, row)) {
        // Kept to the cell, so that moving to the next cell brings up that cell's hint. The tool
        // tip breaks lines at LF alone and would show each CR as a blank.
        QToolTip::showText(help.globalPos(), QString(*text).remove(QLatin1Char('\r')), grid_.viewport(),
                           grid_.CellRect(col, row), kHintHidePauseMs);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

}  // namespace ui
