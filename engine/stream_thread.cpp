#include "engine/stream_thread.h"

#include "engine/local_picture.h"
#include "engine/logs.h"
#include "platform/regular_file.h"
#include "engine/picture_request.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "inet/tvx_http.h"

#include <algorithm>
#include <utility>

namespace engine {

tstreamthread::tstreamthread(twebcam& webcam, twebcammanager& manager,
                             std::shared_ptr<const FetchThreadSettings> settings)
    : tstreamworker(Priority::Normal), FWebcam(webcam), FManager(manager), FSettings(std::move(settings)) {}

tstreamthread::~tstreamthread() {
    Terminate();
    InterruptRequest();
    WaitFor();
}

// Terminated first: once it is set the webcam may be gone.
bool tstreamthread::Halted() const { return Terminated() || !FWebcam.FRunning; }

void tstreamthread::InterruptRequest() {
    // A request that starts after this sees the thread halted: the watch checks it.
    FHTTP.Interrupt();
}

void tstreamthread::Execute() {
    while (!Halted()) {
        Ending ending = Ending::Failed;
        try {
            ending = Connect();
        } catch (...) {
            // Anything unexpected counts as a failed connection: waited for, then tried again.
        }
        FHTTP.Free();
        if (Halted() || !WaitToReconnect(ending)) break;
    }
}

tstreamthread::Ending tstreamthread::Connect() {
    const TWebcamDefRec rec = FWebcam.Rec();
    FFolder = FWebcam.Folder();
    FOneFrame = false;
    FGotPicture = FGotBytes = FNoPictureLogged = false;
    if (FFolder.empty()) return Ending::Failed;  // a name that is no folder name: nothing to keep
    if (auto path = LocalPicturePath(rec.PictureURL.str())) {
        ReadLocalFile(*path);
        Doze(kLocalReadPause);
        return Ending::Closed;
    }
    FHTTP.Renew();
    return DoRead(rec);
}

tstreamthread::Ending tstreamthread::DoRead(const TWebcamDefRec& rec) {
    FSplitter.Clear();
    FClosedAfterFrame = false;
    try {
        SetUpPictureRequest(*FHTTP, FManager, rec, FFolder, FSettings->userAgent,
                            {"Pragma: no-cache", "Connection: Keep-Alive"}, rec.PictureURL.str());
        FOneFrame = FHTTP->URLPort() == kOneFramePort;
        FHTTP->OnTransfer = [this](inet::TtvxHTTP&, int, std::int64_t, const std::string& text) { DoTransfer(text); };
        FWatch.quietLimit = FSettings->inactivityLimit;
        RunWatchedAction(*FHTTP, inet::httpGet, FWatch, [this] { return Halted(); });
    } catch (const std::exception& e) {
        if (FClosedAfterFrame) return Ending::ClosedAfterFrame;
        // Interrupted: stopped, quiet for too long, or no picture within the limit. Silent, and
        // the picture begun is dropped.
        const std::string text = e.what();
        if (Halted() || text.starts_with("301")) return Ending::Failed;
        // No stream can ever come from such an address: it shows as failing, as a webcam
        // whose turn failed does. Other failures are tried again without a word.
        if (UnusableAddress(text)) {
            NoPicture(text);
            return Ending::Failed;
        }
        LogError(text);
        DeliverRest();
        return Ending::Failed;
    }
    DeliverRest();
    if (!FGotPicture) NoPicture(FGotBytes ? RefusalText(PictureVerdict::NotJpeg) : "empty reply");
    return Ending::Closed;
}

void tstreamthread::ReadLocalFile(const std::string& path) {
    SetStatus(kStatusPicture);
    std::string frame;
    if (Halted() || !platform::ReadRegularFile(path, FSettings->maxPictureBytes, frame)) return;
    Newpic(frame);
}

bool tstreamthread::WaitToReconnect(Ending ending) {
    std::chrono::seconds wait(ending == Ending::ClosedAfterFrame || FOneFrame ? 0 : FWebcam.Rec().Refresh);
    // A connection that failed or brought no picture (an empty reply, a page) is not tried again
    // at once, whatever the refresh.
    if (ending == Ending::Failed || !FGotPicture) wait = std::max(wait, kWaitAfterFailure);
    return wait.count() <= 0 || (Doze(wait) && !Halted());
}

void tstreamthread::DoTransfer(const std::string& Text) {
    if (FClosedAfterFrame || FSplitter.Overflowed()) return;  // the connection is being closed
    if (!Halted()) {
        FGotBytes = FGotBytes || !Text.empty();
        FSplitter.Feed(Text);
        std::string frame;
        while (!Halted() && !FClosedAfterFrame && FSplitter.Next(frame)) {
            Deliver(frame);
            FClosedAfterFrame = FOneFrame;
        }
    }
    if (Halted() || FClosedAfterFrame || FSplitter.Overflowed())
        AbortAction(FHTTP.get());
    else
        FWatch.lastData = std::chrono::steady_clock::now();  // after the pictures: their handling is no quiet time
}

void tstreamthread::DeliverRest() {
    const std::string rest = FSplitter.TakeRest();
    if (!rest.empty() && !Halted()) Deliver(rest);
}

void tstreamthread::Deliver(const std::string& frame) {
    const PictureVerdict verdict = Newpic(frame);
    if (verdict != PictureVerdict::Taken)
        NoPicture(RefusalText(verdict));
    else if (FGotPicture && FWebcam.FStatus == kStatusError)
        SetStatus(kStatusPicture);  // the stream gives pictures again
}

PictureVerdict tstreamthread::Newpic(const std::string& frame) {
    if (!FSettings->newFrame) return PictureVerdict::Taken;
    bool refused = false;
    try {
        // The decoding and the motion test need nothing of the main thread: done here first.
        PreparedPicture prepared = FFramePreparer.Prepare(FWebcam, frame);
        Synchronize([this, &frame, &prepared, &refused] {
            // A stop that came while this call waited: the picture is no longer wanted.
            if (Terminated() || !FWebcam.FRunning) return;
            if (FSettings->newFrame(FWebcam, frame, &prepared)) FGotPicture = true;
            else refused = true;
        });
    } catch (...) {
        // The step's own failure; the stream goes on.
    }
    // The step refuses only frames whose JPEG header does not read.
    return refused ? PictureVerdict::NotJpeg : PictureVerdict::Taken;
}

void tstreamthread::NoPicture(const std::string& reason) {
    if (Halted()) return;
    if (FWebcam.FStatus != kStatusError) SetStatus(kStatusError);
    if (!std::exchange(FNoPictureLogged, true)) LogError(reason);
}

void tstreamthread::SetStatus(std::uint8_t status) {
    if (Halted()) return;
    FWebcam.FStatus = status;
    try {
        Synchronize([this, status] {
            if (!Terminated() && FWebcam.FOnStatus) FWebcam.FOnStatus(FWebcam.FRecordNo, status);
        });
    } catch (...) {
    }
}

void tstreamthread::LogError(const std::string& text) {
    terrorlog* log = FSettings->errorLog;
    if (!log || !log->FEnabled) return;
    const std::vector<std::string> FErrorText =
        RequestErrorEntry(FWebcam.Name(), "Error fetching picture: ", text, FHTTP->URL(), {});
    try {
        Synchronize([log, &FErrorText] { log->Add(FErrorText); });
    } catch (...) {
    }
}

}  // namespace engine
