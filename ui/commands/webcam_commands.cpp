// The commands' shared parts: the guards, the prompts and the walks over the webcams.

#include "ui/commands/webcam_commands.h"

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/dialogs/dialog_controls.h"

namespace ui {

WebcamCommands::WebcamCommands(WebcamCommandsHost& host, WebcamCommandsState state) : host_(host), state_(state) {}

void WebcamCommands::Say(const QString& text) { host_.Message(text); }
void WebcamCommands::Say(int message) { Say(ui::Message(message)); }
bool WebcamCommands::AskYes(const QString& text) { return host_.Ask(text); }

WebcamCommands::Manager* WebcamCommands::WithWebcams(int message) {
    Manager* manager = host_.WebcamManager();
    if (!manager) return nullptr;
    if (manager->Count() >= 1) return manager;
    if (message != 0) Say(message);
    return nullptr;
}

engine::twebcam* WebcamCommands::CurrentOrSay() {
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return nullptr;
    const int current = host_.CurrentWebcam();
    engine::twebcam* webcam = current >= 1 && current <= manager->Count() ? manager->GetWebcam(current) : nullptr;
    if (!webcam) Say(kMsgNoWebcamSelected);
    return webcam;
}

void WebcamCommands::ForEach(Manager& manager, const std::function<bool(const engine::twebcam&)>& passes,
                             const std::function<void(engine::twebcam&)>& fn) {
    for (int i = 1; i <= manager.Count(); ++i)
        if (engine::twebcam* webcam = manager.GetWebcam(i); webcam && passes(*webcam)) fn(*webcam);
}

void WebcamCommands::ChangeRecords(Manager& manager, const std::function<bool(const engine::twebcam&)>& passes,
                                   const std::function<void(engine::TWebcamDefRec&)>& change) {
    ForEach(manager, passes, [&change](engine::twebcam& webcam) {
        engine::TWebcamDefRec rec = webcam.Rec();
        change(rec);
        webcam.SetRecord(rec);
    });
}

bool WebcamCommands::IsSelected(const engine::twebcam& webcam) { return webcam.FSelected; }
bool WebcamCommands::Every(const engine::twebcam&) { return true; }

}  // namespace ui
