#pragma once
// The run state of the main window and its display: whether webcams run, whether the disk
// thumbnails are being built, whether a long picture operation is busy, and the controls that
// show it (the "stop all" button, the tray icon, the status label, the disk page's button).

#include <QString>

namespace ui {

// Run-state codes.
inline constexpr int kRunWebcamsStarted = 4;
inline constexpr int kRunWebcamsStopped = 5;
inline constexpr int kRunThumbnailsStarted = 12;
inline constexpr int kRunThumbnailsEnded = 13;
inline constexpr int kRunPictureWorkStarted = 14;
inline constexpr int kRunPictureWorkEnded = 15;
inline constexpr int kRunRefreshOnly = 18;

struct RunStateFlags {
    bool StopRequested = false;
    bool Running = false;  // some webcam runs
    bool ThumbnailsBuilding = false;
    bool PictureWorkBusy = false;  // the picture commands' busy flag
};

class RunStateView {
public:
    virtual ~RunStateView() = default;
    // ToolButton9 shows image 0 (webcams run) or 1 (none runs) and is repainted.
    virtual void SetStopAllImage(int imageIndex) = 0;
    // The tray icon's state; only called while the tray icon switch is on.
    virtual void SetTrayIconEnabled(bool enabled) = 0;
    virtual void ResetCursor() = 0;
    virtual void SetStatusText(const QString& text) = 0;  // Label1
    virtual void SetThumbnailButtonCaption(const QString& caption) = 0;  // BitBtn2
    // Turns the disk thumbnails on or off as CheckBox25 says.
    virtual void ApplyDiskThumbnailSwitch() = 0;
};

// Applies a run-state code to Flags and View; true for codes 4, 12, 14 and 18.
bool SetRunState(int code, RunStateFlags& flags, RunStateView& view, bool trayIconOn);

}  // namespace ui
