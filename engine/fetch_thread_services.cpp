#include "engine/fetch_thread_services.h"

#include "engine/jpeg_picture.h"
#include "engine/new_picture_delivery.h"
#include "engine/new_picture_preparation.h"
#include "engine/stream_thread.h"

namespace engine {

FetchWorkerFactory FetchThreadFactory(std::shared_ptr<const FetchThreadSettings> settings) {
    return [settings](twebcammanager& manager, int index) -> std::unique_ptr<tfetchworker> {
        return std::make_unique<treadthread>(manager, index, settings);
    };
}

NewPictureStep StillPictureStep(const TDiskManRec& diskman, std::function<void(const TMotionSettingsRec&)> keepMotion) {
    return [&diskman, keepMotion = std::move(keepMotion)](twebcam& webcam, const std::string& bytes,
                                                          const std::string& pictureFileName,
                                                          PreparedPicture* prepared) {
        if (bytes.empty()) return PictureVerdict::Taken;
        const PictureVerdict verdict = prepared ? prepared->Verdict : ExaminePicture(bytes);
        if (verdict != PictureVerdict::Taken) return verdict;
        const auto motion = DeliverStillPicture(webcam, diskman, bytes, pictureFileName, prepared);
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
    return [&diskman, keepMotion = std::move(keepMotion)](twebcam& webcam, const std::string& frame,
                                                          PreparedPicture* prepared) {
        if (JpegPicture(frame).Width() == 0) return false;
        const auto motion = DeliverStreamFrame(webcam, diskman, frame, prepared);
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
