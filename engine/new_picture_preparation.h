#pragma once
// The work on a new picture that needs nothing of the main thread, done by the fetch or stream
// thread before it hands the picture over: the check that the bytes are a whole picture, the
// quarter-size decode, the motion test against what the webcam last published, and the
// thumbnail. The main thread then only decides, writes and reports; it takes each result only
// when it still holds for the state of its own time (new_picture.h), so the outcome is the
// one of doing everything there.
//
// Worker threads: they read the webcam only through its thread-safe copies and its published
// pictures, and the manager's thumbnail size.

#include "engine/fetch_thread.h"
#include "engine/jpeg_picture.h"
#include "engine/motion_settings.h"
#include "engine/newest_saved_picture.h"

#include <memory>
#include <optional>
#include <string>

namespace engine {

class twebcam;

struct PreparedMotionTest {
    TMotionSettingsRec Settings{};
    bool Same = false;
    int Score = 0;
    // A still picture is compared with the newest saved file: its name and identity, and its
    // sums, which the webcam keeps for the following tests.
    SavedPictureFile ReferenceFile;
    std::shared_ptr<const MotionBlockSums> Reference;
    // The still picture's own sums, the same as its saved file's: the reference once it is saved.
    std::shared_ptr<const MotionBlockSums> PictureSums;
    // A stream frame is compared with the webcam's remembered picture: its bytes.
    std::string ReferenceBytes;
};

struct PreparedPicture {
    PictureVerdict Verdict = PictureVerdict::Taken;  // of a still picture's bytes
    // At quarter size, fastest decoding, decoded when it could be (in colour too, when that is
    // the thumbnail's decode).
    std::optional<JpegPicture> Quarter;
    std::optional<PreparedMotionTest> Motion;
    std::optional<Bitmap> Thumbnail;     // of the manager's thumbnail size, when the bytes decode
};

// Whether the bytes are a whole JPEG picture: decoded as every still step decodes them (quarter
// size, grey), which reads all of the data. A prepared picture has this decode and its verdict.
PictureVerdict ExaminePicture(const std::string& bytes);

// A still picture of a fetch turn.
PreparedPicture PrepareStillPicture(const twebcam& webcam, const std::string& bytes);

// The frames of one stream thread: it remembers the last frame it prepared, the reference of
// the next frame's motion test.
class StreamFramePreparer {
public:
    PreparedPicture Prepare(const twebcam& webcam, const std::string& frame);

private:
    std::string FPreviousFrame;
    std::shared_ptr<const Bitmap> FPreviousGrey;  // its quarter-size grey decode, when made
};

}  // namespace engine
