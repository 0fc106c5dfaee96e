#include "ui/main/quick_bar_link.h"

#include <QAction>
#include <QUrl>

#include "desktop/app_bar_service.h"
#include "desktop/quick_bar_store.h"
#include "engine/webcam_manager.h"
#include "platform/qt/prompts.h"
#include "ui/commands/webcam_commands.h"
#include "ui/controls/shift_state.h"
#include "ui/grid/bitmap_image.h"
#include "ui/grid/thumbnail_grid.h"
#include "ui/main/main_menus.h"
#include "ui/main/tsupamain.h"
#include "ui/viewer/viewer.h"
#include "ui/viewer/viewer_texts.h"
#include "ui/web/browser.h"

namespace ui {

desktop::Tquickbar* QuickBarLink::Bar() const { return form_.Extra1.QuickBarShown ? bar_.data() : nullptr; }

void QuickBarLink::Open() {
    if (!bar_) bar_ = new desktop::Tquickbar(*this, desktop::DesktopAppBarService());
}

void QuickBarLink::SetButtonDown(bool down) {
    if (QAction* button = FindCommand(form_, "ToolButton25")) button->setChecked(down);
}

void QuickBarLink::ToolButton25Click() {
    form_.Thumbnails().ShiftState = 0;
    QAction* button = FindCommand(form_, "ToolButton25");
    if (!button || !button->isEnabled()) return;
    // A second press while the first is handled is not taken.
    button->setEnabled(false);
    if (form_.Extra1.QuickBarShown) {
        if (bar_) {
            bar_->hide();
            bar_->deleteLater();  // it saves its buttons as it goes
        }
        form_.Extra1.QuickBarShown = 0;
        bar_ = nullptr;
    } else {
        form_.Extra1.QuickBarShown = 1;
        Open();
    }
    button->setEnabled(true);
    SetButtonDown(form_.Extra1.QuickBarShown != 0);
}

void QuickBarLink::ReopenAtStart() {
    if (!form_.Extra1.QuickBarShown) return;
    Open();
    SetButtonDown(true);
}

QuickBarLink::QuickBarLink(Tsupamain& form) : form_(form) {
    if (QAction* button = FindCommand(form_, "ToolButton25")) button->setToolTip(QStringLiteral("Ouvre et Ferme la DorOza"));
}

QuickBarLink::~QuickBarLink() { delete bar_.data(); }

void QuickBarLink::CloseAtShutdown() {
    if (!form_.Extra1.QuickBarShown || !bar_) return;
    bar_->hide();
    delete bar_.data();
}

void QuickBarLink::QuickBarClosed() {
    form_.show();
    form_.Extra1.QuickBarShown = 0;
    bar_ = nullptr;
    SetButtonDown(false);
}

void QuickBarLink::UpdateWebcamButton(int webcam) {
    if (desktop::Tquickbar* bar = Bar()) bar->UpdateWebcamButton(webcam);
}

void QuickBarLink::SaveButtons() {
    if (desktop::Tquickbar* bar = Bar()) bar->SaveSettings();
}

void QuickBarLink::ReloadButtons() {
    if (desktop::Tquickbar* bar = Bar()) bar->Reload();
}

void QuickBarLink::ForgetButtons() {
    if (desktop::Tquickbar* bar = Bar()) {
        bar->ClearButtons();
    } else {
        desktop::ClearQuickBarStore();
    }
}

engine::twebcammanager* QuickBarLink::WebcamManager() { return form_.WebcamManager(); }

desktop::DroppedWebcamDefaults QuickBarLink::DroppedWebcamSettings() const {
    desktop::DroppedWebcamDefaults d;
    d.refresh = form_.Extra1.AutoRefresh;
    d.headCheck = static_cast<std::uint8_t>(form_.DiskMan.NoIfModifiedSince & 0xFF);
    d.saveMode = form_.Extra1.AutoSaveMode;
    d.autoStart = form_.Extra1.AutoStart != 0;
    return d;
}

QImage QuickBarLink::WebcamThumbnail(int webcam) const {
    engine::twebcammanager* manager = form_.WebcamManager();
    if (!manager || webcam < 1 || webcam > manager->Count()) return {};
    return ImageOfBitmap(manager->GetThumbnail(webcam));
}

void QuickBarLink::ShowMainWindow() {
    if (form_.isMinimized() || !form_.isVisible()) form_.showNormal();
    form_.raise();
    form_.activateWindow();
}

void QuickBarLink::ShowWebcam(int webcam) {
    form_.ShowWebcam(webcam);
    form_.MarkCurrentWebcam(form_.CurrentWebcam());
    form_.raise();
}

void QuickBarLink::StartCurrentWebcam() { form_.Commands().ToolButton13Click(); }
void QuickBarLink::StopCurrentWebcam() { form_.Commands().ToolButton14Click(); }
void QuickBarLink::EditCurrentWebcam() { form_.Commands().Edit2Click(); }
void QuickBarLink::StartAllWebcams() { form_.Commands().ToolButton8Click(); }
void QuickBarLink::StopAllWebcams() { form_.Commands().ToolButton9Click(); }
void QuickBarLink::SetRunState(int code) { form_.SetRunState(code); }

void QuickBarLink::RunStateChanged() {
    form_.ShowWebcamInfo();
    form_.UpdateStatusGauges();
    form_.UpdateTrayHint();
}

void QuickBarLink::WebcamsAdded() {
    form_.ApplyViewFilter();
    form_.RepaintGrid();
}

void QuickBarLink::RestoreMainWindow() { ShowMainWindow(); }
void QuickBarLink::CloseMainWindow() { form_.close(); }
QImage QuickBarLink::DisplayedPicture() const { return form_.Viewer().ShownPicture(); }

void QuickBarLink::OpenWebPage(const QString& url) { OpenInBrowser(url); }

void QuickBarLink::Message(const QString& text) { platform::CurrentPrompts().Message(text); }

void QuickBarLink::SetShiftState(Qt::KeyboardModifiers modifiers) {
    form_.Thumbnails().ShiftState = ShiftStateOf(modifiers);
}

}  // namespace ui
