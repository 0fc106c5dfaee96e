#include "ui/main/commands_host.h"

#include <QApplication>

#include "engine/motion_settings.h"
#include "platform/qt/prompts.h"
#include "ui/main/quick_bar_link.h"
#include "ui/commands/webcam_commands.h"
#include "ui/dialogs/changerefresh.h"
#include "ui/dialogs/favpref.h"
#include "ui/dialogs/globalsave.h"
#include "ui/dialogs/motion_settings_dialog.h"
#include "ui/dialogs/selectenabled.h"
#include "ui/dialogs/selectsave.h"
#include "ui/dialogs/selectwebcam.h"
#include "ui/dialogs/showtextfile.h"
#include "ui/editors/catedit.h"
#include "ui/editors/newwebcamdlg.h"
#include "ui/filters/view_filter.h"
#include "ui/forms/waitform.h"
#include "ui/main/manager_dialog_sources.h"
#include "ui/main/screen_placement.h"
#include "ui/main/tsupamain.h"
#include "ui/saverlist/slistedit.h"
#include "ui/viewer/viewer_texts.h"
#include "ui/web/browser.h"
#include "ui/web/web_commands.h"

namespace ui {

engine::twebcammanager* MainCommandsHost::WebcamManager() { return form_.WebcamManager(); }

int MainCommandsHost::CurrentWebcam() const { return form_.CurrentWebcam(); }

QWidget* MainCommandsHost::Window() { return &form_; }

void MainCommandsHost::Message(const QString& text) { platform::CurrentPrompts().Message(text); }

bool MainCommandsHost::Ask(const QString& text) { return platform::CurrentPrompts().Ask(text); }

QString MainCommandsHost::SaveFileName(const QString& filter) {
    return platform::CurrentPrompts().SaveFileName(QString(), QString(), filter);
}

void MainCommandsHost::OpenUrl(const QString& url) { OpenInBrowser(url); }

void MainCommandsHost::SetHourglass(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void MainCommandsHost::ShowWaitForm(bool shown) { waitform().setVisible(shown); }

bool MainCommandsHost::EditWebcam(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew,
                                  const std::string& dataFolder, HeaderLines& headerLines) {
    return newwebcamdlg().Execute(rec, rec2, isNew, dataFolder, &headerLines);
}

bool MainCommandsHost::EditCategories(engine::TWebcamDefRec& rec) { return catedit().EditCategories(rec); }

bool MainCommandsHost::EditSaverList(const std::string& dataFolder, std::vector<SaverListChange>& changes) {
    // The note about editing the list from the main program belongs to the screen saver's copy.
    return slistedit().EditList(dataFolder, false, &changes);
}

bool MainCommandsHost::ChangeRefresh(std::int32_t& seconds, std::uint8_t& ifModifiedSince) {
    return changerefresh().Execute(seconds, ifModifiedSince);
}

bool MainCommandsHost::SelectSave(int& mode) { return selectsave().Execute(mode); }

// Opens at the bottom-left corner of SpeedButton2 (its "..."), within the screen; "Paramètres"
// of the dialog runs the global motion settings as the menu command does.
bool MainCommandsHost::GlobalSave(std::uint8_t& mode, std::uint8_t& on) {
    TGlobalsave& dialog = globalsave();
    return dialog.Execute(mode, on, PlaceOnScreenOf(form_, dialog, form_.BelowSpeedButton2()),
                                [this] { form_.Commands().MotionDetectionSettings1Click(); });
}

bool MainCommandsHost::FavouritePreferences(engine::TConfigRec& config) { return favpref().Execute(config); }

bool MainCommandsHost::SelectWebcam(int& index) {
    engine::twebcammanager* manager = form_.WebcamManager();
    if (!manager) return false;
    ManagerChooserSource source(*manager, [this] { form_.ShowFilter(kFilterSelected); });
    return selectwebcam().Execute(source, index);
}

bool MainCommandsHost::SelectEnabled(int& which, int& append) { return selectenabled().Execute(which, append); }

void MainCommandsHost::ShowTextFile(const std::string& fileName, const QString& caption) {
    showtextfile().ShowFile(fileName, caption);
}

void MainCommandsHost::EditMotionSettings(int webcam, bool global, std::array<int, 6>& settings) {
    Tmotionsettings& dialog = motionsettings();
    engine::twebcammanager* manager = form_.WebcamManager();
    std::optional<ManagerMotionRecords> records;
    if (manager) records.emplace(*manager);
    dialog.SetWebcamRecords(records ? &*records : nullptr);
    engine::TMotionSettingsRec rec = engine::MotionSettingsFromValues(settings);
    dialog.EditSettings(webcam, global, rec);
    dialog.SetWebcamRecords(nullptr);
    settings = engine::MotionSettingsValues(rec);
}

void MainCommandsHost::CreateWebcamsFromList() { form_.Web().Createwebcamfromwebcamlist1Click(); }

void MainCommandsHost::SetRunState(int code) { form_.SetRunState(code); }

void MainCommandsHost::ShowWebcam(int webcam) { form_.ShowWebcam(webcam); }

void MainCommandsHost::MarkCurrentWebcam(int webcam) { form_.MarkCurrentWebcam(webcam); }

void MainCommandsHost::UpdateGridRows() { form_.UpdateGridRows(); }

void MainCommandsHost::RepaintGrid() { form_.RepaintGrid(); }

void MainCommandsHost::RedrawWebcamCell(int webcam) { form_.RedrawWebcamCell(webcam); }

void MainCommandsHost::ApplyViewFilter() { form_.ApplyViewFilter(); }

void MainCommandsHost::ShowFavourites() { form_.ShowFavourites(); }

void MainCommandsHost::UpdateStatusGauges() { form_.UpdateStatusGauges(); }

void MainCommandsHost::ShowWebcamInfo() { form_.ShowWebcamInfo(); }

void MainCommandsHost::UpdateTrayHint() { form_.UpdateTrayHint(); }

void MainCommandsHost::SetGlobalSaveText(const QString& text) { form_.SetGlobalSaveText(text); }

void MainCommandsHost::SetMotionGaugePoints(int point) { form_.SetMotionGaugePoints(point); }

bool MainCommandsHost::ToggleSlowScanMark() { return form_.ToggleSlowScanMark(); }
void MainCommandsHost::SaveQuickBarButtons() { form_.QuickBar().SaveButtons(); }
void MainCommandsHost::ReloadQuickBarButtons() { form_.QuickBar().ReloadButtons(); }
void MainCommandsHost::ForgetQuickBarButtons() { form_.QuickBar().ForgetButtons(); }

}  // namespace ui
