#include "ui/disk/frame_bitmaps.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cstring>
#include <functional>

#include "media/color.h"
#include "media/qt/qt_convert.h"

namespace ui {
namespace {

using media::ToQColor;

engine::Bitmap Draw(const std::function<void(QPainter&)>& paint) {
    QImage image(kDiskThumbSize, kDiskThumbSize, QImage::Format_BGR888);
    image.fill(ToQColor(media::clBtnFace));
    {
        QPainter painter(&image);
        paint(painter);
    }
    engine::Bitmap bitmap(kDiskThumbSize, kDiskThumbSize, 24);
    for (int y = 0; y < kDiskThumbSize; ++y) std::memcpy(bitmap.row(y), image.constScanLine(y), bitmap.stride());
    return bitmap;
}

// A sunken picture frame around the thumbnail box (5, 4)-(75, 59).
void PictureFrame(QPainter& p, const QColor& inside) {
    p.fillRect(QRect(4, 3, 72, 57), inside);
    p.setPen(ToQColor(media::clBtnShadow));
    p.drawLine(3, 2, 76, 2);
    p.drawLine(3, 2, 3, 60);
    p.setPen(ToQColor(media::clBtnHighlight));
    p.drawLine(3, 60, 76, 60);
    p.drawLine(76, 2, 76, 60);
}

void FolderShape(QPainter& p) {
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygon({QPoint(14, 18), QPoint(32, 18), QPoint(37, 24), QPoint(66, 24), QPoint(66, 56),
                            QPoint(14, 56)}));
    p.setBrush(QColor(250, 220, 120));
    p.drawRect(14, 28, 52, 28);
}

// A small grey landscape: the picture that is not there.
void MissingPicture(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128));
    p.drawPolygon(QPolygon({QPoint(14, 52), QPoint(30, 30), QPoint(40, 42), QPoint(48, 34), QPoint(66, 52)}));
    p.drawEllipse(QPoint(56, 18), 5, 5);
}

FrameBitmaps MakeFrames() {
    FrameBitmaps frames;
    // B1: a dark frame with film holes, for CAM pictures and EXIF thumbnails.
    frames.B[0] = Draw([](QPainter& p) {
        p.fillRect(QRect(2, 2, 76, 58), QColor(40, 40, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(media::clBtnFace));
        for (int x = 6; x < 76; x += 10) {
            p.drawRect(x, 3, 4, 2);
            p.drawRect(x, 57, 4, 2);
        }
    });
    frames.B[1] = Draw([](QPainter& p) { PictureFrame(p, Qt::white); });
    frames.B[2] = Draw(FolderShape);
    // B4: a page with a folded corner.
    frames.B[3] = Draw([](QPainter& p) {
        p.setPen(ToQColor(media::clBtnText));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({QPoint(22, 6), QPoint(48, 6), QPoint(58, 16), QPoint(58, 58), QPoint(22, 58)}));
        p.drawPolyline(QPolygon({QPoint(48, 6), QPoint(48, 16), QPoint(58, 16)}));
        for (int y = 24; y < 54; y += 6) p.drawLine(28, y, 52, y);
    });
    frames.B[4] = Draw([](QPainter& p) {
        PictureFrame(p, Qt::white);
        MissingPicture(p);
    });
    // B6: a folder with an arrow up.
    frames.B[5] = Draw([](QPainter& p) {
        FolderShape(p);
        p.setPen(QPen(QColor(0, 0, 128), 3));
        p.drawLine(40, 52, 40, 33);
        p.drawLine(40, 33, 32, 41);
        p.drawLine(40, 33, 48, 41);
    });
    return frames;
}

}  // namespace

const FrameBitmaps& DiskFrameBitmaps() {
    static const FrameBitmaps frames = MakeFrames();
    return frames;
}

}  // namespace ui
