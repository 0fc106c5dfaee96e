#pragma once
// Drawing one cell of the thumbnail grid: a raised frame around the cell, a sunken frame around
// the picture, the thumbnail, the name below it, the selection frame and two lamps (status
// above, scan kind below). The cell is drawn into one picture, copied to the grid in one go.

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

#include "media/color.h"
#include "ui/grid/grid_source.h"

namespace ui {

struct ThumbnailCellLook {
    QString name;
    QImage thumbnail;  // null: none
    bool enabled = true;
    media::TColor nameColor = media::clBtnText;
    media::TColor indicatorColor = media::clYellow;
    std::uint8_t status = 0;
    bool selected = false;
    bool statusLeds = true;  // draw the two lamps
};

// The status lamp's colour: queued blue, fetching the header yellow, fetching the picture lime,
// waiting fuchsia, error red, anything else the button face.
media::TColor StatusLampColor(std::uint8_t status);

// The name red when a new picture came, else the button text; the lower lamp lime for a
// favourite, else red while it rests, else yellow.
ThumbnailCellLook CellLookOf(const GridWebcam& webcam, QImage thumbnail, bool statusLeds);

// The cell of Size as it is drawn.
QImage RenderThumbnailCell(QSize size, const ThumbnailCellLook& look);

}  // namespace ui
