#pragma once
// What the thumbnail grid asks of the main window: the current webcam and the commands a click
// or a key starts there. The main window implements it.

#include <QPoint>

namespace ui {

class ThumbnailGridHost {
public:
    virtual ~ThumbnailGridHost() = default;
    // CurrentWebcam, 1-based, 0 for none.
    virtual int CurrentWebcam() const = 0;
    // Makes a webcam the current one (info panel, disk folder, viewer).
    virtual void ShowWebcam(int webcam) = 0;
    // The first step of marking the current webcam: its motion settings (its own, else the
    // global ones) into MotionSettings and the motion gauge's zone points.
    virtual void LoadCurrentMotionSettings() = 0;
    // The picture commands of the tool bar (ToolButton10, 11, 16, 17).
    virtual void PreviousPicture() = 0;
    virtual void NextPicture() = 0;
    virtual void FirstPicture() = 0;
    virtual void LastPicture() = 0;
    // The grid's pop-up menu at a screen point.
    virtual void PopupGridMenu(const QPoint& screenPoint) = 0;
    // The check marks of the menu items StatusLEDs1 and WebcamHints1.
    virtual bool StatusLEDs() const = 0;
    virtual bool WebcamHints() const = 0;
};

}  // namespace ui
