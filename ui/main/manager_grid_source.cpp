#include "ui/main/manager_grid_source.h"

#include <algorithm>

#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace ui {

engine::twebcam* ManagerGridSource::At(int webcam) const {
    if (webcam < 1 || webcam > manager_.Count()) return nullptr;
    return manager_.GetWebcam(webcam);
}

int ManagerGridSource::Count() const { return manager_.Count(); }

int ManagerGridSource::DisplayedCount() const { return manager_.DisplayedCount(); }

int ManagerGridSource::GetCellWebcam(int cell) const { return std::max(0, manager_.GetCellWebcam(cell)); }

int ManagerGridSource::DisplayCell(int webcam) const {
    const engine::twebcam* w = At(webcam);
    return w ? w->FDisplayCell : -1;
}

std::optional<GridWebcam> ManagerGridSource::Webcam(int webcam) const {
    const engine::twebcam* w = At(webcam);
    if (!w) return std::nullopt;
    const engine::TWebcamDefRec rec = w->Rec();
    GridWebcam cell;
    cell.name = rec.Name.str();
    cell.description = rec.Description.str();
    cell.pictureUrl = rec.PictureURL.str();
    cell.enabled = rec.Enabled != 0;
    cell.status = w->FStatus;
    cell.newPicture = w->FNewPicture;
    cell.favourite = w->Favourite();
    cell.resting = w->FResting;
    cell.selected = w->FSelected;
    return cell;
}

std::optional<bool> ManagerGridSource::SelectedState(int webcam) const {
    const engine::twebcam* w = At(webcam);
    return w ? std::optional<bool>(w->FSelected) : std::nullopt;
}

engine::Bitmap ManagerGridSource::Thumbnail(int webcam) const {
    if (!At(webcam)) return {};
    return manager_.GetThumbnail(webcam);
}

void ManagerGridSource::SetSelected(int webcam, bool selected) {
    if (engine::twebcam* w = At(webcam)) w->FSelected = selected;
}

}  // namespace ui
