#include "ui/main/manager_dialog_sources.h"

#include "engine/categories.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace ui {

ManagerChooserSource::ManagerChooserSource(engine::twebcammanager& manager, std::function<void()> showSelected)
    : manager_(manager), showSelected_(std::move(showSelected)) {
    for (int i = 1; i <= manager.Count(); ++i) {
        const engine::twebcam* webcam = manager.GetWebcam(i);
        if (!webcam) continue;
        records_.push_back(webcam->Rec());
        recordNos_.push_back(webcam->FRecordNo);
    }
}

std::string ManagerChooserSource::CategoryName(int slot) const {
    return engine::CategoryManager ? engine::CategoryManager->FNames.at(slot) : std::string();
}

void ManagerChooserSource::ShowOnlySelected(const std::vector<int>& webcams) {
    manager_.ClearSelection();
    for (int webcam : webcams) manager_.SelectWebcam(webcam);
    if (showSelected_) showSelected_();
}

std::optional<engine::TWebcamDef1Rec> ManagerMotionRecords::GetRecord2(int webcamNo) const {
    if (webcamNo < 1 || webcamNo > manager_.Count()) return std::nullopt;
    const engine::twebcam* webcam = manager_.GetWebcam(webcamNo);
    if (!webcam) return std::nullopt;
    return webcam->Rec2();
}

void ManagerMotionRecords::SetRecord2(int webcamNo, const engine::TWebcamDef1Rec& rec2) {
    if (webcamNo < 1 || webcamNo > manager_.Count()) return;
    if (engine::twebcam* webcam = manager_.GetWebcam(webcamNo)) webcam->SetRecord2(rec2);
}

}  // namespace ui
