// The main window's shutdown: stop every webcam, write the settings, free the engine, once.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include "ui/controls/page_control1.h"
#include "ui/main/main_menus.h"
#include "ui/main/tsupamain.h"

namespace ui {

bool Tsupamain::FormClose() {
    if (StartBusy() || Closing) return false;
    Closing = true;
    Timer3->stop();
    Timer4->stop();
    PGTrayIcon951->setVisible(false);
    StopRequested = true;
    Config.HintsOff = FindCommand(*this, "WebcamHints1")->isChecked() ? 0 : 1;
    StopAllBehindWaitForm();
    DiskMan.ActivePage = PageControl2->currentWidget() == TabSheet12 ? 2 : 1;
    DiskMan.AutoLoad = CheckBox25->isChecked() ? 1 : 0;
    RememberWindowState();
    WriteSettings();
    Manager.reset();
    FShutdownDone = true;
    return true;
}

void Tsupamain::RememberWindowState() {
    if (isMinimized() || isHidden()) {
        Extra.WindowState = 1;
    } else if (isMaximized()) {
        Extra.WindowState = 2;
    } else {
        Extra.WindowState = 0;
        Config.WindowWidth = width();
        Config.WindowHeight = height();
    }
    Config.LeftPanelWidth = Panel1->width();
}

void Tsupamain::WriteSettings() {
    if (!RegConfig) return;  // the start-up never read them
    RegConfig->WriteConfig(Config);
    RegConfig->WriteExtra(Extra);
    RegConfig->WriteExtra12(Extra1, Extra2);
    RegConfig->WriteDiskMan(DiskMan);
    RegConfig.reset();
}

// A close while a start runs waits for its end; a close while the shutdown pumps is refused
// (the shutdown ends the program anyway); after the shutdown the window closes and the program
// quits.
void Tsupamain::closeEvent(QCloseEvent* event) {
    if (!FShutdownDone) {
        if (StartBusy()) FCloseDeferred = true;
        if (!FormClose()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void Tsupamain::RunDeferredClose() {
    if (!FCloseDeferred || StartBusy()) return;
    FCloseDeferred = false;
    QTimer::singleShot(0, this, [this] { close(); });
}

}  // namespace ui
