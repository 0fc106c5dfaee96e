#include "engine/new_picture_preparation.h"

#include "engine/bitmap_draw.h"
#include "engine/motion_compare.h"
#include "engine/new_picture.h"
#include "engine/webcam.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"

namespace engine {
namespace {

// Whether the thumbnail is drawn from a decode at the picture's scale: then one pass decodes
// the picture in colour for it and in grey for the step.
bool ThumbnailAtScaleOf(const twebcam& webcam, const JpegPicture& picture) {
    try {
        return picture.Performance() == JpegPerformance::BestSpeed &&
               picture.ThumbnailScale(webcam.FManager.ThumbWidth(), webcam.FManager.ThumbHeight()) == picture.Scale();
    } catch (const JpegError&) {
        return false;
    }
}

// Decodes the picture now, as the step would, in colour and grey at once when the thumbnail
// takes the other; false when it does not decode (the step then fails on it in its own time).
bool DecodeAhead(JpegPicture& picture, bool alsoForThumbnail = false) {
    try {
        if (alsoForThumbnail) picture.DecodeColourAndGrey();
        else picture.DIBNeeded();
        return true;
    } catch (const JpegError&) {
        return false;
    }
}

// A picture whose decode fails is none; one whose data ends before the picture does is cut off.
PictureVerdict VerdictOf(JpegPicture& picture, bool alsoForThumbnail = false) {
    if (!DecodeAhead(picture, alsoForThumbnail)) return PictureVerdict::NotJpeg;
    return picture.PrematureEnd() ? PictureVerdict::CutOff : PictureVerdict::Taken;
}

// Whether the step will run a motion test: by the save mode in force when the webcam last
// published, the webcam's own mode before that. A wrong guess costs time, not correctness.
bool MotionTestLikely(const twebcam& webcam, const PublishedPictures* published) {
    const std::uint8_t mode =
        published && published->GlobalSaveMode ? *published->GlobalSaveMode : webcam.Rec().SaveMode;
    return mode == kSaveOnMotion;
}

TMotionSettingsRec SettingsOf(const twebcam& webcam) {
    const TWebcamDef1Rec rec2 = webcam.Rec2();
    return LoadMotionSettings(&rec2);
}

// The still picture against the newest saved file: the sums the webcam keeps for it, else that
// file decoded here. None when there is no file, or it cannot be read or decoded: the step then
// sees to it.
std::optional<PreparedMotionTest> StillMotionTestAhead(const twebcam& webcam, const PublishedPictures* published,
                                                       JpegPicture& picture) try {
    PreparedMotionTest test;
    test.Settings = SettingsOf(webcam);
    if (published && published->Reference && published->Reference->Side == MotionTestSide(test.Settings)) {
        test.ReferenceFile = published->Newest;
        test.Reference = published->Reference;
    } else {
        const std::string folder = webcam.Folder();
        if (folder.empty()) return std::nullopt;
        const std::string name = published ? published->Newest.Name : LatestJpegInFolder(folder);
        if (name.empty()) return std::nullopt;
        std::string bytes;
        const auto id = ReadFileWithIdentity(folder + name, bytes);
        if (!id) return std::nullopt;
        try {
            test.Reference =
                std::make_shared<const MotionBlockSums>(DecodeMotionReferenceBytes(std::move(bytes), test.Settings));
        } catch (const std::exception&) {
            return std::nullopt;
        }
        test.ReferenceFile = {name, *id};
    }
    // Its sums serve the test and, once it is saved, the webcam's next tests.
    test.PictureSums = std::make_shared<const MotionBlockSums>(BlockSumsOf(picture.bitmap(), MotionTestSide(test.Settings)));
    test.Same = CompareWithReferenceSums(test.Reference.get(), *test.PictureSums, test.Settings, test.Score);
    return test;
} catch (const std::exception&) {
    return std::nullopt;
}

// Drawn as the manager draws it, from the smallest decode that covers it; from the step's own
// decode when that is the one (decoded: a picture whose scale ThumbnailAtScaleOf found the
// thumbnail's) and its colour decode is at hand.
std::optional<Bitmap> ThumbnailAhead(const twebcam& webcam, const std::string& bytes, JpegPicture* decoded) {
    Bitmap thumbnail(webcam.FManager.ThumbWidth(), webcam.FManager.ThumbHeight(), 24);
    try {
        if (decoded && decoded->Holds(false)) {
            const bool grey = decoded->Grayscale();
            decoded->SetGrayscale(false);
            StretchDraw(thumbnail, decoded->bitmap());
            decoded->SetGrayscale(grey);
        } else {
            JpegPicture(bytes).DrawThumbnail(thumbnail);
        }
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return thumbnail;
}

}  // namespace

PictureVerdict ExaminePicture(const std::string& bytes) {
    JpegPicture picture = QuarterPicture(bytes, true);
    return VerdictOf(picture);
}

PreparedPicture PrepareStillPicture(const twebcam& webcam, const std::string& bytes) {
    PreparedPicture prepared;
    if (bytes.empty()) return prepared;
    // The decode every still step makes is also the examination of the bytes.
    JpegPicture& picture = prepared.Quarter.emplace(QuarterPicture(bytes, true));
    const bool thumbnailAtScale = ThumbnailAtScaleOf(webcam, picture);
    prepared.Verdict = VerdictOf(picture, thumbnailAtScale);
    if (prepared.Verdict != PictureVerdict::Taken) {  // refused before any step
        prepared.Quarter.reset();
        return prepared;
    }
    const auto published = webcam.FNewestSaved.Published();
    if (MotionTestLikely(webcam, published.get()))
        prepared.Motion = StillMotionTestAhead(webcam, published.get(), picture);
    prepared.Thumbnail = ThumbnailAhead(webcam, bytes, thumbnailAtScale ? &picture : nullptr);
    return prepared;
}

PreparedPicture StreamFramePreparer::Prepare(const twebcam& webcam, const std::string& frame) {
    PreparedPicture prepared;
    if (frame.empty()) return prepared;
    const auto published = webcam.FNewestSaved.Published();
    const bool motion = MotionTestLikely(webcam, published.get());
    JpegPicture& picture = prepared.Quarter.emplace(QuarterPicture(frame, motion));
    const bool thumbnailAtScale = ThumbnailAtScaleOf(webcam, picture);
    const bool decoded = DecodeAhead(picture, motion && thumbnailAtScale);
    prepared.Thumbnail = ThumbnailAhead(webcam, frame, decoded && thumbnailAtScale ? &picture : nullptr);
    // Only a frame that decodes whole is shown, and so becomes the webcam's remembered picture.
    if (!decoded || picture.PrematureEnd()) return prepared;
    if (motion && !FPreviousFrame.empty()) {
        PreparedMotionTest& test = prepared.Motion.emplace();
        test.Settings = SettingsOf(webcam);
        test.ReferenceBytes = FPreviousFrame;
        std::shared_ptr<const Bitmap> reference = FPreviousGrey;
        if (!reference) {
            JpegPicture previous = QuarterPicture(FPreviousFrame, true);
            if (DecodeAhead(previous)) reference = std::make_shared<const Bitmap>(std::move(previous.bitmap()));
        }
        // A remembered picture that cannot be loaded claims no change.
        test.Same = !reference || CompareDecodedImages(*reference, picture.bitmap(), test.Settings, test.Score);
    }
    FPreviousFrame = frame;
    FPreviousGrey = motion ? std::make_shared<const Bitmap>(picture.bitmap()) : nullptr;
    return prepared;
}

}  // namespace engine
