// The commands that change the webcam list: a new webcam and the four deletes; and exporting
// webcams to a list file.

#include "engine/definition_files.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/command_scopes.h"
#include "ui/commands/webcam_commands.h"
#include "ui/commands/webcam_folder_removal.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/record_text.h"

#include <cstdio>
#include <system_error>

namespace ui {

void WebcamCommands::New1Click() {
    Manager* manager = host_.WebcamManager();
    if (!manager) return;
    if (manager->RunningCount() >= 1) {
        Say(kMsgStopBeforeAdding);
        return;
    }
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    manager->InitNewWebcamRecord(rec);
    auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    HeaderLines lines;
    if (!host_.EditWebcam(rec, rec2, true, manager->FDataFolder, lines)) return;
    // The manager writes the lines into the folder of the name the webcam finally has.
    if (manager->AddWebcam(rec, rec2, lines) <= -1) {  // its picture address is already used
        Say(kMsgAlreadyPresent);
        return;
    }
    host_.UpdateGridRows();
    host_.RepaintGrid();
}

void WebcamCommands::RemoveFolderOf(const std::string& dataFolder, const std::string& name) {
    if (RemoveWebcamFolder(dataFolder, name)) return;
    Say(Message(kMsgProblem) + QString::fromStdString(dataFolder) + FromRecord(name) + Message(kMsgRemoveByHand));
}

// After a delete the record numbers have moved: the list is read again before any index is used.
void WebcamCommands::ReloadAfterDelete(Manager& manager) {
    const std::string dataFolder = manager.FDataFolder;
    manager.LoadFromFolder(dataFolder);
    host_.ShowWebcam(1);
    host_.MarkCurrentWebcam(host_.CurrentWebcam());
    host_.UpdateGridRows();
    host_.RepaintGrid();
    host_.ReloadQuickBarButtons();
}

void WebcamCommands::Deletecurrentwebcam1Click() {
    engine::twebcam* webcam = CurrentOrSay();
    if (!webcam) return;
    Manager& manager = webcam->FManager;
    if (manager.RunningCount() > 0) {
        Say(kMsgStopBeforeDeleteOne);
        return;
    }
    const std::string name = webcam->Name();  // the webcam is freed by the delete
    if (!AskYes(Message(kMsgSureToDelete) + FromRecord(name) + QStringLiteral(" ?"))) return;
    SwitchScope busy(host_, &WebcamCommandsHost::SetHourglass);
    host_.SaveQuickBarButtons();  // by name: the record numbers are about to move
    manager.DeleteWebcam(host_.CurrentWebcam());
    if (AskYes(Message(kMsgDeleteItsPictures))) RemoveFolderOf(manager.FDataFolder, name);
    ReloadAfterDelete(manager);
}

void WebcamCommands::DeleteSeveral(int question, Passes targets, const std::function<void(Manager&)>& deleteRecords) {
    Manager* manager = WithWebcams(kMsgNothingToDelete);
    if (!manager) return;
    if (manager->RunningCount() > 0) {
        Say(kMsgStopBeforeDeleteSeveral);
        return;
    }
    if (!AskYes(Message(question))) return;
    const bool deletePictures = AskYes(Message(kMsgDeleteTheirPictures));
    SwitchScope busy(host_, &WebcamCommandsHost::SetHourglass);
    const std::string dataFolder = manager->FDataFolder;
    if (deletePictures)
        ForEach(*manager, targets, [&](const engine::twebcam& w) { RemoveFolderOf(dataFolder, w.Name()); });
    host_.SaveQuickBarButtons();  // by name: the record numbers are about to move
    deleteRecords(*manager);
    ReloadAfterDelete(*manager);
}

void WebcamCommands::Deleteselectedwebcams1Click() {
    DeleteSeveral(kMsgDeleteSelected, IsSelected, [](Manager& m) { m.DeleteSelectedWebcams(); });
}

void WebcamCommands::Deletedisabledwebcams1Click() {
    const auto disabled = [](const engine::twebcam& w) { return w.Rec().Enabled == 0; };
    DeleteSeveral(kMsgDeleteDisabled, disabled, [](Manager& m) { m.DeleteDisabledWebcams(); });
}

void WebcamCommands::Deleteallwebcams1Click() {
    DeleteSeveral(kMsgDeleteAll, Every, [this](Manager& m) {
        // With the files of a cut-off rewrite too: a load would bring those back.
        for (const std::string file : {engine::kWebcamsDef, engine::kWebcams1Def}) {
            std::remove((m.FDataFolder + file).c_str());
            std::remove((m.FDataFolder + file + "_").c_str());
        }
        // No webcam is left for the quick bar's buttons.
        host_.ForgetQuickBarButtons();
    });
}

void WebcamCommands::SaveWebcamList1Click() {
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    int which = 1;
    int append = 0;
    if (!host_.SelectEnabled(which, append)) return;
    QString file = host_.SaveFileName(QStringLiteral("Text files (*.txt);;All FIles (*)"));
    if (file.isEmpty()) return;
    if (file.right(4).toLower() != QStringLiteral(".txt")) file += QStringLiteral(".txt");
    try {
        manager->SaveWebcamList(file.toStdString(), which, host_.CurrentWebcam(), append != 0);
    } catch (const std::system_error&) {
        Say(Message(kMsgFileError) + file);
    }
}

}  // namespace ui
