#pragma once
// What happens to a picture that a fetch turn or a stream connection has completed: whether it
// is saved into the webcam's folder (by the webcam's save mode, a motion test or a comparison
// with the newest saved picture) and what the webcam's picture callback is told. Runs on the
// main thread while the worker waits; the caller makes the callback from the outcome, after
// setting the webcam's time of the newest picture.

#include "engine/jpeg_picture.h"
#include "engine/motion_settings.h"
#include "engine/newest_saved_picture.h"
#include "engine/settings_records.h"
#include "engine/webcam_events.h"
#include "engine/webcam_records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The arguments of the webcam's picture callback (its Index is the webcam's record number and
// its Stream is always nil).
struct PictureEvent {
    std::string FileName;                // the written file; empty when nothing was saved
    std::uint8_t Kind = kPictureNoTest;     // kPictureMotion, kPictureNoChange or kPictureNoTest
    std::optional<JpegPicture> Picture;  // decoded at quarter size; freed after the callback
    int Score = 0;                       // the motion score, 0 without a test
};

struct NewPictureOutcome {
    std::optional<PictureEvent> Event;                 // none: no callback at all
    std::optional<TMotionSettingsRec> MotionSettings;  // the settings of a motion test that ran
};

struct PreparedPicture;

struct NewPictureInput {
    std::string_view Bytes;                 // the received picture
    std::uint8_t SaveMode = kSaveEvery;     // from EffectiveSaveMode
    std::string WebcamFolder;               // data folder + the webcam's folder name + '/'
    const TWebcamDef1Rec* Rec2 = nullptr;   // the webcam's motion overrides
    NewestSavedPicture* Saved = nullptr;    // the webcam's newest saved picture (required)
    // What the worker decoded and compared ahead (none: everything is done here). Its decode is
    // taken when it has the options the step needs, its motion test when it was made with the
    // settings in force against the reference in force; else the step does the work itself, so
    // the outcome is the same either way.
    PreparedPicture* Prepared = nullptr;
};

// The file of a saved picture: the webcam folder + the record's file prefix in file-name form
// (UTF-8, with '/', '\' and control characters dropped, so the file stays in the folder) +
// the time stamp + ".jpg".
std::string PictureFileName(const std::string& webcamFolder, std::string_view filePrefix, std::string_view stamp);

// The picture as the steps decode it: quarter size, fastest decoding, grey or colour.
JpegPicture QuarterPicture(std::string_view bytes, bool grey);

// The save mode in force: the global one when DISKMAN's GlobalSaveOn is set, else the webcam's.
std::uint8_t EffectiveSaveMode(const TDiskManRec& diskman, const TWebcamDefRec& rec);

// A still picture, to be saved as pictureFileName (named when the turn began). pictureCounter
// is the webcam's counter of pictures for the 1..253 modes; it counts every non-empty picture.
NewPictureOutcome NewStillPicture(const NewPictureInput& input, const std::string& pictureFileName,
                                  std::int32_t& pictureCounter);

// A stream frame. Its motion test compares with the webcam's remembered unsaved picture
// (nullptr: none, which counts as a change); frameFileName names the file when one is saved.
NewPictureOutcome NewStreamFrame(const NewPictureInput& input, const std::string* rememberedPicture,
                                 const std::function<std::string()>& frameFileName,
                                 std::int32_t& pictureCounter);

}  // namespace engine
