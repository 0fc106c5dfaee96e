#include "ui/viewer/picture_services.h"

#include "engine/jpeg_picture.h"
#include "engine/motion_compare.h"
#include "engine/picture_histogram.h"

namespace ui {

ViewerServices JpegViewerServices(std::function<engine::TMotionSettingsRec()> motionSettings) {
    ViewerServices services;
    services.makePicture = engine::MakeJpegPicture;
    services.decode = [](engine::twebcampicture& picture) {
        engine::JpegPicture jpeg(picture.Bytes());
        return jpeg.bitmap();
    };
    services.enhance = engine::HistogramStretch;
    services.compareFiles = [motionSettings = std::move(motionSettings)](const std::string& previous,
                                                                         const std::string& file) {
        int score = 0;
        engine::CompareJpegFiles(previous, file, motionSettings(), score);
        return score;
    };
    return services;
}

}  // namespace ui
