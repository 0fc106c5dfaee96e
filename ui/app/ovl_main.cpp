// The program block of ovl: the application, the current folder, the forms, the splash while
// the main window starts up, the lock standing for the semaphore "OVL", and the message loop.
#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTranslator>

#include <chrono>
#include <climits>
#include <exception>
#include <string>
#include <vector>

#include "platform/dispatch.h"
#include "platform/lock_file.h"
#include "platform/qt/application.h"
#include "platform/qt/gui_loop.h"
#include "platform/qt/termination_signals.h"
#include "ui/controls/long_path.h"
#include "ui/dialogs/selthumbsize.h"
#include "ui/editors/addheadedit.h"
#include "ui/forms/loadingwc.h"
#include "ui/forms/loadprog.h"
#include "ui/forms/splash1.h"
#include "ui/forms/waitform.h"
#include "ui/icons/icons.h"
#include "ui/main/tsupamain.h"
#include "ui/viewer/imageproc.h"

namespace {

// The current folder in its long-name form; any failure leaves it as it is.
void SettleCurrentFolder() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return;
    std::string folder = buffer;
    try {
        ui::ExpandToLongPathName(folder, PATH_MAX);
    } catch (const std::exception&) {
        return;
    }
    [[maybe_unused]] int ignored = chdir(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvello"));
    // No display name: Qt would add it to every window title, and the captions are the forms'.
    QApplication::setWindowIcon(ui::ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("orvello"));
    platform::GuiEventBridge bridge;
    // The program speaks French: so do Qt's own buttons ("Oui", "Non", "Annuler") where the
    // translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    SettleCurrentFolder();

    std::vector<std::string> parameters(argv + (argc > 0 ? 1 : 0), argv + argc);
    ui::Tsupamain supamain({ui::CreateManagerEngine, parameters});
    ui::Tsplash1& splash = ui::splash1();
    ui::waitform();
    ui::loadprog();
    ui::loadingwc();
    ui::imageproc();
    ui::addheadedit();
    ui::selthumbsize();

    splash.show();
    splash.repaint();
    platform::SleepPumping(std::chrono::milliseconds(1000));
    try {
        supamain.StartUp();
    } catch (...) {
        platform::Application::ShowException(std::current_exception());
        return 1;
    }
    splash.hide();
    platform::TerminationSignals terminationSignals([&] { supamain.close(); });

    // Held, whether a screen saver holds it too or not, until the program ends: it tells every
    // saver started meanwhile that ovl runs.
    platform::LockFile running("OVL");
    running.Acquire();

    supamain.show();
    return QApplication::exec();
}
