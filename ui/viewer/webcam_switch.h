#pragma once
// ShowWebcam: makes a webcam the current one. The webcam left behind keeps the enhancement
// settings the user gave it, in its record 2; the new one brings its own into the viewer. The
// settings are written only into the webcam they belong to: a reload or a new data folder in
// between (other webcams at the same numbers) writes nothing into another webcam's record.
// Main thread only.

#include "engine/webcam_records.h"
#include "ui/viewer/viewer.h"

namespace engine {
class twebcam;
class twebcammanager;
}  // namespace engine

namespace ui {

// The settings stored in record 2; a level or mix of 0 (not set yet) becomes 5.
EnhanceSettings StoredEnhanceSettings(const engine::TWebcamDef1Rec& rec2);
// Writes settings into the webcam's record 2 when they differ from what it stands for (0 as 5).
// True when the record was written.
bool StoreEnhanceSettings(engine::twebcam& webcam, const EnhanceSettings& settings);

class WebcamSwitchHost {
public:
    virtual ~WebcamSwitchHost() = default;
    virtual int CurrentWebcam() const = 0;
    virtual void SetCurrentWebcam(int webcam) = 0;
    virtual void RedrawWebcamCell(int webcam) = 0;
    // SpeedButton3 (enhancement) down := on; Timageproc gets level and mix.
    virtual void EnhanceSettingsChanged(const EnhanceSettings& settings) = 0;
    // ToolButton1 and ToolButton2 enabled by the webcam's cell; the quick-bar button.
    virtual void WebcamBecameCurrent(int webcam, int cell) = 0;
    // The disk page opens the webcam's folder and selects its last entry; ShowWebcamInfo.
    virtual void OpenWebcamFolder(int webcam) = 0;
    // The grid cursor to the webcam's cell, without the grid's click handler.
    virtual void MoveGridCursor(int webcam) = 0;
};

class WebcamSwitch {
public:
    WebcamSwitch(engine::twebcammanager& manager, TViewer& viewer, WebcamSwitchHost& host)
        : manager_(&manager), viewer_(viewer), host_(host) {}

    // Makes webcam i current when it is shown in the grid. Without any webcam left, there is no
    // current webcam and the view is cleared.
    void ShowWebcam(int i);
    // Stores the current webcam's enhancement settings and forgets it; the main window calls it
    // before the webcams are reloaded or replaced.
    void LeaveWebcam();
    // A new manager (another data folder); the webcam left behind must have been left first.
    void SetManager(engine::twebcammanager& manager);

private:
    engine::twebcam* Owner() const;  // the webcam the viewer's settings belong to, still there

    engine::twebcammanager* manager_;
    TViewer& viewer_;
    WebcamSwitchHost& host_;
    engine::twebcam* owner_ = nullptr;
    int ownerIndex_ = 0;
    unsigned ownerGeneration_ = 0;
};

}  // namespace ui
