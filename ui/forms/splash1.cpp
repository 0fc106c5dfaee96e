#include "ui/forms/splash1.h"

#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "platform/program_dir.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/forms/screen_centre.h"
#include "ui/icons/icons.h"

namespace ui {

namespace {

constexpr int kMargin = 16;

}  // namespace

Tsplash1::Tsplash1(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("splash1"));
    setWindowTitle(QStringLiteral("Ecran 1"));
    panel_ = Named<QFrame>(this, "Panel1");
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(rect());
    image_ = Named<QLabel>(panel_, "Image1");
    image_->move(kMargin, kMargin);
    // The designed look: the program's own picture, until a "splash.jpg" replaces it.
    ShowPicture(SplashPicture());
}

void Tsplash1::ShowPicture(const QImage& picture) {
    image_->setPixmap(QPixmap::fromImage(picture));
    image_->resize(picture.size());
    resize(picture.width() + 2 * kMargin, picture.height() + 2 * kMargin);
    panel_->setGeometry(rect());
}

void Tsplash1::showEvent(QShowEvent* event) {
    // A missing or unreadable picture leaves the window as it is.
    QImageReader reader(QString::fromStdString(platform::ProgramFolder() + "splash.jpg"));
    const QImage picture = reader.read();
    if (!picture.isNull()) ShowPicture(picture);
    CentreOnScreen(*this);
    QWidget::showEvent(event);
}

Tsplash1& splash1() { return DialogInstance<Tsplash1>::Get(); }

}  // namespace ui
