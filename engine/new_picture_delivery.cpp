#include "engine/new_picture_delivery.h"

#include "engine/new_picture.h"
#include "engine/new_picture_preparation.h"
#include "engine/webcam_manager.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "platform/clock.h"

#include <filesystem>

namespace engine {
namespace {

// The file a picture is saved as: the preferred name (a still picture's, with the second its
// turn began) when that is free, else the first free hundredth from now. Pictures can come in a
// burst, several within one second (still pictures at refresh 0) or one hundredth (a stream):
// a later picture never replaces an earlier one. The stamps run ahead of the clock only while
// pictures come faster than a hundred a second, and come back to it once they slow down.
// Once the last name handed out is taken, every name from the clock up to it was taken when it
// was chosen: the search starts after it, so a long burst does not look at every name it took.
std::string FreePictureFileName(const std::string& folder, std::string_view filePrefix,
                                twebcam::FreeNameHint& hint, const std::string& preferred = {}) {
    std::error_code error;
    if (!preferred.empty() && !std::filesystem::exists(preferred, error)) return preferred;
    platform::TDateTime from = platform::Now();
    if (hint.next > from && std::filesystem::exists(hint.lastName, error)) from = hint.next;
    for (int ahead = 0;; ++ahead) {
        std::string name =
            PictureFileName(folder, filePrefix, TimestampNameCs(from + platform::DaysFromSeconds(ahead / 100.0)));
        if (!std::filesystem::exists(name, error)) {
            hint = {name, from + platform::DaysFromSeconds((ahead + 1) / 100.0)};
            return name;
        }
    }
}

// Runs one step for the webcam and reports its outcome through callback. Nothing happens for
// a webcam whose name is not a safe folder name (it has no folder).
template <typename Step>
std::optional<TMotionSettingsRec> Deliver(twebcam& webcam, const TDiskManRec& diskman, std::string_view bytes,
                                          PreparedPicture* prepared, const TWebcamPictureEvent& callback, Step&& step) {
    const std::string folder = webcam.Folder();
    if (folder.empty())
        return std::nullopt;
    const TWebcamDef1Rec rec2 = webcam.Rec2();
    NewPictureOutcome outcome;
    try {
        outcome = step(NewPictureInput{bytes, EffectiveSaveMode(diskman, webcam.Rec()), folder, &rec2,
                                       &webcam.FNewestSaved, prepared});
        if (outcome.Event) {
            PictureEvent& event = *outcome.Event;
            webcam.FLastNewPicture = platform::Now();
            if (prepared) webcam.FManager.OfferThumbnail(std::move(prepared->Thumbnail));
            if (callback)
                callback(webcam.FRecordNo, event.FileName, nullptr, event.Kind,
                         event.Picture ? &*event.Picture : nullptr, event.Score);
        }
    } catch (const std::exception&) {
        // Every failure of the step, the receiver's included, ends it quietly.
    }
    webcam.FManager.OfferThumbnail(std::nullopt);
    webcam.FNewestSaved.Publish(diskman.GlobalSaveOn != 0 ? std::optional<std::uint8_t>(diskman.GlobalSaveMode)
                                                          : std::nullopt);
    return outcome.MotionSettings;
}

}  // namespace

std::optional<TMotionSettingsRec> DeliverStillPicture(twebcam& webcam, const TDiskManRec& diskman,
                                                       std::string_view buffer, const std::string& pictureFileName,
                                                       PreparedPicture* prepared) {
    return Deliver(webcam, diskman, buffer, prepared, webcam.FOnPicture, [&](const NewPictureInput& input) {
        const std::string fileName =
            FreePictureFileName(input.WebcamFolder, webcam.Rec2().FilePrefix.view(), webcam.FFreeNameHint,
                                pictureFileName);
        return NewStillPicture(input, fileName, webcam.FPictureCounter);
    });
}

std::optional<TMotionSettingsRec> DeliverStreamFrame(twebcam& webcam, const TDiskManRec& diskman,
                                                      std::string_view frame, PreparedPicture* prepared) {
    const std::string* remembered = webcam.FPicture ? &*webcam.FPicture : nullptr;
    return Deliver(webcam, diskman, frame, prepared, webcam.FOnStreamPicture, [&](const NewPictureInput& input) {
        const auto frameFileName = [&] {
            return FreePictureFileName(input.WebcamFolder, webcam.Rec2().FilePrefix.view(), webcam.FFreeNameHint);
        };
        return NewStreamFrame(input, remembered, frameFileName, webcam.FPictureCounter);
    });
}

}  // namespace engine
