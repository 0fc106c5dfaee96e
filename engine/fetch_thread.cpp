#include "engine/fetch_thread.h"

#include "engine/local_picture.h"
#include "engine/logs.h"
#include "platform/regular_file.h"
#include "engine/new_picture.h"
#include "engine/new_picture_preparation.h"
#include "engine/picture_request.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"
#include "inet/tvx_http.h"
#include "platform/clock.h"
#include "platform/message_loop.h"

#include <malloc.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

namespace engine {
namespace {

constexpr std::string_view kTimestampMarker = "%TIMESTAMP%";

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The last line whose first 13 characters are "Last-Modified" in any case; empty when none.
std::string LastModifiedLine(const std::vector<std::string>& lines) {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (Upper(std::string_view(*it).substr(0, 13)) == "LAST-MODIFIED") return *it;
    return {};
}

// The first "%TIMESTAMP%" (in any case) replaced by the stamp; the rest kept up to 999 characters.
std::string StampedUrl(const std::string& url) {
    const std::size_t at = Upper(url).find(kTimestampMarker);
    if (at == std::string::npos) return url;
    return url.substr(0, at) + TimestampValue() + url.substr(at + kTimestampMarker.size(), 999);
}

void WriteLines(const std::string& file, const std::vector<std::string>& lines) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
}

// A HEAD refused by a server that knows no HEAD: the picture is fetched with a plain GET.
bool HeadNotSupported(std::string_view text) { return StartsWith(text, "151: 405") || StartsWith(text, "151: 501"); }

// A picture buffer larger than this is given back after the turn, not kept for the next one.
constexpr std::size_t kKeptBufferBytes = 1u << 20;

platform::TDateTime FromNow(std::chrono::milliseconds wait) {
    return platform::MonotonicNow() + platform::DaysFromSeconds(static_cast<double>(wait.count()) / 1000.0);
}

}  // namespace

const char* RefusalText(PictureVerdict verdict) {
    switch (verdict) {
    case PictureVerdict::Taken: return "";
    case PictureVerdict::NotJpeg: return "not a JPEG picture";
    case PictureVerdict::CutOff: return "picture cut off";
    }
    return "";
}

treadthread::treadthread(twebcammanager& manager, int index, std::shared_ptr<const FetchThreadSettings> settings)
    : tfetchworker(manager, index), FSettings(std::move(settings)) {
    // Picture buffers grow to many megabytes on whichever thread fetches. With a fixed threshold
    // the allocator maps such blocks on their own and returns them when freed; its adaptive one
    // would soon keep them in the threads' arenas, where they stay after the turn. Fixing it
    // also fixes the trim threshold, at 128 KiB unless set: each picture decoded (some hundred
    // kilobytes) would then give the heap's top back to the system when freed and fault it in
    // afresh for the next one. The allocator's own rule keeps twice the mapping threshold.
    // Threads that decode pictures share as many heaps as there are processors, not one each
    // (the allocator's default for 64 threads): every heap keeps what its threads freed, and
    // most of the time these threads wait for the network, not for the allocator.
    static std::once_flag fixedThreshold;
    std::call_once(fixedThreshold, [] {
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(kKeptBufferBytes));
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kKeptBufferBytes));
        mallopt(M_ARENA_MAX, static_cast<int>(std::max(2u, std::thread::hardware_concurrency())));
    });
    OnTerminate = [this] { ThreadTerminated(); };
}

treadthread::~treadthread() {
    Terminate();
    WaitFor();
}

bool treadthread::Halted(const twebcam& webcam) const { return !webcam.FRunning || webcam.FStopping; }

void treadthread::InterruptRequest(const twebcam& webcam) {
    if (FWebcam != &webcam) return;
    // A request that starts after this sees the webcam halted: it is checked before every
    // request and by the watch while one runs.
    FHTTP.Interrupt();
}

void treadthread::Execute() {
    if (Terminated()) return;
    try {
        FHTTP.Renew();
        RunTurns();
    } catch (...) {
        // An unexpected end: ThreadTerminated replaces this worker.
    }
    FHTTP.Free();
}

