// The main window and its "Disque" page: the browser's folder follows the current webcam, the
// page's callbacks reach the viewer and the run state, and the data folder is chosen here.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QSignalBlocker>

#include "engine/messages.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/qt/led_gauge.h"
#include "media/qt/movie_maker_dialogs.h"
#include "platform/dispatch.h"
#include "platform/qt/prompts.h"
#include "ui/main/quick_bar_link.h"
#include "ui/controls/page_control1.h"
#include "ui/filters/view_filter.h"
#include "ui/filters/view_filters.h"
#include "ui/main/main_menus.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/data_folder.h"
#include "ui/main/tsupamain.h"
#include "ui/viewer/viewer.h"

namespace ui {

bool Tsupamain::DiskShowThumbnails() const { return FDisk->DiskThumbs().ShowThumbnails(); }

void Tsupamain::SetDiskShowThumbnails(bool on) { FDisk->DiskThumbs().SetShowThumbnails(on); }

void Tsupamain::DiskRefreshSelectLast() {
    tdiskthumbmanager& thumbs = FDisk->DiskThumbs();
    thumbs.Refresh();
    thumbs.SelectItem(thumbs.Count());
}

void Tsupamain::DiskAddPending() { FDisk->DiskThumbs().AddPending(); }

int Tsupamain::DiskEntryNumber() const { return FDisk->DiskThumbs().Current(); }

int Tsupamain::DiskEntryCount() const { return FDisk->DiskThumbs().Count(); }

bool Tsupamain::DiskPageShown() const { return PageControl2->currentWidget() == TabSheet12; }

void Tsupamain::ShowDiskPicture(const std::string& path) {
    FViewer->ShowPictureFile(path, true);
    PageControl2->setCurrentWidget(TabSheet11);
}

void Tsupamain::PageControl2Change() { FDisk->PageControl2Change(DiskPageShown()); }

// The current webcam's folder on the disk page, its newest entry current.
void Tsupamain::OpenWebcamFolder(int webcam) {
    engine::twebcammanager* manager = WebcamManager();
    if (manager && webcam >= 1 && webcam <= manager->Count())
        FDisk->OpenWebcamFolder(manager->GetWebcam(webcam)->Folder());
    ShowWebcamInfo();
}

void Tsupamain::SelectWebcamFolder1Click() {
    platform::Prompts& prompts = platform::CurrentPrompts();
    if (Manager && Manager->RunningCount() > 0) {
        prompts.Message(QStringLiteral("Veuillez arrêter toutes les webcams avant de changer de répertoire"));
        return;
    }
    const QString chosen = prompts.FolderName(QStringLiteral("Choisir le dossier des webcams"),
                                              QString::fromStdString(DataFolder()));
    if (chosen.isEmpty()) return;
    std::string folder = chosen.toStdString();
    if (folder.back() != '/') folder += '/';
    // The record's field holds 255 characters: a longer path is refused, never cut.
    if (folder.size() > kDataFolderField) {
        prompts.Message(QString::fromStdString(DataFolderTooLongText(folder)), platform::Prompts::Icon::Warning);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Extra.DataDir.assign(folder);
    engine::twebcammanager* manager = WebcamManager();
    if (manager) {
        if (FSwitch) FSwitch->LeaveWebcam();
        FCurrentWebcam = 0;
        manager->LoadFromFolder(folder);
        if (FSwitch) FSwitch->SetManager(*manager);
    }
    ShowFilter(kFilterAll);
    FDisk->DiskThumbs().SetFolder(folder);
    FDisk->SetFolderLabel(folder);
    if (manager && manager->Count() > 0) {
        ShowWebcam(1);
        MarkCurrentWebcam(FCurrentWebcam);
    } else {
        ShowWebcam(1);  // no webcam: the viewer and the panel show nobody
    }
    QApplication::restoreOverrideCursor();
    // The quick bar's buttons named the old folder's webcams.
    FQuickBar->ForgetButtons();
    FThumbnails->ShiftState = 0;
}

void Tsupamain::PopupDiskMenu(const QPoint& screenPoint) {
    if (QMenu* pictures = findChild<QMenu*>(QStringLiteral("Pictures1"))) pictures->popup(screenPoint);
}

void Tsupamain::UpdateMotionGauge(std::uint8_t kind, int score) {
    ui::UpdateMotionGauge(MotionGauge(), kind, score, MotionThreshold());
}

void Tsupamain::SetWalkButtons(bool firstPrevious, bool nextLast) {
    for (const char* name : {"ToolButton16", "ToolButton10"}) FindCommand(*this, name)->setEnabled(firstPrevious);
    for (const char* name : {"ToolButton11", "ToolButton17"}) FindCommand(*this, name)->setEnabled(nextLast);
}

void Tsupamain::ProcessMessages() { platform::ProcessMessages(); }

media::MovieMakerSetup Tsupamain::MovieSetup() {
    return media::DialogMovieSetup(this, {engine::LoadMessage(65168), engine::LoadMessage(65267), engine::LoadMessage(65249)});
}

}  // namespace ui
