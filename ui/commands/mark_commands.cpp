// The screen-saver list, favourites and the grid selection.

#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/webcam_commands.h"
#include "ui/dialogs/dialog_controls.h"

#include <exception>

namespace ui {

void WebcamCommands::Addcurrentwebcamtoscreensaverlist1Click() {
    state_.ShiftState = 0;
    Manager* manager = WithWebcams(kMsgNoWebcamSelected);
    if (!manager) return;
    try {
        ChangeRecords(*manager, IsSelected, [](engine::TWebcamDefRec& rec) { rec.InSaverList = 1; });
    } catch (const std::exception&) {
        Say(kMsgCannotAddToSaverList);
    }
}

// The editor rewrites webcams.def itself; the webcams in memory take the bytes it wrote, so a
// later change of one of them does not write the old byte back.
void WebcamCommands::Screensaverwebcamlist1Click() {
    std::vector<SaverListChange> changes;
    if (!host_.EditSaverList(state_.Extra.DataDir.str(), changes)) return;
    Manager* manager = host_.WebcamManager();
    if (!manager) return;
    for (const SaverListChange& change : changes) {
        // The record number and the picture URL together, as the editor matched the file.
        const auto isChanged = [&change](const engine::twebcam& w) {
            return w.FRecordNo == change.recordNumber && w.Rec().PictureURL.view() == change.pictureURL;
        };
        ChangeRecords(*manager, isChanged, [&change](engine::TWebcamDefRec& rec) { rec.InSaverList = change.inSaverList; });
    }
}

void WebcamCommands::SetFavouriteOfSelected(bool favourite) {
    Manager* manager = host_.WebcamManager();
    if (!manager) return;
    ForEach(*manager, IsSelected, [favourite](engine::twebcam& w) {
        if (favourite && w.Favourite()) return;
        w.SetFavourite(favourite);
        w.FResting = false;
        // Queued again, now as a favourite.
        if (favourite && w.FRunning) {
            w.Stop();
            w.Start();
        }
    });
    host_.ApplyViewFilter();
}

void WebcamCommands::AddselectedwebcamstoFavorites2Click() {
    state_.ShiftState = 0;
    SetFavouriteOfSelected(true);
}

void WebcamCommands::RemoveselectedwebcamsfromFavorites1Click() { SetFavouriteOfSelected(false); }

void WebcamCommands::ClearFavorites1Click() {
    Manager* manager = host_.WebcamManager();
    if (!manager || !AskYes(Message(kMsgClearFavourites))) return;
    ForEach(*manager, Every, [](engine::twebcam& w) { w.SetFavourite(false); });
    host_.ApplyViewFilter();
}

void WebcamCommands::ShowFavorites1Click() { host_.ShowFavourites(); }

void WebcamCommands::PreferencesforFavorites1Click() {
    if (!host_.FavouritePreferences(state_.Config)) return;
    // The scheduling reads its own copy of the favourites' refresh cap.
    if (Manager* manager = host_.WebcamManager()) manager->ApplySettings(state_.Config, state_.Extra1);
}

// Only the webcams the view filter shows; the hidden ones keep their marks.
void WebcamCommands::SetSelectionOfShown(bool (*selected)(bool wasSelected)) {
    Manager* manager = host_.WebcamManager();
    if (!manager) return;
    for (int cell = 0; cell < manager->DisplayedCount(); ++cell) {
        const int i = manager->GetCellWebcam(cell);
        engine::twebcam* webcam = i >= 1 ? manager->GetWebcam(i) : nullptr;
        if (!webcam) continue;
        webcam->FSelected = selected(webcam->FSelected);
        host_.RedrawWebcamCell(i);
    }
}

void WebcamCommands::SelectNone1Click() {
    SetSelectionOfShown([](bool) { return false; });
}

void WebcamCommands::InvertSelection1Click() {
    SetSelectionOfShown([](bool wasSelected) { return !wasSelected; });
}

}  // namespace ui
