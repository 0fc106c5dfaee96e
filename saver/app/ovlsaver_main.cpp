// The program block of ovlsaver: the mode from the first parameter, one instance at a time
// (saver_instance.h), and the form of the mode with its message loop.
#include <QApplication>

#include <memory>

#include "platform/qt/application.h"
#include "platform/qt/gui_loop.h"
#include "platform/qt/termination_signals.h"
#include "saver/host_window.h"
#include "saver/saver_instance.h"
#include "saver/saver_mode.h"
#include "saver/tsaverconfig.h"
#include "saver/tssform.h"

int main(int argc, char** argv) {
    const saver::SaverMode mode = saver::ModeFromParameter(argc > 1 ? argv[1] : "");
    // A preview shows nothing, and changing a password is the desktop's own business on Linux.
    if (mode != saver::SaverMode::Configure && mode != saver::SaverMode::Run) return 0;

    platform::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvello Screen Saver"));
    platform::GuiEventBridge bridge;
    // exit, not quit: a quit first asks every window to close, and the saver's window inside the
    // daemon's is no top-level window, so it would refuse and the saver would never end.
    platform::TerminationSignals terminationSignals([] { QCoreApplication::exit(0); });

    const WId host = mode == saver::SaverMode::Run ? saver::HostWindowFromEnvironment() : 0;
    const saver::SaverInstance instance(host != 0);
    // Full screen or configuring, a second instance ends at once. Inside a daemon's window a
    // saver that ended would be started again and again: it stays, idle, until the daemon
    // ends it or its window or the daemon goes.
    if (host == 0 && !instance.alone()) return 0;
    if (mode == saver::SaverMode::Configure) {
        saver::Tsaverconfig config;
        config.show();
        return QApplication::exec();
    }
    std::unique_ptr<saver::HostWatch> watch;
    if (host != 0) watch = std::make_unique<saver::HostWatch>(host);
    saver::Tssform form(host);
    if (instance.alone() && form.FormCreate()) form.Start();
    else if (host != 0) form.StandIdle();
    else return 0;
    return QApplication::exec();
}
