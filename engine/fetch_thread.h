#pragma once
// treadthread: the fetch worker. It takes the next queued webcam and runs one turn for it: a
// local picture file is read from disk; a web picture is fetched with its own TtvxHTTP, with a
// header check (HEAD and the Last-Modified comparison) or a conditional GET, the body held in
// memory. The bytes go to the new-picture step on the main thread. A failure that is not an
// interruption or a 304, a reply that is no picture and a turn past its limit are logged and
// set status 7; the webcam is then not due again before the error pause, and a turn without a
// picture or a 304 leaves it not due before a shorter wait, while the worker goes on at once.
//
// Threads: the turn, the HTTP component and the inactivity watch run on the worker's thread;
// its loop fires the watch inside a request's wait. InterruptRequest and ThreadTerminated run
// on the main thread; the first reaches the request only through the component's interrupt
// handle. Every result goes to the main thread through Synchronize.

#include "engine/picture_folder.h"
#include "engine/picture_request.h"
#include "engine/webcam_workers.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class terrorlog;
class twebcam;
struct PreparedPicture;

// A request that delivers no data for this long is aborted silently.
inline constexpr std::chrono::milliseconds kInactivityLimit{30000};
// The longest a whole turn may take, however its server trickles: past it the turn is aborted
// and logged as failed.
inline constexpr std::chrono::milliseconds kTurnLimit = 4 * kInactivityLimit;
// A webcam whose turn failed (logged, status 7) is not due again before this.
inline constexpr std::chrono::milliseconds kErrorPause{2000};
// A webcam whose turn brought neither a picture nor a not-modified answer is not due again
// before this, whatever its refresh.
inline constexpr std::chrono::milliseconds kWaitWithoutPicture{1000};

// What the new-picture step made of the bytes it was given.
enum class PictureVerdict {
    Taken,    // a picture: saved, shown, or the newest saved one again; an empty buffer too
    NotJpeg,  // no JPEG picture at all
    CutOff,   // a JPEG picture whose data ends early
};
// The reason of a refusal as the error log gives it.
const char* RefusalText(PictureVerdict verdict);

// The new-picture step, on the main thread: the received bytes, the file name the picture
// gets if it is saved, and what the worker did ahead for these bytes (PrepareStillPicture).
using NewPictureStep = std::function<PictureVerdict(twebcam&, const std::string& bytes,
                                                    const std::string& pictureFileName, PreparedPicture* prepared)>;

// The stream-frame step, on the main thread: a picture cut out of a streaming webcam's stream,
// and what the stream thread did ahead for it (StreamFramePreparer). Returns whether the frame
// was a picture.
using StreamFrameStep = std::function<bool(twebcam&, const std::string& frame, PreparedPicture* prepared)>;

// What the fetch threads, and the stream threads, are built with.
struct FetchThreadSettings {
    std::string userAgent;        // the ovl.ini "affbrowser=" value; empty: the default one
    terrorlog* errorLog = nullptr;  // the main window's error log, or none
    NewPictureStep newPicture;
    StreamFrameStep newFrame;       // the stream threads' step
    std::chrono::milliseconds inactivityLimit = kInactivityLimit;
    std::chrono::milliseconds turnLimit = kTurnLimit;
    std::chrono::milliseconds errorPause = kErrorPause;
    std::chrono::milliseconds waitWithoutPicture = kWaitWithoutPicture;
    std::size_t maxPictureBytes = kMaxPictureBytes;
};

class treadthread : public tfetchworker {
public:
    treadthread(twebcammanager& manager, int index, std::shared_ptr<const FetchThreadSettings> settings);
    ~treadthread() override;

    void InterruptRequest(const twebcam& webcam) override;

protected:
    void Execute() override;
    void Turn(twebcam& webcam) override;
    void TurnFailed() override;
    void IdleWait() override;

private:
    enum class Plan { Plain, HeadFirst, Conditional };

    bool Halted(const twebcam& webcam) const;
    void DoRead(twebcam& webcam);
    void ReadLocalFile(twebcam& webcam, const std::string& path);
    void SetUpRequest(twebcam& webcam);
    Plan HeaderCheckPlan(twebcam& webcam);
    // The HEAD step; true when the picture is to be fetched.
    bool HeaderRequest(twebcam& webcam);
    void PictureRequest(twebcam& webcam, Plan plan);
    // A failed turn: logged, status 7, and the webcam not due again before the error pause.
    void PictureFailed(twebcam& webcam, const std::string& text);
    // A webcam that got neither a picture nor a not-modified answer waits a little.
    void PostponeUnanswered(twebcam& webcam);
    void Newpic(twebcam& webcam);
    void LoadOldHeader(twebcam& webcam, const std::string& file);
    void SetStatus(twebcam& webcam, std::uint8_t status);
    void LogError(const twebcam& webcam, const std::string& prefix, const std::string& text);

    // The HTTP component's events and the watch, which ends a request that is halted or idle.
    void DoHeader(const std::string& Field, const std::string& Value);
    void DoTransfer(const std::string& Text);
    // The action's failure message, empty after a success.
    std::string RunAction(int action);
    void AbortAction();
    // On the main thread once Execute ended: a worker that was not asked to end is replaced.
    void ThreadTerminated();

    const std::shared_ptr<const FetchThreadSettings> FSettings;
    ThreadHttp FHTTP;  // interrupted by the main thread

    // Worker thread only: the state of the current turn.
    twebcam* FTurnWebcam = nullptr;
    std::string FFolder;  // the webcam's folder, ending in '/'
    std::vector<std::string> FNewHeader;
    std::vector<std::string> FOldHeader;
    std::string FBuffer;
    std::size_t FContentLength = 0;
    bool FTooLarge = false;
    bool FHttpTurn = false;  // the picture came over HTTP, not from a file
    bool FAnswered = false;  // a picture or a not-modified answer came
    bool FFailed = false;
    bool FUnusableAddress = false;  // the failure comes again at every turn (UnusableAddress)
    std::string FPictureFileName;
    RequestWatch FWatch;  // of the turn's requests; its deadline is the turn's limit
};

}  // namespace engine
