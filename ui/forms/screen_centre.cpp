#include "ui/forms/screen_centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace ui
