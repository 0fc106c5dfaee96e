#include "engine/webcam.h"

#include "engine/definition_files.h"
#include "engine/http_date.h"
#include "engine/picture_folder.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"
#include "engine/webcam_workers.h"
#include "platform/clock.h"
#include "platform/dispatch.h"
#include "platform/safe_name.h"

#include <chrono>

namespace engine {
namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

twebcam::twebcam(twebcammanager& manager, TWebcamStatusEvent onStatus, TWebcamPictureEvent onStreamPicture,
                 TWebcamPictureEvent onPicture, const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
                 const std::string& dataDir)
    : twebcam(manager, std::move(onStatus), std::move(onStreamPicture), std::move(onPicture), rec2, rec, recordNo,
              dataDir, true) {}

twebcam::twebcam(twebcammanager& manager, TWebcamStatusEvent onStatus, TWebcamPictureEvent onStreamPicture,
                 TWebcamPictureEvent onPicture, const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
                 const std::string& dataDir, bool readHeader)
    : FManager(manager),
      FRunning(manager.FRunningCount),
      FFolder(WithSlash(dataDir)),
      FRecordNo(recordNo),
      FDisplayCell(recordNo),
      FCellWebcam(recordNo),
      FOnPicture(std::move(onPicture)),
      FOnStreamPicture(std::move(onStreamPicture)),
      FOnStatus(std::move(onStatus)),
      FRec(rec),
      FRec2(rec2) {
    EnsureFolder(FFolder, Name());
    if (readHeader && !Folder().empty())
        ReadHeaderDates(ReadTextLines(Folder() + "header.txt"));  // missing or broken: dates stay 0
}

std::unique_ptr<twebcam> twebcam::CreateNew(twebcammanager& manager, TWebcamStatusEvent onStatus,
                                            TWebcamPictureEvent onStreamPicture, TWebcamPictureEvent onPicture,
                                            const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
                                            const std::string& dataDir) {
    auto webcam = std::unique_ptr<twebcam>(new twebcam(manager, std::move(onStatus), std::move(onStreamPicture),
                                                       std::move(onPicture), rec2, rec, recordNo, dataDir, false));
    webcam->WriteRecord();
    webcam->WriteRecord2();
    return webcam;
}

twebcam::~twebcam() { Stop(); }

TWebcamDefRec twebcam::Rec() const {
    std::lock_guard lock(FRecLock);
    return FRec;
}

TWebcamDef1Rec twebcam::Rec2() const {
    std::lock_guard lock(FRecLock);
    return FRec2;
}

std::string twebcam::Name() const {
    std::lock_guard lock(FRecLock);
    return FRec.Name.str();
}

bool twebcam::Favourite() const {
    std::lock_guard lock(FRecLock);
    return FRec2.Favourite != 0;
}

bool twebcam::Enabled() const {
    std::lock_guard lock(FRecLock);
    return FRec.Enabled != 0;
}

std::uint8_t twebcam::GetWebcamType() const {
    std::lock_guard lock(FRecLock);
    return FRec.WebcamType;
}

std::string twebcam::Folder() const { return platform::SafeSubfolder(FFolder, Name()); }

void twebcam::SetRecord(const TWebcamDefRec& rec) {
    const TWebcamDefRec old = Rec();
    if (rec.Name.view() != old.Name.view())
        RenameWebcamFolder(FFolder, old.Name.str(), rec.Name.str());  // failure is not reported
    {
        std::lock_guard lock(FRecLock);
        FRec = rec;
    }
    if (rec.PictureURL.view() != old.PictureURL.view())
        FManager.PictureUrlChanged(FRecordNo, old.PictureURL.view(), rec.PictureURL.view());
    WriteRecord();
}

void twebcam::SetRecord2(const TWebcamDef1Rec& rec2) {
    {
        std::lock_guard lock(FRecLock);
        FRec2 = rec2;
    }
    WriteRecord2();
}

void twebcam::WriteRecord() { WriteDefRecord(FFolder, FRecordNo, Rec()); }
void twebcam::WriteRecord2() { WriteDef1Record(FFolder, FRecordNo, Rec2()); }

void twebcam::SetEnabled(bool enabled) {
    if ((Rec().Enabled != 0) == enabled) return;
    if (!enabled) Stop();
    {
        std::lock_guard lock(FRecLock);
        FRec.Enabled = enabled ? 1 : 0;
    }
    WriteRecord();
}

void twebcam::SetFavourite(bool favourite) {
    if (Favourite() == favourite) return;
    {
        std::lock_guard lock(FRecLock);
        FRec2.Favourite = favourite ? 1 : 0;
    }
    WriteRecord2();
}

void twebcam::Report(std::uint8_t status) const {
    if (FOnStatus) FOnStatus(FRecordNo, status);
}

void twebcam::Start() {
    if (Rec().Enabled == 0 || FRunning) return;
    FStopping = false;
    FRunning = true;
    if (GetWebcamType() == kWebcamTypeStream) {
        Report(kStatusPicture);
        FStreamThread = FManager.CreateStreamThread(*this);
        FStreamThread->Resume();
        return;
    }
    EnsureFolder(FFolder, Name());
    if (FResting) {
        FDueTime = platform::MonotonicNow() + platform::DaysFromMinutes(FManager.FSettings.SlowScanRefresh);
        WaitForDueTime();
    } else {
        QueueNow();
    }
}

void twebcam::WaitForDueTime() {
    Report(kStatusWaiting);
    FManager.AddToWaitList(*this);
}

void twebcam::PauseUntil(platform::TDateTime until) { FManager.AddToWaitList(*this, until); }

void twebcam::QueueNow() {
    // Reported before queueing, so a fetch thread's own status can never be overwritten.
    Report(kStatusQueued);
    FManager.QueueWebcam(*this);
}

void twebcam::LeaveLists() {
    // The wait list first: a webcam the scheduler is moving into a queue is then in the queue.
    FManager.RemoveFromWaitList(*this);
    FManager.Unqueue(*this);
}

void twebcam::Pause() {
    if (!FRunning || FStreamThread) return;
    FStopping = true;
    LeaveLists();
}

void twebcam::Stop() {
    if (!FRunning) return;
    FStopping = true;
    FRunning = false;
    if (FStreamThread) {
        FStreamThread->InterruptRequest();
        FStreamThread->Terminate();
        // Stopped from inside one of the stream thread's own calls: it cannot end before that
        // call returns, so the manager waits for it later.
        if (platform::Dispatcher::Main().IsServing(FStreamThread->ThreadId())) {
            FManager.RetireStreamThread(std::move(FStreamThread));
        } else {
            FStreamThread->WaitFor();
            FStreamThread.reset();
        }
    } else {
        LeaveLists();
        if (FBusy) {
            FManager.AbortFetch(*this);
            // The fetch thread ends its turn through calls on this thread: keep running them.
            // A holder that is itself waiting for a call running now lets go once that call
            // returns; waiting for it here would never end.
            platform::Dispatcher::Main().WaitUntil(
                [this] { return !FBusy || FManager.HolderIsWaitingForMain(*this); }, std::chrono::milliseconds(10));
        }
    }
    Report(kStatusStopped);
}

void twebcam::ScheduleNext() {
    const platform::TDateTime pausedUntil = FPausedUntil.exchange(0);
    if (!FRunning || FStreamThread) return;
    if (FStopping) {
        Report(kStatusStopped);
        return;
    }
    FResting = false;
    const twebcamscansettings& settings = FManager.FSettings;
    const platform::TDateTime now = platform::MonotonicNow();
    if (!Favourite() && settings.SlowScanOn) {
        platform::TDateTime idle = FLastNewPicture != 0 ? platform::Now() - FLastNewPicture : 0;
        if (FLastModified != 0 && FServerDate != 0) idle += FServerDate - FLastModified;
        if (idle > platform::DaysFromMinutes(settings.SlowScanIdle)) {
            FDueTime = now + platform::DaysFromMinutes(settings.SlowScanRefresh);
            FResting = true;
        }
    }
    if (pausedUntil > now) PauseUntil(pausedUntil);
    else if (now <= FDueTime) WaitForDueTime();
    else QueueNow();
}

void twebcam::SetTurnDueTime() {
    const TWebcamDefRec rec = Rec();
    const twebcamscansettings& settings = FManager.FSettings;
    int seconds = rec.Refresh;
    if (Favourite() && settings.FavRefreshOn && seconds > settings.FavRefresh) seconds = settings.FavRefresh;
    FDueTime = platform::MonotonicNow() + platform::DaysFromSeconds(seconds);
}

void twebcam::ReadHeaderDates(const std::vector<std::string>& lines) {
    const HeaderDates dates = engine::ReadHeaderDates(lines);
    FServerDate = dates.serverDate;
    FLastModified = dates.lastModified;
}

bool twebcam::GetLatestImage(std::unique_ptr<twebcampicture>& picture, std::string& fileName) {
    fileName.clear();
    if (FPicture) {
        picture = FManager.DecodePicture(*FPicture);
        return true;
    }
    const std::string folder = Folder();
    const std::string latest = folder.empty() ? std::string() : FNewestSaved.NewestPath(folder);
    if (latest.empty()) return false;
    std::string bytes;
    if (!ReadPictureFile(latest, bytes)) return false;
    fileName = latest;
    picture = FManager.DecodePicture(std::move(bytes));
    return true;
}

}  // namespace engine
