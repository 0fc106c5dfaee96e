#pragma once
// Windows that open at a point of the main window (the global-save dialog and the enhancement
// window open below SpeedButton2, at the window's bottom edge) are moved just enough to lie
// wholly on the screen that holds the main window: on a maximised window they would otherwise
// open below the screen's edge. Main thread only.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// The top-left corner nearest to wanted at which a window of size (its frame included) lies
// within area; a window larger than area starts at area's top-left corner.
QPoint FitOnScreen(QPoint wanted, QSize size, const QRect& area);

// Where window (not shown yet, or shown) should be moved to open at wanted: fitted to the
// available area of reference's screen. A window not shown yet is taken at the size it will
// get, with the frame the window manager gave reference (at least a few pixels a side).
QPoint PlaceOnScreenOf(const QWidget& reference, const QWidget& window, QPoint wanted);

}  // namespace ui
