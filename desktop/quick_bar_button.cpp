#include "desktop/quick_bar_button.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

#include "desktop/quick_bar_host.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/cp1252.h"

namespace desktop {

namespace {

QString FromRecord(const engine::String255& s) { return QString::fromStdString(platform::Cp1252ToUtf8(s.view())); }

engine::twebcam* WebcamOf(QuickBarHost& host, int index) {
    engine::twebcammanager* manager = host.WebcamManager();
    if (!manager || index < 1 || index > manager->Count()) return nullptr;
    return manager->GetWebcam(index);
}

}  // namespace

QPixmap DrawBlankButton() {
    const QPalette palette;
    QPixmap blank(kQuickButtonWidth, kQuickButtonHeight);
    blank.fill(palette.color(QPalette::Button));
    QPainter p(&blank);
    const QColor light = palette.color(QPalette::Light), shadow = palette.color(QPalette::Dark);
    // Raised, 3 pixels in: 2-pixel light left and top, 1-pixel shadow right and bottom.
    const QRect outer(3, 3, kQuickButtonWidth - 6, kQuickButtonHeight - 6);
    p.fillRect(outer.left(), outer.top(), 2, outer.height(), light);
    p.fillRect(outer.left(), outer.top(), outer.width(), 2, light);
    p.fillRect(outer.right(), outer.top(), 1, outer.height(), shadow);
    p.fillRect(outer.left(), outer.bottom(), outer.width(), 1, shadow);
    // Sunken, 5 pixels in: shadow left and top, light right and bottom.
    const QRect inner(5, 5, kQuickButtonWidth - 10, kQuickButtonHeight - 10);
    p.fillRect(inner.left(), inner.top(), 1, inner.height(), shadow);
    p.fillRect(inner.left(), inner.top(), inner.width(), 1, shadow);
    p.fillRect(inner.right(), inner.top(), 1, inner.height(), light);
    p.fillRect(inner.left(), inner.bottom(), inner.width(), 1, light);
    return blank;
}

TQuickBarButton::TQuickBarButton(int webcam, QuickBarHost& host, const QPixmap& blank, QWidget* parent)
    : QToolButton(parent), FTag(webcam), FHost(host), FBlank(blank) {
    setFixedSize(kQuickButtonWidth, kQuickButtonHeight);
    setAutoRaise(true);
    UpdateHint();
}

void TQuickBarButton::UpdateHint() {
    const engine::twebcam* webcam = WebcamOf(FHost, FTag);
    if (!webcam) return setToolTip({});
    const engine::TWebcamDefRec rec = webcam->Rec();
    // Lines end in LF alone: the CR that Windows hints add after it would show as a blank.
    const QString lineEnd = QStringLiteral("\n");
    QString hint = FromRecord(rec.Name) + lineEnd;
    if (!rec.Description.view().empty()) hint += FromRecord(rec.Description) + lineEnd;
    hint += FromRecord(rec.PictureURL);
    setToolTip(hint);
}

QImage TQuickBarButton::Face() const {
    const engine::twebcam* webcam = WebcamOf(FHost, FTag);
    if (!webcam) return {};
    QImage face = FBlank.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter p(&face);
    p.drawImage(QRect(6, 6, 80, 60), FHost.WebcamThumbnail(FTag));
    if (webcam->FNewPicture) {
        p.setPen(QColor(0, 255, 0));  // clLime
        p.drawRect(QRect(4, 4, kQuickButtonWidth - 9, kQuickButtonHeight - 9));
    }
    return face;
}

bool TQuickBarButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) UpdateHint();
    return QToolButton::event(event);
}

void TQuickBarButton::paintEvent(QPaintEvent*) {
    const QImage face = Face();
    if (face.isNull()) return;
    QPainter p(this);
    p.drawImage(QRect(0, 0, width(), height() - 2), face);
}

}  // namespace desktop
