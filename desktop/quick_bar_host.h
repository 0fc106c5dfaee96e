#pragma once
// What the quick bar asks of the main window: its webcam manager and settings, showing a webcam,
// the start, stop and edit commands, and being told when the bar closes. The main window
// implements it; tests fake it.
//
// Main thread only.

#include <QImage>
#include <QString>

#include <cstdint>

namespace engine {
class twebcammanager;
}

namespace desktop {

// The settings a webcam made from a dropped address takes (EXTRA1, DISKMAN of the main window).
struct DroppedWebcamDefaults {
    std::int32_t refresh = 0;     // TExtra1Rec.AutoRefresh
    std::uint8_t headCheck = 0;   // low byte of TDiskManRec.NoIfModifiedSince
    std::uint8_t saveMode = 0;    // TExtra1Rec.AutoSaveMode
    bool autoStart = false;       // TExtra1Rec.AutoStart
};

class QuickBarHost {
public:
    virtual ~QuickBarHost() = default;

    // Null before the engine exists: the bar then shows no buttons.
    virtual engine::twebcammanager* WebcamManager() = 0;
    virtual DroppedWebcamDefaults DroppedWebcamSettings() const = 0;
    // The webcam's thumbnail as the grid shows it.
    virtual QImage WebcamThumbnail(int webcam) const = 0;

    // The main window shown and brought forward.
    virtual void ShowMainWindow() = 0;
    // The webcam becomes the current one, marked in the grid, and the window comes forward.
    virtual void ShowWebcam(int webcam) = 0;
    // The main window's commands on the current webcam and on all webcams.
    virtual void StartCurrentWebcam() = 0;
    virtual void StopCurrentWebcam() = 0;
    virtual void EditCurrentWebcam() = 0;
    virtual void StartAllWebcams() = 0;
    virtual void StopAllWebcams() = 0;
    // The run state of the grid (4 running, 5 stopped) and, after a start or stop, the
    // current-webcam panel, the running count and the tray hint.
    virtual void SetRunState(int code) = 0;
    virtual void RunStateChanged() = 0;
    // Webcams were added: the grid's rows and cells.
    virtual void WebcamsAdded() = 0;
    // The tray menu's restore command, and the main window's closing (which ends the program).
    virtual void RestoreMainWindow() = 0;
    virtual void CloseMainWindow() = 0;
    // The picture the main window shows (null when none).
    virtual QImage DisplayedPicture() const = 0;
    virtual void OpenWebPage(const QString& url) = 0;
    virtual void Message(const QString& text) = 0;
    // The shift state of the main window's grid follows the bar's keys.
    virtual void SetShiftState(Qt::KeyboardModifiers modifiers) = 0;
    // The bar is closing (QuickBarClosed).
    virtual void QuickBarClosed() = 0;
};

}  // namespace desktop
