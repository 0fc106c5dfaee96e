#include "ui/grid/thumbnail_cell.h"

#include <QFont>
#include <QPainter>

#include "engine/webcam_events.h"
#include "media/bevel.h"
#include "media/qt/bevel_painter.h"
#include "media/qt/qt_convert.h"
#include "ui/controls/pixel_ellipse.h"
#include "ui/dialogs/record_text.h"
#include "ui/grid/cell_geometry.h"

namespace ui {

namespace {

using media::TColor;

// Font sizes are given in points of the classic 96-dpi screen, so that a cell looks the same
// on every display and in every test.
int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

// A one-pixel frame on R: TopLeft on the top row and the left column, BottomRight on the
// right column and the bottom row.
void Frame(QPainter& painter, const media::TRect& r, TColor topLeft, TColor bottomRight) {
    media::TMMBevel bevel;
    bevel.SetBevelOuter(media::bvRaised);
    bevel.SetOuterLightColor(topLeft);
    bevel.SetOuterShadowColor(bottomRight);
    media::PaintBevel(painter, bevel, media::ToQRect(r), false);
}

// The outline of R (Right and Bottom outside) in one colour.
void FrameRect(QPainter& painter, const media::TRect& r, TColor color) { Frame(painter, r, color, color); }

void Lamp(QPainter& painter, const media::TRect& box, TColor color) {
    DrawPixelEllipse(painter, box, media::ToQColor(media::clBlack), media::ToQColor(color));
}

}  // namespace

TColor StatusLampColor(std::uint8_t status) {
    switch (status) {
        case engine::kStatusQueued: return media::clBlue;
        case engine::kStatusHeader: return media::clYellow;
        case engine::kStatusPicture: return media::clLime;
        case engine::kStatusWaiting: return media::clFuchsia;
        case engine::kStatusError: return media::clRed;
        default: return media::clBtnFace;
    }
}

ThumbnailCellLook CellLookOf(const GridWebcam& webcam, QImage thumbnail, bool statusLeds) {
    ThumbnailCellLook look;
    look.name = FromRecord(webcam.name);
    look.thumbnail = std::move(thumbnail);
    look.enabled = webcam.enabled;
    look.nameColor = webcam.newPicture ? media::clRed : media::clBtnText;
    look.indicatorColor = webcam.favourite ? media::clLime : webcam.resting ? media::clRed : media::clYellow;
    look.status = webcam.status;
    look.selected = webcam.selected;
    look.statusLeds = statusLeds;
    return look;
}

QImage RenderThumbnailCell(QSize size, const ThumbnailCellLook& look) {
    const int w = size.width(), h = size.height();
    QImage cell(size, QImage::Format_RGB32);
    cell.fill(media::ToQColor(look.enabled ? media::clBtnFace : media::clGray));
    QPainter painter(&cell);
    Frame(painter, {2, 2, w - 2, h - 2}, media::clBtnHighlight, media::clBtnShadow);
    Frame(painter, {4, 4, w - 5, h - 21}, media::clBtnShadow, media::clBtnHighlight);

    // The name, clipped to its strip, on the button face (or the shadow of a disabled webcam).
    const QRect nameStrip = media::ToQRect({6, h - 16, w - 16, h - 4});
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(PointsToPixels(NameFontPoints(w)));
    painter.setFont(font);
    painter.fillRect(nameStrip, media::ToQColor(look.enabled ? media::clBtnFace : media::clBtnShadow));
    painter.setPen(media::ToQColor(look.nameColor));
    painter.save();
    painter.setClipRect(nameStrip);
    painter.drawText(QRect(nameStrip.topLeft(), QSize(w, h)), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     look.name);
    painter.restore();

    if (!look.thumbnail.isNull()) painter.drawImage(media::ToQRect({6, 6, w - 6, h - 20}), look.thumbnail);

    if (look.selected) {
        FrameRect(painter, {1, 1, w - 2, h}, media::clHighlight);
        FrameRect(painter, {2, 2, w - 3, h - 1}, media::clHighlight);
    }
    if (look.statusLeds) {
        Lamp(painter, {w - 12, h - 17, w - 7, h - 12}, StatusLampColor(look.status));
        Lamp(painter, {w - 12, h - 11, w - 7, h - 6}, look.indicatorColor);
    }
    return cell;
}

}  // namespace ui
