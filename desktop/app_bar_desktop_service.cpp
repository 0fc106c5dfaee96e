// The session's bar service: the X11 one on an X11 display, followed through the Qt event loop.

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include "desktop/app_bar_service.h"
#include "desktop/app_bar_x11_service.h"

namespace desktop {

namespace {

std::shared_ptr<AppBarService> MakeService() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto x11 = std::make_shared<AppBarX11Service>(std::string());
        if (x11->Connected()) {
            // Lives as long as the application; the service outlives it.
            auto* notifier = new QSocketNotifier(x11->EventFd(), QSocketNotifier::Read, qApp);
            AppBarX11Service* raw = x11.get();
            QObject::connect(notifier, &QSocketNotifier::activated, notifier, [raw] { raw->ProcessEvents(); });
            x11->eventsQueued = [raw, notifier] {
                QTimer::singleShot(0, notifier, [raw] { raw->ProcessEvents(); });
            };
            return x11;
        }
    }
    QRect screen(0, 0, 1024, 768);
    if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
    return std::make_shared<NoAppBarService>(
        AppBarRect{screen.left(), screen.top(), screen.left() + screen.width(), screen.top() + screen.height()});
}

}  // namespace

std::shared_ptr<AppBarService> DesktopAppBarService() {
    static const std::shared_ptr<AppBarService> service = MakeService();
    return service;
}

}  // namespace desktop
