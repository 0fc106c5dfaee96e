// The program block of ovlsaver: the mode from the first parameter, one instance at a time
// through the lock standing for "OVLSaver", and the form of the mode with its message loop.
#include <QApplication>

#include <string>

#include "platform/lock_file.h"
#include "platform/qt/application.h"
#include "platform/qt/gui_loop.h"
#include "platform/qt/termination_signals.h"
#include "saver/host_window.h"
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

    platform::LockFile single("OVLSaver");
    if (single.Acquire() == platform::LockFile::Result::AlreadyExists) return 0;  // another one runs
    // exit, not quit: a quit first asks every window to close, and the saver's window inside the
    // daemon's is no top-level window, so it would refuse and the saver would never end.
    platform::TerminationSignals terminationSignals([] { QCoreApplication::exit(0); });

    if (mode == saver::SaverMode::Configure) {
        saver::Tsaverconfig config;
        config.show();
        return QApplication::exec();
    }
    saver::Tssform form(saver::HostWindowFromEnvironment());
    if (!form.FormCreate()) return 0;
    form.Start();
    return QApplication::exec();
}
