#pragma once
// The viewer's zoom modes and the arithmetic of laying a picture out in the view: -2 stretch to
// the view, -1 fit (never enlarged), 1..7 fixed scales from 25 % to 300 %.

#include <QString>

namespace ui {

inline constexpr int kZoomStretch = -2;
inline constexpr int kZoomFit = -1;
inline constexpr int kZoomSmallest = 1;
inline constexpr int kZoomOriginal = 4;
inline constexpr int kZoomLargest = 7;

bool IsZoomMode(int mode);
// The text after the zoom label (Label32), blanks included.
QString ZoomLabel(int mode);
// Zoom + (SpeedButton33) and Zoom - (SpeedButton34) from a mode.
int ZoomIn(int mode);
int ZoomOut(int mode);
bool ZoomOutEnabled(int mode);
bool ZoomInEnabled(int mode);

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size a picture is drawn at in a scroll box of the given size. Never below 1 x 1, however
// small the box, so that a minimised viewer never divides by zero or draws at a negative size.
PictureSize ZoomedSize(int mode, PictureSize picture, PictureSize box);

// Top-left corner that centres a picture of size in the box, each coordinate at least 0.
PictureSize CentredOrigin(PictureSize size, PictureSize box);

}  // namespace ui
