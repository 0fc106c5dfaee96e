#include "ui/viewer/webcam_switch.h"

#include <memory>
#include <string>

#include "engine/webcam.h"
#include "engine/webcam_manager.h"

namespace ui {

EnhanceSettings StoredEnhanceSettings(const engine::TWebcamDef1Rec& rec2) {
    EnhanceSettings s;
    s.level = rec2.EnhanceLevel == 0 ? 5 : rec2.EnhanceLevel;
    s.mix = rec2.EnhanceMix == 0 ? 5 : rec2.EnhanceMix;
    s.on = rec2.EnhanceOn != 0;
    return s;
}

bool StoreEnhanceSettings(engine::twebcam& webcam, const EnhanceSettings& settings) {
    engine::TWebcamDef1Rec rec2 = webcam.Rec2();
    // A record whose values are "not set yet" is left so while the user keeps the defaults.
    if (StoredEnhanceSettings(rec2) == settings) return false;
    rec2.EnhanceLevel = static_cast<decltype(rec2.EnhanceLevel)>(settings.level);
    rec2.EnhanceMix = static_cast<decltype(rec2.EnhanceMix)>(settings.mix);
    rec2.EnhanceOn = settings.on ? 1 : 0;
    webcam.SetRecord2(rec2);
    return true;
}

engine::twebcam* WebcamSwitch::Owner() const {
    if (!owner_ || manager_->WebcamGeneration() != ownerGeneration_) return nullptr;
    if (ownerIndex_ < 1 || ownerIndex_ > manager_->Count()) return nullptr;
    return manager_->GetWebcam(ownerIndex_) == owner_ ? owner_ : nullptr;
}

void WebcamSwitch::LeaveWebcam() {
    if (engine::twebcam* owner = Owner()) StoreEnhanceSettings(*owner, viewer_.Enhance);
    owner_ = nullptr;
}

void WebcamSwitch::SetManager(engine::twebcammanager& manager) {
    owner_ = nullptr;
    manager_ = &manager;
}

void WebcamSwitch::ShowWebcam(int i) {
    const int count = manager_->Count();
    if (count == 0) {
        // The last webcam went (a delete, another data folder): nothing stays on show of it.
        LeaveWebcam();
        host_.SetCurrentWebcam(0);
        viewer_.ShowNoPicture();
        return;
    }
    if (host_.CurrentWebcam() > count) host_.SetCurrentWebcam(1);
    if (i < 1 || i > count) return;
    engine::twebcam* webcam = manager_->GetWebcam(i);
    if (!webcam || webcam->FDisplayCell < 0) return;

    const int old = host_.CurrentWebcam();
    if (old >= 1 && old <= count) host_.RedrawWebcamCell(old);
    LeaveWebcam();

    host_.SetCurrentWebcam(i);
    owner_ = webcam;
    ownerIndex_ = i;
    ownerGeneration_ = manager_->WebcamGeneration();
    viewer_.Enhance = StoredEnhanceSettings(webcam->Rec2());
    host_.EnhanceSettingsChanged(viewer_.Enhance);

    host_.RedrawWebcamCell(i);
    webcam->FNewPicture = false;
    host_.WebcamBecameCurrent(i, webcam->FDisplayCell);
    host_.OpenWebcamFolder(i);

    std::unique_ptr<engine::twebcampicture> picture;
    std::string fileName;
    if (!webcam->GetLatestImage(picture, fileName)) picture.reset();
    viewer_.ShowLatestPicture(std::move(picture), fileName);
    host_.MoveGridCursor(i);
}

}  // namespace ui
