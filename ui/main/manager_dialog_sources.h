#pragma once
// The webcam manager as two dialogs see it: the webcam chooser (records in manager order, the
// category names, the selection) and the motion-settings dialog (a webcam's record 2).
// Main thread only.

#include <functional>
#include <vector>

#include "ui/dialogs/motion_settings_dialog.h"
#include "ui/dialogs/selectwebcam.h"

namespace engine {
class twebcammanager;
}

namespace ui {

class ManagerChooserSource : public WebcamChooserSource {
public:
    // showSelected shows the selected webcams in the grid once the selection is made.
    ManagerChooserSource(engine::twebcammanager& manager, std::function<void()> showSelected);

    int WebcamCount() const override { return static_cast<int>(records_.size()); }
    const engine::TWebcamDefRec& WebcamRecord(int position) const override { return records_.at(position); }
    int WebcamRecordNo(int position) const override { return recordNos_.at(position); }
    std::string CategoryName(int slot) const override;
    void ShowOnlySelected(const std::vector<int>& webcams) override;

private:
    engine::twebcammanager& manager_;
    std::function<void()> showSelected_;
    // Copies taken when the chooser opens: the list does not change while it is modal.
    std::vector<engine::TWebcamDefRec> records_;
    std::vector<int> recordNos_;
};

class ManagerMotionRecords : public MotionWebcamRecords {
public:
    explicit ManagerMotionRecords(engine::twebcammanager& manager) : manager_(manager) {}

    std::optional<engine::TWebcamDef1Rec> GetRecord2(int webcamNo) const override;
    void SetRecord2(int webcamNo, const engine::TWebcamDef1Rec& rec2) override;

private:
    engine::twebcammanager& manager_;
};

}  // namespace ui
