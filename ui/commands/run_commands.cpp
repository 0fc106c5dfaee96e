// Starting, stopping, enabling and disabling webcams.

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/command_scopes.h"
#include "ui/commands/webcam_commands.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/grid/run_state.h"

namespace ui {

void WebcamCommands::StartWith(int emptyMessage, bool askForList, void (Manager::*start)()) {
    Manager* manager = host_.WebcamManager();
    if (!manager || state_.Starting) return;
    if (manager->Count() < 1) {
        if (askForList) {
            if (AskYes(Message(kMsgAddFromList))) host_.CreateWebcamsFromList();
        } else if (emptyMessage != 0) {
            Say(emptyMessage);
        }
        return;
    }
    FlagScope starting(state_.Starting);
    host_.SetRunState(kRunWebcamsStarted);
    SwitchScope busy(host_, &WebcamCommandsHost::SetHourglass);
    state_.StopRequested = false;
    (manager->*start)();
    AfterRunChange(*manager);
}

void WebcamCommands::AfterRunChange(Manager& manager) {
    host_.ShowWebcamInfo();
    host_.UpdateTrayHint();
    if (manager.RunningCount() == 0) host_.SetRunState(kRunWebcamsStopped);
}

void WebcamCommands::ToolButton8Click() {
    state_.ShiftState = 0;
    StartWith(0, true, &Manager::StartAll);
}

void WebcamCommands::Startselectedwebcams1Click() { StartWith(kMsgNothingToStart, false, &Manager::StartSelected); }

void WebcamCommands::StartFavorites1Click() { StartWith(0, false, &Manager::StartFavourites); }

// Not kept from running twice by Starting: it starts one webcam and pumps no messages.
void WebcamCommands::ToolButton13Click() {
    state_.ShiftState = 0;
    Manager* manager = host_.WebcamManager();
    if (!manager) return;
    if (manager->Count() < 1) {
        if (AskYes(Message(kMsgAddFromList))) host_.CreateWebcamsFromList();
        return;
    }
    const int current = host_.CurrentWebcam();
    if (current < 1 || current > manager->Count()) return;
    host_.SetRunState(kRunWebcamsStarted);
    manager->StartWebcam(current);
    AfterRunChange(*manager);
}

void WebcamCommands::StopWith(void (Manager::*stop)(), bool all) {
    Manager* manager = WithWebcams(kMsgNothingToStop);
    if (!manager) return;
    // A stop that arrives during a stop only asks the long picture loops to end.
    state_.StopRequested = true;
    if (state_.Stopping) return;
    if (manager->RunningCount() > 0) {
        SwitchScope busy(host_, &WebcamCommandsHost::SetHourglass);
        FlagScope stopping(state_.Stopping);
        SwitchScope wait(host_, &WebcamCommandsHost::ShowWaitForm);
        (manager->*stop)();
    }
    if (all) {
        host_.SetRunState(kRunWebcamsStopped);
        host_.ShowWebcamInfo();
        host_.UpdateStatusGauges();
        host_.UpdateTrayHint();
    } else {
        AfterRunChange(*manager);
    }
}

void WebcamCommands::ToolButton9Click() {
    state_.ShiftState = 0;
    StopWith(&Manager::StopAll, true);
}

void WebcamCommands::Stopselectedwebcams1Click() { StopWith(&Manager::StopSelected, false); }

void WebcamCommands::ToolButton14Click() {
    state_.ShiftState = 0;
    Manager* manager = WithWebcams(kMsgNothingToStop);
    if (!manager) return;
    const int current = host_.CurrentWebcam();
    if (current < 1 || current > manager->Count()) return;
    manager->StopWebcam(current);
    AfterRunChange(*manager);
}

void WebcamCommands::SetEnabledOf(Passes which, bool enabled) {
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    ForEach(*manager, which, [enabled](engine::twebcam& w) { w.SetEnabled(enabled); });
    host_.ShowWebcamInfo();
    host_.RepaintGrid();
    if (!enabled && manager->RunningCount() == 0) host_.SetRunState(kRunWebcamsStopped);
}

void WebcamCommands::Enableselectedwebcams1Click() { SetEnabledOf(IsSelected, true); }
void WebcamCommands::Disableselectedwebcams1Click() { SetEnabledOf(IsSelected, false); }
void WebcamCommands::Enableallwebcams1Click() { SetEnabledOf(Every, true); }
void WebcamCommands::Disableallwebcams1Click() { SetEnabledOf(Every, false); }

void WebcamCommands::SetCurrentEnabled(bool enabled) {
    state_.ShiftState = 0;
    engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    webcam->SetEnabled(enabled);
    host_.UpdateTrayHint();
    host_.ShowWebcamInfo();
    host_.RepaintGrid();
}

void WebcamCommands::ToolButton20Click() { SetCurrentEnabled(true); }
void WebcamCommands::ToolButton19Click() { SetCurrentEnabled(false); }

}  // namespace ui