void treadthread::TurnFailed() {
    try {
        FHTTP.Renew();
    } catch (...) {
        // Tried again after the next failed turn.
    }
}

void treadthread::IdleWait() {
    // Whatever the thread's own loop still holds is handled before it sleeps.
    while (platform::MessageLoop::Current().ProcessOne() == platform::MessageLoop::Step::Dispatched) {
    }
    Doze();
}

void treadthread::Turn(twebcam& webcam) {
    FTurnWebcam = &webcam;
    FNewHeader.clear();
    FOldHeader.clear();
    FHttpTurn = FAnswered = FFailed = FUnusableAddress = false;
    FWatch = RequestWatch{FSettings->inactivityLimit, std::chrono::steady_clock::now() + FSettings->turnLimit};
    const auto cleanUp = [this] {
        FTurnWebcam = nullptr;  // perhaps let go already: the abort's events leave it alone
        AbortAction();
        FState = 0;
        // A large buffer (an oversized body) is given back, not kept by an idle thread.
        if (FBuffer.capacity() > kKeptBufferBytes) std::string().swap(FBuffer);
        else FBuffer.clear();
        FNewHeader.clear();
        FOldHeader.clear();
    };
    try {
        DoRead(webcam);
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
    // The thread goes on at once; the webcam waits instead: after a failure it shows its
    // status 7 for the pause, and a turn without a picture is not due again before the wait.
    // An answered turn may have let go of the webcam already: it is not looked at again.
    if (FAnswered || Halted(webcam)) return;
    if (FFailed) {
        platform::TDateTime until = FromNow(std::max(FSettings->errorPause, FSettings->waitWithoutPicture));
        // An address no request can be made for fails at every turn: the failure stays shown
        // until the next one, never "waiting" as if a turn could bring a picture.
        if (FUnusableAddress) until = std::max(until, webcam.FDueTime.load());
        webcam.FPausedUntil = until;
    } else if (const platform::TDateTime earliest = FromNow(FSettings->waitWithoutPicture); webcam.FDueTime < earliest) {
        webcam.FDueTime = earliest;
    }
}

void treadthread::DoRead(twebcam& webcam) {
    if (Halted(webcam)) return;
    webcam.SetTurnDueTime();
    FFolder = webcam.Folder();
    if (FFolder.empty()) return;  // a name that is no folder name: nothing to read or write
    const TWebcamDefRec rec = webcam.Rec();
    FPictureFileName = PictureFileName(FFolder, webcam.Rec2().FilePrefix.str(), TimestampName());
    if (auto path = LocalPicturePath(rec.PictureURL.str())) {
        ReadLocalFile(webcam, *path);
        return;
    }
    if (!FHTTP) FHTTP.Renew();
    FHttpTurn = true;
    Plan plan = Plan::Plain;
    try {
        SetUpRequest(webcam);
        plan = HeaderCheckPlan(webcam);
    } catch (const std::exception& e) {
        PictureFailed(webcam, e.what());
        return;
    }
    if (plan == Plan::HeadFirst && !HeaderRequest(webcam)) return;
    try {
        PictureRequest(webcam, plan);
    } catch (const std::exception& e) {
        PictureFailed(webcam, e.what());
    }
}

void treadthread::ReadLocalFile(twebcam& webcam, const std::string& path) {
    FState = 2;
    SetStatus(webcam, kStatusPicture);
    if (!platform::ReadRegularFile(path, FSettings->maxPictureBytes, FBuffer)) return;
    Newpic(webcam);
}

void treadthread::LoadOldHeader(twebcam& webcam, const std::string& file) { FOldHeader = webcam.FKeptHeader.Lines(file); }

void treadthread::SetUpRequest(twebcam& webcam) {
    const TWebcamDefRec rec = webcam.Rec();
    FHTTP->SetAction(inet::httpIdle);
    FHTTP->SetAction(inet::httpResetHeaders);
    LoadOldHeader(webcam, FFolder + "header.txt");
    SetUpPictureRequest(*FHTTP, FManager, rec, FFolder, FSettings->userAgent, {"Pragma: no-cache"},
                        StampedUrl(rec.PictureURL.str()));
    FHTTP->OnHeader = [this](inet::TtvxHTTP&, const std::string& field, const std::string& value) {
        DoHeader(field, value);
    };
}

treadthread::Plan treadthread::HeaderCheckPlan(twebcam& webcam) {
    const TWebcamDefRec rec = webcam.Rec();
    if (rec.Refresh == 0 || webcam.Rec2().NoCheck != 0) return Plan::Plain;
    if (rec.HeadCheck != 0) return Plan::HeadFirst;
    webcam.ReadHeaderDates(FOldHeader);
    if (webcam.FLastModified != 0) return Plan::Conditional;
    return FOldHeader.empty() ? Plan::Plain : Plan::HeadFirst;
}

bool treadthread::HeaderRequest(twebcam& webcam) {
    const std::string headerFile = FFolder + "header.new";
    std::string text;  // the failure
    try {
        FState = 1;
        SetStatus(webcam, kStatusHeader);
        if (Terminated() || Halted(webcam)) return false;
        FHTTP->OnTransfer = nullptr;
        FHTTP->SetLocalFile(headerFile);
        FNewHeader.clear();
        text = RunAction(inet::httpHead);
        FState = 0;
        if (text.empty()) {
            if (Halted(webcam)) return false;
            WriteLines(headerFile, FNewHeader);
        }
    } catch (const std::exception& e) {
        text = e.what();
    }
    if (!text.empty()) {
        FState = 0;
        if (StartsWith(text, "301")) {
            if (FWatch.overDeadline) PictureFailed(webcam, text);
            return false;
        }
        LogError(webcam, "Error fetching header: ", text);
        if (StartsWith(text, "151") && !HeadNotSupported(text)) return false;
        if (HeadNotSupported(text)) return !Halted(webcam);
    }
    if (Halted(webcam)) return false;
    const std::string now = LastModifiedLine(FNewHeader);
    const std::string before = LastModifiedLine(FOldHeader);
    const bool fetch = now.empty() || before.empty() || Upper(now) != Upper(before);
    FAnswered = !fetch;  // unchanged: as good as a not-modified answer
    return fetch;
}

void treadthread::PictureRequest(twebcam& webcam, Plan plan) {
    if (Halted(webcam) || Terminated()) return;
    FState = 2;
    if (plan == Plan::Conditional) {
        const std::string old = LastModifiedLine(FOldHeader);
        if (old.size() > 14) FHTTP->ExtraHeaders().push_back("If-Modified-Since: " + old.substr(14, 255));
    }
    SetStatus(webcam, kStatusPicture);
    FHTTP->OnTransfer = [this](inet::TtvxHTTP&, int, std::int64_t, const std::string& text) { DoTransfer(text); };
    FHTTP->SetLocalFile("");
    FBuffer.clear();
    FContentLength = 0;
    FTooLarge = false;
    FNewHeader.clear();
    const std::string failure = RunAction(inet::httpGet);
    FState = 0;
    if (!failure.empty()) return PictureFailed(webcam, failure);  // a not-modified answer among them
    const std::string header = FFolder + "header.txt";
    // A short body is no picture: no file is written or replaced.
    if (FBuffer.size() < FContentLength) return PictureFailed(webcam, RefusalText(PictureVerdict::CutOff));
    if (FBuffer.empty()) {
        std::remove(header.c_str());  // the next turn asks without a date
        return PictureFailed(webcam, "empty reply");
    }
    const std::string pending = FFolder + "header.pxt";
    WriteLines(pending, FNewHeader);
    webcam.ReadHeaderDates(FNewHeader);
    std::remove(header.c_str());
    std::rename(pending.c_str(), header.c_str());
    Newpic(webcam);
}

void treadthread::PictureFailed(twebcam& webcam, const std::string& error) {
    FState = 0;
    if (Halted(webcam)) return;
    std::string text = error;
    if (FTooLarge) {
        text = "Picture larger than " + std::to_string(FSettings->maxPictureBytes) + " bytes";
    } else if (FWatch.overDeadline) {
        text = "Turn not finished within " + std::to_string(FSettings->turnLimit.count()) + " ms";
    } else if (StartsWith(text, "151: 304")) {
        FAnswered = true;
        return;
    } else if (StartsWith(text, "301")) {
        return;
    }
    LogError(webcam, "Error fetching picture: ", text);
    if (webcam.FRunning && !webcam.FStopping) {
        SetStatus(webcam, kStatusError);
        FFailed = true;
        FUnusableAddress = UnusableAddress(text);
    }
}

void treadthread::Newpic(twebcam& webcam) {
    if (!webcam.FRunning || !FSettings->newPicture) return;
    PictureVerdict verdict = PictureVerdict::Taken;
    try {
        // The decoding and the motion test need nothing of the main thread: done here first.
        PreparedPicture prepared = PrepareStillPicture(webcam, FBuffer);
        Synchronize([&] {
            verdict = FSettings->newPicture(webcam, FBuffer, FPictureFileName, &prepared);
            // A picture taken ends the turn: the webcam is let go and rescheduled in this same
            // call, right after the step, where a call of its own would follow it.
            if (verdict == PictureVerdict::Taken) LetGoOnMain(webcam);
        });
    } catch (...) {
        // The step's own failure ends it; the turn goes on.
    }
    if (verdict == PictureVerdict::Taken) {
        FAnswered = true;
        return;
    }
    // Bytes that are no picture must be fetched again next time, not answered with 304.
    if (!FFolder.empty()) std::remove((FFolder + "header.txt").c_str());
    if (FHttpTurn) PictureFailed(webcam, RefusalText(verdict));
}

void treadthread::SetStatus(twebcam& webcam, std::uint8_t status) {
    webcam.FStatus = status;
    Synchronize([&webcam, status] {
        if (webcam.FOnStatus) webcam.FOnStatus(webcam.FRecordNo, status);
    });
}

void treadthread::LogError(const twebcam& webcam, const std::string& prefix, const std::string& text) {
    terrorlog* log = FSettings->errorLog;
    if (!log || !log->FEnabled) return;
    const std::vector<std::string> FErrorText = RequestErrorEntry(webcam.Name(), prefix, text, FHTTP->URL(), FNewHeader);
    Synchronize([log, &FErrorText] { log->Add(FErrorText); });
}

void treadthread::DoHeader(const std::string& Field, const std::string& Value) {
    if (FTurnWebcam && Halted(*FTurnWebcam)) AbortAction();
    FWatch.lastData = std::chrono::steady_clock::now();  // the engine caps the head, so this ends
    FNewHeader.push_back(Field + " " + Value);
    if (Upper(Field) == "CONTENT-LENGTH") {
        std::size_t length = 0;
        const auto [end, ec] = std::from_chars(Value.data(), Value.data() + Value.size(), length);
        if (ec == std::errc() && end == Value.data() + Value.size()) FContentLength = length;
    }
}

void treadthread::DoTransfer(const std::string& Text) {
    if (FTurnWebcam && Halted(*FTurnWebcam)) AbortAction();
    FWatch.lastData = std::chrono::steady_clock::now();
    if (FBuffer.size() + Text.size() > FSettings->maxPictureBytes) {
        FTooLarge = true;
        AbortAction();
        return;
    }
    // Past the size kept between turns the buffer is mapped on its own, pages untouched until
    // written: room for the largest picture at once costs only what comes, where doubling
    // would copy the body again and fault in twice its size.
    if (FBuffer.size() + Text.size() > FBuffer.capacity() && FBuffer.capacity() >= kKeptBufferBytes)
        FBuffer.reserve(FSettings->maxPictureBytes);
    FBuffer += Text;
}

std::string treadthread::RunAction(int action) {
    return PerformWatchedAction(*FHTTP, static_cast<inet::TtvxhttpActions>(action), FWatch,
                                [this] { return Terminated() || (FTurnWebcam && Halted(*FTurnWebcam)); });
}

void treadthread::AbortAction() { engine::AbortAction(FHTTP.get()); }

void treadthread::ThreadTerminated() {
    if (Terminated()) return;
    // Replaced by a later call, after this handler returned: never from inside it.
    FManager.FetchThreadEnded(FIndex);
}

}  // namespace engine
