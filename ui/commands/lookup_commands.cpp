// Finding a webcam, opening its picture address in the browser and showing its last header.

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/webcam_commands.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/record_text.h"

#include <filesystem>

namespace ui {

void WebcamCommands::SelectWebcam1Click() {
    state_.ShiftState = 0;
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    int index = 0;
    if (!host_.SelectWebcam(index)) return;
    if (index == 0) {  // several webcams were marked selected
        host_.ApplyViewFilter();
        return;
    }
    const engine::twebcam* webcam = index <= manager->Count() ? manager->GetWebcam(index) : nullptr;
    if (!webcam || webcam->FDisplayCell < 0) {
        Say(kMsgNotInSelection);
        return;
    }
    host_.ShowWebcam(index);
    host_.MarkCurrentWebcam(host_.CurrentWebcam());
}

void WebcamCommands::Refreshclick() {
    state_.ShiftState = 0;
    const engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    const QString url = FromRecord(webcam->Rec().PictureURL.view());
    if (url.startsWith(QStringLiteral("HTTP:"), Qt::CaseInsensitive)) host_.OpenUrl(url);
    else Say(kMsgInvalidLink);
}

// Before the first fetch there is no header yet: the viewer would show an empty list.
void WebcamCommands::Showlastheader1Click() {
    state_.ShiftState = 0;
    const engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    const QString name = FromRecord(webcam->Name());
    const std::string folder = webcam->Folder();  // empty for a name that is not a folder name
    const std::string path = folder + "header.txt";
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_regular_file(path, ec)) {
        const QString shown = QString::fromStdString(webcam->FFolder) + name + QStringLiteral("/header.txt");
        Say(Message(kMsgTheFile) + QLatin1Char(' ') + shown + QLatin1Char(' ') + Message(kMsgDoesNotExist));
        return;
    }
    host_.ShowTextFile(path, QStringLiteral("Header display - ") + name);
}

}  // namespace ui
