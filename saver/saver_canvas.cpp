#include "saver/saver_canvas.h"

#include <QPainter>

namespace saver {

SaverCanvas::SaverCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SaverCanvas::ShowPicture(const QImage& picture, const QRect& rect) {
    picture_ = picture;
    rect_ = rect;
    update();
}

void SaverCanvas::ClearPicture() { ShowPicture({}, {}); }

void SaverCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect_, picture_);
    }
}

}  // namespace saver
