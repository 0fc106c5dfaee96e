// The main window's shutdown: stop every webcam, write the settings, free the engine, once.
#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include "desktop/tray_icon.h"
#include "engine/webcam_manager.h"
#include "ui/filters/view_filters.h"
#include "ui/forms/waitform.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/loading_list_view.h"
#include "ui/main/main_menus.h"
#include "ui/main/manager_grid_source.h"
#include "ui/main/quick_bar_link.h"
#include "ui/main/tsupamain.h"

namespace ui {

bool Tsupamain::FormClose() {
    if (StartBusy() || Closing) return false;
    Closing = true;
    Timer3->stop();
    Timer4->stop();
    PGTrayIcon951->SetActive(false);
    StopRequested = true;
    Config.HintsOff = FindCommand(*this, "WebcamHints1")->isChecked() ? 0 : 1;
    FDisk->DiskThumbs().CancelThumbnails();
    StopAllBehindWaitForm();
    RememberDiskPageState();
    RememberWindowState();
    WriteSettings();
    FQuickBar->CloseAtShutdown();
    FreeEngine();
    FShutdownDone = true;
    return true;
}

// Stopping waits for every fetch thread to let go of its webcam; the wait form says why the
// window is busy meanwhile. Nothing is shown when no webcam runs.
void Tsupamain::StopAllBehindWaitForm() {
    if (!Manager || Manager->RunningCount() == 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Stopping = true;
    waitform().show();
    Manager->StopAll();
    waitform().hide();
    QApplication::restoreOverrideCursor();
}

void Tsupamain::FreeEngine() {
    // The manager still reports while it stops its webcams: it no longer reports to what is
    // freed before it.
    if (engine::twebcammanager* manager = WebcamManager()) {
        manager->OnStatusChange = nullptr;
        manager->OnNewPicture = nullptr;
        manager->OnStreamPicture = nullptr;
        manager->SetListView(nullptr);
    }
    FSwitch.reset();
    FFilters.reset();
    FThumbnails->SetSource(nullptr);
    FGridSource.reset();
    Manager.reset();
    FListView.reset();
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
    // The split the user chose, also when the window was too narrow to give it.
    Config.LeftPanelWidth = FLeftPanelWidth > 0 ? FLeftPanelWidth : Panel1->width();
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
