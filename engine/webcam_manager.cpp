#include "engine/webcam_manager.h"

#include "engine/categories.h"
#include "engine/messages.h"
#include "engine/timer_thread.h"
#include "engine/webcam.h"
#include "platform/dispatch.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

namespace engine {
namespace {

constexpr std::chrono::milliseconds kResumeStagger(10);

}  // namespace

twebcammanager::twebcammanager(const std::string& DataFolder, int ThreadCount, const TExtra1Rec& extra1,
                               const TConfigRec& config, WebcamManagerServices services)
    : FThreadCount(std::clamp(ThreadCount, 4, 64)),
      FNormalFirst(std::max(2, FThreadCount / 10)),
      FDataFolder(DataFolder),
      FProxyEnabled(config.UseProxy != 0 && !config.ProxyHost.empty()),
      FProxyHost(config.ProxyHost.str()),
      FProxyPort(config.ProxyPort),
      FProxyUser(extra1.ProxyUser.str()),
      FProxyPassword(extra1.ProxyPassword.str()),
      FServices(std::move(services)) {
    if (!FServices.fetchWorkers || !FServices.decodePicture)
        throw std::invalid_argument("twebcammanager needs a fetch worker factory and a picture decoder");
    if (FDataFolder.empty() || FDataFolder.back() != '/') FDataFolder += '/';
    FSettings.Assign(config, extra1);
    CategoryManager = std::make_unique<tcategorymanager>();
    FTimerThread = MakeScheduler();
    for (int i = 1; i <= FThreadCount; ++i) FThreads.push_back(FServices.fetchWorkers(*this, i));
    ConnectScheduler();
}

twebcammanager::~twebcammanager() {
    *FAlive = false;
    StopAll();
    FTimerThread->Terminate();
    FTimerThread->WaitFor();
    FQueues.SetWakeUps([this] { WakeIdleThread(); }, nullptr);
    FTimerThread.reset();
    for (auto& thread : FThreads) {
        thread->Terminate();
        if (thread->FIdle) thread->WakeFromIdle();
    }
    for (auto& thread : FThreads) thread->WaitFor();
    FThreads.clear();
    for (auto& stream : FRetiredStreams) stream->WaitFor();
    FRetiredStreams.clear();
    FRetiredWebcams.clear();  // no thread is left to hold one
    for (int i = 0; i < FList.Count(); ++i) FreeWebcam(i);
    FList.Clear();
    FThumbnails.clear();
    CategoryManager.reset();
}

template <typename Fn>
void twebcammanager::ForEachWebcam(Fn fn) const {
    for (int i = 0; i < FList.Count(); ++i)
        if (twebcam* webcam = FList.Get(i)) fn(*webcam);
}

void twebcammanager::CountThreadStates(int& inHeader, int& inPicture) const {
    inHeader = inPicture = 0;
    for (const auto& thread : FThreads) {
        const int state = thread->FState;
        inHeader += state == 1;
        inPicture += state == 2;
    }
}

twebcam* twebcammanager::Checked(int i) const {
    if (i < 1 || i > Count()) throw std::out_of_range(LoadMessage(kMsgOutOfRange));
    return FList.Get(i - 1);
}

void twebcammanager::StartWebcam(int i) {
    if (!FThreadsStarted) ResumeThreads();
    if (twebcam* webcam = Checked(i)) webcam->Start();
}

void twebcammanager::StopWebcam(int i) {
    if (twebcam* webcam = Checked(i)) webcam->Stop();
}

void twebcammanager::PauseWebcam(int i) {
    if (twebcam* webcam = Checked(i)) webcam->Pause();
}

void twebcammanager::StartAll() {
    for (int i = 1; i <= Count(); ++i) StartWebcam(i);
}

void twebcammanager::StartSelected() {
    for (int i = 1; i <= Count(); ++i)
        if (const twebcam* w = FList.Get(i - 1); w && w->FSelected) StartWebcam(i);
}

void twebcammanager::StartFavourites() {
    for (int i = 1; i <= Count(); ++i)
        if (const twebcam* w = FList.Get(i - 1); w && w->Favourite()) StartWebcam(i);
}

void twebcammanager::StopSelected() {
    ForEachWebcam([](twebcam& w) {
        if (w.FSelected) w.Pause();
    });
    ForEachWebcam([](twebcam& w) {
        if (w.FSelected) w.Stop();
    });
}

void twebcammanager::StopAll() {
    ForEachWebcam([](twebcam& w) { w.Pause(); });
    platform::ProcessMessages();
    ForEachWebcam([](twebcam& w) { w.Stop(); });
    SweepRetired();
}

void twebcammanager::ResumeThreads() {
    if (FThreadsStarted) return;
    FThreadsStarted = true;
    FTimerThread->Resume();
    platform::SleepPumping(kResumeStagger);
    for (auto& thread : FThreads) {
        thread->Resume();
        platform::SleepPumping(kResumeStagger);
    }
}

void twebcammanager::QueueWebcam(twebcam& webcam) { FQueues.Queue(webcam); }

bool twebcammanager::GetNextWebcam(int ThreadIndex, twebcam*& webcam, std::atomic<bool>* idle) {
    std::atomic<twebcam*>* holder =
        ThreadIndex >= 1 && ThreadIndex <= FThreadCount ? &FThreads[ThreadIndex - 1]->FWebcam : nullptr;
    webcam = FQueues.TakeNext(ThreadIndex <= FNormalFirst, holder, idle);
    return webcam != nullptr;
}

void twebcammanager::WakeIdleThread() {
    std::lock_guard lock(FThreadsLock);
    for (auto& thread : FThreads) {
        if (thread->FIdle.exchange(false)) {
            thread->WakeFromIdle();
            return;
        }
    }
}

void twebcammanager::FetchThreadEnded(int Index) {
    platform::Dispatcher::Main().Post([this, alive = FAlive, Index] {
        if (*alive) ReplaceFetchThread(Index);
    });
}

void twebcammanager::ReplaceFetchThread(int Index) {
    if (Index < 1 || Index > FThreadCount) return;
    std::unique_ptr<tfetchworker>& slot = FThreads[static_cast<std::size_t>(Index - 1)];
    if (!slot->Finished() || slot->Terminated()) return;
    std::unique_ptr<tfetchworker> fresh;
    try {
        fresh = FServices.fetchWorkers(*this, Index);
    } catch (...) {
        return;  // the ended thread keeps the slot; it holds no webcam
    }
    std::unique_ptr<tfetchworker> ended;
    {
        std::lock_guard lock(FThreadsLock);
        ended = std::exchange(slot, std::move(fresh));
    }
    ended->WaitFor();
    if (FThreadsStarted) {
        slot->Resume();
        platform::SleepPumping(kResumeStagger);
    }
}

std::unique_ptr<ttimerthread> twebcammanager::MakeScheduler() {
    std::unique_ptr<ttimerthread> scheduler =
        FServices.scheduler ? FServices.scheduler(*this) : std::make_unique<ttimerthread>(*this);
    scheduler->OnTerminate = [this, self = scheduler.get()] {
        if (!self->Terminated()) SchedulerEnded();
    };
    return scheduler;
}

void twebcammanager::ConnectScheduler() {
    FQueues.SetWakeUps([this] { WakeIdleThread(); }, [timer = FTimerThread.get()] { timer->WakeUp(); });
}

void twebcammanager::SchedulerEnded() {
    platform::Dispatcher::Main().Post([this, alive = FAlive] {
        if (*alive) ReplaceScheduler();
    });
}

void twebcammanager::ReplaceScheduler() {
    if (!FTimerThread->Finished() || FTimerThread->Terminated()) return;
    std::unique_ptr<ttimerthread> fresh;
    try {
        fresh = MakeScheduler();
    } catch (...) {
        return;  // for want of memory only; the ended one keeps its place
    }
    const std::unique_ptr<ttimerthread> ended = std::exchange(FTimerThread, std::move(fresh));
    ConnectScheduler();  // under the queues' locks: no wake-up reaches the ended one after this
    ended->WaitFor();
    if (FThreadsStarted) FTimerThread->Resume();
}

void twebcammanager::AbortFetch(twebcam& webcam) {
    webcam.FStopping = true;
    // The holder is checked and interrupted while no thread can take its next webcam, so the
    // interrupt never lands on the request of the webcam a thread takes after letting go.
    FQueues.WhileNoneIsTaken([&] {
        for (auto& thread : FThreads)
            if (thread->FWebcam == &webcam) thread->InterruptRequest(webcam);
    });
}

bool twebcammanager::HolderIsWaitingForMain(const twebcam& webcam) const {
    for (const auto& thread : FThreads)
        if (thread->FWebcam == &webcam && platform::Dispatcher::Main().IsServing(thread->ThreadId())) return true;
    return false;
}

void twebcammanager::ClearDisplaySlots() {
    ForEachWebcam([](twebcam& w) { w.FDisplayCell = w.FCellWebcam = -1; });
    FDisplayedCount = 0;
}

void twebcammanager::SetDisplaySlot(int i, int Cell) {
    // After a delete the freed webcams' slots stay empty until the reload; a filter that runs
    // meanwhile must pass over them.
    if (twebcam* webcam = Checked(i)) {
        FDisplayedCount += (Cell >= 0) - (webcam->FDisplayCell >= 0);
        webcam->FDisplayCell = Cell;
    }
    if (Cell < 0 || Cell >= Count()) return;
    if (twebcam* holder = FList.Get(Cell)) holder->FCellWebcam = i - 1;
}

int twebcammanager::GetCellWebcam(int Cell) const {
    if (Cell < 0 || Cell >= Count()) return -1;
    const twebcam* webcam = FList.Get(Cell);
    return webcam ? webcam->FCellWebcam + 1 : 0;
}

void twebcammanager::StatusChanged(int Index, int Status) {
    twebcam* webcam = FList.Get(Index);
    if (!webcam) return;
    webcam->FStatus = static_cast<std::uint8_t>(Status);
    if (OnStatusChange) OnStatusChange(Index, Status);
}

twebcam& twebcammanager::AppendWebcam(const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2, bool isNew) {
    const int position = Count();
    auto onStatus = [this](int index, int status) { StatusChanged(index, status); };
    auto onStream = [this](int index, const std::string& file, const std::string* stream, std::uint8_t kind,
                           twebcampicture* picture,
                           int score) { StreamPictureArrived(index, file, stream, kind, picture, score); };
    auto onPicture = [this](int index, const std::string& file, const std::string* stream, std::uint8_t kind,
                            twebcampicture* picture,
                            int score) { PictureArrived(index, file, stream, kind, picture, score); };
    std::unique_ptr<twebcam> webcam =
        isNew ? twebcam::CreateNew(*this, onStatus, onStream, onPicture, rec2, rec, position, FDataFolder)
              : std::make_unique<twebcam>(*this, onStatus, onStream, onPicture, rec2, rec, position, FDataFolder);
    FThumbnails.emplace_back();
    FUrlIndex.Add(rec.PictureURL.view(), position);
    FDisplayedCount += webcam->FDisplayCell >= 0;  // shown in its own position's cell until a filter runs
    FList.Add(webcam.get());
    return *webcam.release();
}

void twebcammanager::PictureUrlChanged(int position, std::string_view oldUrl, std::string_view newUrl) {
    FUrlIndex.Remove(oldUrl, position);
    FUrlIndex.Add(newUrl, position);
}

void twebcammanager::FreeWebcam(int position) {
    twebcam* webcam = FList.Get(position);
    if (!webcam) return;
    webcam->Stop();
    FUrlIndex.Remove(webcam->Rec().PictureURL.view(), position);
    FDisplayedCount -= webcam->FDisplayCell >= 0;
    ++FWebcamGeneration;
    FList.Put(position, nullptr);
    FThumbnails.at(static_cast<std::size_t>(position)).reset();
    FRetiredWebcams.emplace_back(webcam);
    SweepRetired();
}

void twebcammanager::RetireStreamThread(std::unique_ptr<tstreamworker> thread) {
    FRetiredStreams.push_back(std::move(thread));
}

void twebcammanager::SweepRetired() {
    std::erase_if(FRetiredWebcams, [](const auto& webcam) { return !webcam->FBusy; });
    std::erase_if(FRetiredStreams, [](const auto& stream) { return stream->Finished(); });
}

std::unique_ptr<tstreamworker> twebcammanager::CreateStreamThread(twebcam& webcam) {
    if (!FServices.streamWorkers) throw std::logic_error("no stream worker for streaming webcams");
    return FServices.streamWorkers(webcam, *this);
}

std::unique_ptr<twebcampicture> twebcammanager::DecodePicture(std::string bytes) const {
    return FServices.decodePicture(std::move(bytes));
}

}  // namespace engine
