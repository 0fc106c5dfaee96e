#include "engine/fetch_thread_services.h"

#include "engine/jpeg_picture.h"
#include "engine/new_picture_delivery.h"
#include "engine/stream_thread.h"

namespace engine {

FetchWorkerFactory FetchThreadFactory(std::shared_ptr<const FetchThreadSettings> settings) {
    return [settings](twebcammanager& manager, int index) -> std::unique_ptr<tfetchworker> {
        return std::make_unique<treadthread>(manager, index, settings);
    };
}

namespace {

// Whether the bytes are a whole JPEG picture: decoded at the smallest scale, which reads all of
// the data and is the quickest.
PictureVerdict Examine(const std::string& bytes) {
    JpegPicture picture(bytes);
    picture.SetPerformance(JpegPerformance::BestSpeed);
    picture.SetScale(JpegScale::Eighth);
    picture.SetGrayscale(true);
    try {
        picture.DIBNeeded();
    } catch (const JpegError&) {
        return PictureVerdict::NotJpeg;
    }
    return picture.PrematureEnd() ? PictureVerdict::CutOff : PictureVerdict::Taken;
}

}  // namespace

NewPictureStep StillPictureStep(const TDiskManRec& diskman, std::function<void(const TMotionSettingsRec&)> keepMotion) {
    return [&diskman, keepMotion = std::move(keepMotion)](twebcam& webcam, const std::string& bytes,
                                                          const std::string& pictureFileName) {
        if (bytes.empty()) return PictureVerdict::Taken;
        if (const PictureVerdict verdict = Examine(bytes); verdict != PictureVerdict::Taken) return verdict;
        const auto motion = DeliverStillPicture(webcam, diskman, bytes, pictureFileName);
        if (motion && keepMotion) keepMotion(*motion);
        return PictureVerdict::Taken;
    };
}

StreamWorkerFactory StreamThreadFactory(std::shared_ptr<const FetchThreadSettings> settings) {
    return [settings](twebcam& webcam, twebcammanager& manager) -> std::unique_ptr<tstreamworker> {
        return std::make_unique<tstreamthread>(webcam, manager, settings);
    };
}

StreamFrameStep StreamPictureStep(const TDiskManRec& diskman, std::function<void(const TMotionSettingsRec&)> keepMotion) {
    return [&diskman, keepMotion = std::move(keepMotion)](twebcam& webcam, const std::string& frame) {
        if (JpegPicture(frame).Width() == 0) return false;
        const auto motion = DeliverStreamFrame(webcam, diskman, frame);
        if (motion && keepMotion) keepMotion(*motion);
        return true;
    };
}

WebcamManagerServices FetchThreadServices(std::shared_ptr<const FetchThreadSettings> settings,
                                          StreamWorkerFactory streamWorkers) {
    WebcamManagerServices services;
    services.fetchWorkers = FetchThreadFactory(std::move(settings));
    services.streamWorkers = std::move(streamWorkers);
    services.decodePicture = MakeJpegPicture;
    return services;
}

}  // namespace engine
