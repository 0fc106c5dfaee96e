// Refresh and saving of the selected webcams; the global saving mode, slow scan and motion
// detection settings.

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/global_save_text.h"
#include "ui/commands/webcam_commands.h"

#include <algorithm>

namespace ui {

void WebcamCommands::Changerefreshrateforselectedwebcams1Click() {
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    std::int32_t seconds = 30;
    std::uint8_t ifModifiedSince = 1;
    if (!host_.ChangeRefresh(seconds, ifModifiedSince)) return;
    // A negative period means nothing to the scheduler.
    seconds = std::max<std::int32_t>(seconds, 0);
    ChangeRecords(*manager, IsSelected, [&](engine::TWebcamDefRec& rec) {
        rec.Refresh = seconds;
        rec.HeadCheck = ifModifiedSince != 0 ? 0 : 1;
    });
}

void WebcamCommands::Changesavesettingsforselectedwebcams1Click() {
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    int mode = engine::kSaveEvery;
    if (!host_.SelectSave(mode)) return;
    ChangeRecords(*manager, IsSelected,
                  [mode](engine::TWebcamDefRec& rec) { rec.SaveMode = static_cast<std::uint8_t>(mode); });
}

void WebcamCommands::GlobalSaveControl1Click() {
    state_.ShiftState = 0;
    engine::TDiskManRec& diskMan = state_.DiskMan;
    host_.GlobalSave(diskMan.GlobalSaveMode, diskMan.GlobalSaveOn);
    host_.SetGlobalSaveText(GlobalSaveText(diskMan.GlobalSaveOn, diskMan.GlobalSaveMode));
}

void WebcamCommands::SlowScanInactiveWebcams1Click() {
    state_.Extra1.SlowScanOn = host_.ToggleSlowScanMark() ? 1 : 0;
    // The scheduling reads its own copy of the switch.
    if (Manager* manager = host_.WebcamManager()) manager->ApplySettings(state_.Config, state_.Extra1);
}

void WebcamCommands::EditMotion(bool global) {
    std::array<int, 6> settings = state_.MotionSettings;
    host_.EditMotionSettings(host_.CurrentWebcam(), global, settings);
    state_.MotionSettings = settings;
    host_.SetMotionGaugePoints(settings[kMotionThreshold] * 4);
}

void WebcamCommands::MotionDetectionSettings1Click() { EditMotion(true); }

void WebcamCommands::MMLEDGauge5Click() {
    state_.ShiftState = 0;
    EditMotion(false);
}

}  // namespace ui
