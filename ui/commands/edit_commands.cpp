// Editing a webcam and its categories.

#include "engine/webcam.h"
#include "platform/safe_name.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/webcam_commands.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/record_text.h"
#include "ui/editors/addheadedit.h"
#include "ui/editors/newwebcamdlg.h"

#include <filesystem>

namespace ui {
namespace {

bool PathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

bool WebcamCommands::RenameAllowed(const std::string& dataFolder, const std::string& oldName,
                                   const std::string& newName) {
    if (newName == oldName) return true;
    const QString refused = Message(kMsgCannotRename) + FromRecord(newName);
    const std::string folder = platform::SafeSubfolder(dataFolder, newName);
    if (folder.empty()) {
        Say(refused + kNotAFolderName);
        return false;
    }
    if (PathExists(folder.substr(0, folder.size() - 1))) {
        Say(refused + Message(kMsgFolderExists));
        return false;
    }
    return true;
}

void WebcamCommands::Edit2Click() {
    state_.ShiftState = 0;
    engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    // A running webcam is stopped while it is edited, so no fetch uses half-changed settings.
    const bool wasRunning = webcam->FRunning;
    if (wasRunning) webcam->Stop();
    engine::TWebcamDefRec rec = webcam->Rec();
    engine::TWebcamDef1Rec rec2 = webcam->Rec2();
    const std::string oldName = rec.Name.str();
    HeaderLines lines;
    if (host_.EditWebcam(rec, rec2, false, webcam->FFolder, lines)) {
        // A refused name leaves both records as they were, and the webcam stopped.
        if (!RenameAllowed(webcam->FFolder, oldName, rec.Name.str())) return;
        webcam->SetRecord(rec);
        webcam->SetRecord2(rec2);
        // Into the folder under the name the webcam has now, never another webcam's.
        if (lines) SaveHeaderLines(host_.Window(), AddHeadPath(webcam->FFolder, rec.Name.view()), *lines);
    }
    if (wasRunning) webcam->Start();
}

void WebcamCommands::Editwebcamcategories1Click() {
    engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    engine::TWebcamDefRec rec = webcam->Rec();
    if (host_.EditCategories(rec)) webcam->SetRecord(rec);
}

}  // namespace ui
