#include "engine/new_picture.h"

#include "engine/motion_compare.h"
#include "engine/new_picture_preparation.h"
#include "engine/picture_folder.h"
#include "platform/cp1252.h"


namespace engine {
namespace {

enum class Decision { NotSaved, Saved, MotionTest };

// Mode N in 1..253 saves the picture that brings the counter to 1, then starts over after N
// more, so the 1st, (N+2)th, (2N+3)th ... pictures are saved.
Decision Decide(std::uint8_t mode, std::int32_t& counter) {
    ++counter;
    if (mode == kSaveNone)
        return Decision::NotSaved;
    if (mode == kSaveEvery)
        return Decision::Saved;
    if (mode == kSaveOnMotion)
        return Decision::MotionTest;
    const bool due = counter == 1;
    if (counter > mode)
        counter = 0;
    return due ? Decision::Saved : Decision::NotSaved;
}

// The picture decoded ahead by the worker when it has these options, else a new one.
JpegPicture QuarterOf(const NewPictureInput& input, bool grey) {
    if (input.Prepared && input.Prepared->Quarter && input.Prepared->Quarter->Grayscale() == grey) {
        JpegPicture picture = std::move(*input.Prepared->Quarter);
        input.Prepared->Quarter.reset();
        return picture;
    }
    return QuarterPicture(input.Bytes, grey);
}

// The worker's motion test when it was made with these settings, which are in force now.
const PreparedMotionTest* MotionTestAhead(const NewPictureInput& input, const TMotionSettingsRec& settings) {
    if (!input.Prepared || !input.Prepared->Motion) return nullptr;
    const PreparedMotionTest& test = *input.Prepared->Motion;
    return MotionSettingsValues(test.Settings) == MotionSettingsValues(settings) ? &test : nullptr;
}

// Writes the picture into the webcam's folder and records it as the newest saved one, with its
// motion-test sums when they were made.
bool Write(const NewPictureInput& input, const std::string& fileName, std::string_view bytes,
           std::shared_ptr<const MotionBlockSums> sums = nullptr) {
    if (!WritePictureFile(fileName, bytes))
        return false;
    input.Saved->Written(input.WebcamFolder, fileName, std::move(sums));
    return true;
}

// The picture decodes whole and is written; any failure leaves no file.
bool SaveWhole(const NewPictureInput& input, JpegPicture& picture, const std::string& fileName,
               std::shared_ptr<const MotionBlockSums> sums = nullptr) {
    try {
        picture.DecodeWhole();
    } catch (const JpegError&) {
        return false;
    }
    return Write(input, fileName, picture.Bytes(), std::move(sums));
}

// The event of a picture shown but not saved; none when it does not decode.
std::optional<PictureEvent> Unsaved(JpegPicture picture) {
    try {
        picture.DIBNeeded();
    } catch (const JpegError&) {
        return std::nullopt;
    }
    return PictureEvent{"", kPictureNoTest, std::move(picture), 0};
}

enum class Sameness { Different, Same, Unreadable };

// Compares the bytes with the newest saved picture: a file of another size (or none) differs
// without being read.
Sameness CompareWithNewest(const NewPictureInput& input) {
    const SavedPictureFile& newest = input.Saved->Newest(input.WebcamFolder);
    const std::string_view bytes = input.Bytes;
    if (newest.Name.empty() || static_cast<std::size_t>(newest.Id.size) != bytes.size())
        return Sameness::Different;
    std::string saved;
    if (!ReadPictureFile(input.WebcamFolder + newest.Name, saved) || saved.size() != bytes.size())
        return Sameness::Unreadable;
    return saved == bytes ? Sameness::Same : Sameness::Different;
}

// The newest saved file decoded and summed for the motion test. It is made once and kept by the
// webcam until that file changes; nullptr when there is none or it does not decode (a change).
const MotionBlockSums* KeptOrDecodedReference(const NewPictureInput& input, const TMotionSettingsRec& settings) {
    NewestSavedPicture& saved = *input.Saved;
    const std::string newest = saved.NewestPath(input.WebcamFolder);
    if (newest.empty())
        return nullptr;
    const int side = MotionTestSide(settings);
    if (const MotionBlockSums* kept = saved.KeptMotionReference(side))
        return kept;
    try {
        saved.KeepMotionReference(std::make_shared<const MotionBlockSums>(DecodeMotionReference(newest, settings)));
    } catch (const std::exception&) {
        return nullptr;
    }
    return saved.KeptMotionReference(side);
}

// The still picture's motion test: the worker's when it compared with the newest saved file as
// it is now (whose sums the webcam then keeps), else made here. sums: the picture's own, when
// the worker made them.
bool StillPictureSame(const NewPictureInput& input, JpegPicture& picture, const TMotionSettingsRec& settings,
                      int& score, std::shared_ptr<const MotionBlockSums>& sums) {
    if (const PreparedMotionTest* test = MotionTestAhead(input, settings)) {
        sums = test->PictureSums;
        NewestSavedPicture& saved = *input.Saved;
        if (!test->ReferenceFile.Name.empty() && saved.Newest(input.WebcamFolder) == test->ReferenceFile) {
            if (!saved.KeptMotionReference(MotionTestSide(settings))) saved.KeepMotionReference(test->Reference);
            score = test->Score;
            return test->Same;
        }
    }
    return CompareJpegWithReference(KeptOrDecodedReference(input, settings), picture, settings, score);
}

// The sums the webcam keeps for a picture it saves after a motion test, so that the next test
// needs no decode of that file: the worker's, else made of the picture's grey decode here (none
// when that fails; the file is then decoded when it is next needed).
std::shared_ptr<const MotionBlockSums> SumsToKeep(std::shared_ptr<const MotionBlockSums> sums, JpegPicture& picture,
                                                  const TMotionSettingsRec& settings) {
    if (sums) return sums;
    try {
        return std::make_shared<const MotionBlockSums>(BlockSumsOf(picture.bitmap(), MotionTestSide(settings)));
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Still picture, motion mode: compared with the newest saved file, saved when it changed.
NewPictureOutcome StillMotionTest(const NewPictureInput& input, const std::string& fileName) {
    NewPictureOutcome outcome;
    JpegPicture picture = QuarterOf(input, true);
    outcome.MotionSettings = LoadMotionSettings(input.Rec2);
    int score = 0;
    std::shared_ptr<const MotionBlockSums> sums;
    if (StillPictureSame(input, picture, *outcome.MotionSettings, score, sums))
        outcome.Event = PictureEvent{"", kPictureNoChange, std::move(picture), score};
    else if (SaveWhole(input, picture, fileName, SumsToKeep(std::move(sums), picture, *outcome.MotionSettings)))
        outcome.Event = PictureEvent{fileName, kPictureMotion, std::nullopt, score};
    return outcome;
}

// Still picture due for saving: unless it is the newest saved picture again.
std::optional<PictureEvent> StillSave(const NewPictureInput& input, const std::string& fileName) {
    if (CompareWithNewest(input) != Sameness::Different)
        return std::nullopt;
    JpegPicture picture = QuarterOf(input, true);
    if (!SaveWhole(input, picture, fileName))
        return std::nullopt;
    return PictureEvent{fileName, kPictureNoTest, std::nullopt, 0};
}

// The frame's motion test: the worker's when it compared with the remembered picture of now,
// else made here. A remembered picture that cannot be loaded claims no change.
bool FrameSame(const NewPictureInput& input, const std::string& remembered, JpegPicture& frame,
               const TMotionSettingsRec& settings, int& score) {
    if (const PreparedMotionTest* test = MotionTestAhead(input, settings); test && test->ReferenceBytes == remembered) {
        score = test->Score;
        return test->Same;
    }
    JpegPicture reference = QuarterPicture(remembered, true);
    try {
        reference.DIBNeeded();
    } catch (const JpegError&) {
        return true;
    }
    return CompareImages(reference, frame, settings, score);
}

// Stream frame, motion mode: compared with the remembered picture; a frame that does not decode
// whole is dropped.
NewPictureOutcome FrameMotionTest(const NewPictureInput& input, const std::string* remembered,
                                  const std::function<std::string()>& frameFileName) {
    NewPictureOutcome outcome;
    JpegPicture frame = QuarterOf(input, true);
    try {
        frame.DecodeWhole();
    } catch (const JpegError&) {
        return outcome;
    }
    outcome.MotionSettings = LoadMotionSettings(input.Rec2);
    int score = 0;
    if (remembered != nullptr && FrameSame(input, *remembered, frame, *outcome.MotionSettings, score)) {
        outcome.Event = PictureEvent{"", kPictureNoChange, std::move(frame), score};
    } else {
        // The frame is shown even when its file cannot be written, but never names that file.
        const std::string fileName = frameFileName();
        const bool written = Write(input, fileName, frame.Bytes());
        outcome.Event = PictureEvent{written ? fileName : "", kPictureMotion, std::move(frame), score};
    }
    return outcome;
}

// Stream frame due for saving: every due frame is written, without a byte comparison.
std::optional<PictureEvent> FrameSave(const NewPictureInput& input, const std::function<std::string()>& frameFileName) {
    JpegPicture frame = QuarterOf(input, false);
    const std::string fileName = frameFileName();
    if (!SaveWhole(input, frame, fileName))
        return std::nullopt;
    return PictureEvent{fileName, kPictureNoTest, std::move(frame), 0};
}

}  // namespace

JpegPicture QuarterPicture(std::string_view bytes, bool grey) {
    JpegPicture picture{std::string(bytes)};
    picture.SetPerformance(JpegPerformance::BestSpeed);
    picture.SetScale(JpegScale::Quarter);
    picture.SetGrayscale(grey);
    return picture;
}

std::string PictureFileName(const std::string& webcamFolder, std::string_view filePrefix, std::string_view stamp) {
    std::string name = webcamFolder;
    for (const char c : platform::Cp1252ToUtf8(filePrefix)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c != '/' && c != '\\' && byte >= 0x20 && byte != 0x7F)
            name += c;
    }
    return name.append(stamp).append(".jpg");
}

std::uint8_t EffectiveSaveMode(const TDiskManRec& diskman, const TWebcamDefRec& rec) {
    return diskman.GlobalSaveOn != 0 ? diskman.GlobalSaveMode : rec.SaveMode;
}

NewPictureOutcome NewStillPicture(const NewPictureInput& input, const std::string& pictureFileName,
                                  std::int32_t& pictureCounter) {
    if (input.Bytes.empty())
        return {};
    switch (Decide(input.SaveMode, pictureCounter)) {
    case Decision::MotionTest: return StillMotionTest(input, pictureFileName);
    case Decision::Saved: return {StillSave(input, pictureFileName), std::nullopt};
    case Decision::NotSaved: break;
    }
    return {Unsaved(QuarterOf(input, true)), std::nullopt};
}

NewPictureOutcome NewStreamFrame(const NewPictureInput& input, const std::string* rememberedPicture,
                                 const std::function<std::string()>& frameFileName,
                                 std::int32_t& pictureCounter) {
    if (input.Bytes.empty())
        return {};
    switch (Decide(input.SaveMode, pictureCounter)) {
    case Decision::MotionTest: return FrameMotionTest(input, rememberedPicture, frameFileName);
    case Decision::Saved: return {FrameSave(input, frameFileName), std::nullopt};
    case Decision::NotSaved: break;
    }
    return {Unsaved(QuarterOf(input, false)), std::nullopt};
}

}  // namespace engine
