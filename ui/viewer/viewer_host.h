#pragma once
// What the enlarged view asks of the main window and of the picture layer. The main window
// implements ViewerHost; ViewerServices are the picture layer's functions (JPEG pictures, the
// histogram stretch, the motion comparison of two files). Webcams are numbered from 1.

#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "engine/bitmap.h"
#include "engine/webcam_events.h"

namespace media {
class TMMLEDGauge;
}

namespace ui {

struct ViewerServices {
    // A picture from JPEG bytes (the manager's decoder).
    engine::PictureDecoder makePicture;
    // The picture decoded in colour at full size; throws when it does not decode.
    std::function<engine::Bitmap(engine::twebcampicture&)> decode;
    // The histogram level stretch of a 24-bit bitmap in place (level percent, mix).
    std::function<void(engine::Bitmap&, int level, int mix)> enhance;
    // The motion score of two picture files with the settings the host loaded last.
    std::function<int(const std::string& previous, const std::string& file)> compareFiles;
};

class ViewerHost {
public:
    virtual ~ViewerHost() = default;
    virtual bool ViewerPageShown() const = 0;  // PageControl2 shows TabSheet11
    // The current webcam's motion settings (its own, else the global ones) into MotionSettings.
    virtual void LoadCurrentMotionSettings() = 0;
    virtual int MotionThreshold() const = 0;
    virtual media::TMMLEDGauge& MotionGauge() = 0;  // MMLEDGauge5
    // SetStatusText: Label1 := " " + text (nothing for an empty text).
    virtual void SetStatusText(const QString& text) = 0;
    // Remembers which page PageControl2 shows (the disk-page state of DiskMan).
    virtual void RememberDiskPageState() = 0;
    // The disk browser's current entry (1-based) and its number of entries.
    virtual int DiskEntryNumber() const = 0;
    virtual int DiskEntryCount() const = 0;
};

}  // namespace ui
