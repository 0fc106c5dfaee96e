#include "engine/fetch_queue.h"

#include "engine/webcam.h"

#include <algorithm>

namespace engine {
namespace {

void Remove(std::deque<twebcam*>& queue, twebcam* webcam) {
    queue.erase(std::remove(queue.begin(), queue.end(), webcam), queue.end());
}

twebcam* PopFront(std::deque<twebcam*>& queue) {
    twebcam* head = queue.front();
    queue.pop_front();
    return head;
}

}  // namespace

void twebcamqueues::SetWakeUps(std::function<void()> onQueued, std::function<void()> onNewHead) {
    std::scoped_lock lock(FWaitLock, FQueueLock);
    FOnQueued = std::move(onQueued);
    FOnNewHead = std::move(onNewHead);
}

bool twebcamqueues::QueueLocked(twebcam& webcam) {
    if (!webcam.FRunning || webcam.FStopping) return false;
    (webcam.Favourite() ? FFavouriteQueue : FNormalQueue).push_back(&webcam);
    if (FOnQueued) FOnQueued();
    return true;
}

bool twebcamqueues::Queue(twebcam& webcam) {
    std::lock_guard lock(FQueueLock);
    return QueueLocked(webcam);
}

void twebcamqueues::Unqueue(twebcam& webcam) {
    std::lock_guard lock(FQueueLock);
    Remove(FNormalQueue, &webcam);
    Remove(FFavouriteQueue, &webcam);
}

void twebcamqueues::AddToWaitList(twebcam& webcam) { AddToWaitList(webcam, webcam.FDueTime); }

void twebcamqueues::AddToWaitList(twebcam& webcam, platform::TDateTime until) {
    std::lock_guard lock(FWaitLock);
    // A wake-up of a scheduler that is about to sleep is kept for that sleep: none is lost.
    if (InsertLocked(until, webcam) && FOnNewHead) FOnNewHead();
}

bool twebcamqueues::InsertLocked(platform::TDateTime at, twebcam& webcam) {
    const auto place = std::upper_bound(FWaitList.begin(), FWaitList.end(), at,
                                        [](platform::TDateTime d, const auto& entry) { return d < entry.first; });
    const bool newHead = place == FWaitList.begin();
    FWaitList.insert(place, {at, &webcam});
    return newHead;
}

void twebcamqueues::RemoveFromWaitList(twebcam& webcam) {
    std::lock_guard lock(FWaitLock);
    std::erase_if(FWaitList, [&](const auto& entry) { return entry.second == &webcam; });
}

twebcam* twebcamqueues::TakeNext(bool normalFirst, std::atomic<twebcam*>* holder, std::atomic<bool>* idle) {
    std::lock_guard lock(FQueueLock);
    std::deque<twebcam*>& first = normalFirst ? FNormalQueue : FFavouriteQueue;
    std::deque<twebcam*>& second = normalFirst ? FFavouriteQueue : FNormalQueue;
    twebcam* webcam = !first.empty() ? PopFront(first) : !second.empty() ? PopFront(second) : nullptr;
    if (idle) *idle = webcam == nullptr;
    if (webcam) {
        webcam->FBusy = true;
        if (holder) holder->store(webcam);
    }
    return webcam;
}

twebcamqueues::Step twebcamqueues::MoveDueHead(platform::TDateTime now, twebcam*& moved,
                                               const std::function<void(twebcam&)>& whileQueued) {
    std::lock_guard waitLock(FWaitLock);
    if (FWaitList.empty() || !(now > FWaitList.front().first)) return Step::NotDue;
    twebcam* head = FWaitList.front().second;
    FWaitList.erase(FWaitList.begin());
    if (!head->FRunning || head->FStopping) return Step::Dropped;
    moved = head;
    if (!(now > head->FDueTime)) {
        head->FStatus = kStatusWaiting;
        InsertLocked(head->FDueTime, *head);
        if (whileQueued) whileQueued(*head);
        return Step::Waiting;
    }
    std::lock_guard queueLock(FQueueLock);
    head->FStatus = kStatusQueued;  // before any fetch thread can take it and set its own
    QueueLocked(*head);
    if (whileQueued) whileQueued(*head);
    return Step::Moved;
}

std::optional<std::chrono::milliseconds> twebcamqueues::TimeToNextDue(platform::TDateTime now,
                                                                      std::chrono::milliseconds longest) const {
    std::lock_guard lock(FWaitLock);
    if (FWaitList.empty()) return std::nullopt;
    // Rounded up and one more: the head is taken once now is strictly later than its due time.
    const double ms = (FWaitList.front().first - now) * platform::kSecondsPerDay * 1000.0;
    if (ms < 0) return std::chrono::milliseconds(0);
    if (ms >= static_cast<double>(longest.count())) return longest;
    return std::chrono::milliseconds(static_cast<long long>(ms) + 1);
}

void twebcamqueues::Clear() {
    {
        std::lock_guard lock(FWaitLock);
        FWaitList.clear();
    }
    std::lock_guard lock(FQueueLock);
    FNormalQueue.clear();
    FFavouriteQueue.clear();
}

int twebcamqueues::QueuedCount() const {
    std::lock_guard lock(FQueueLock);
    return static_cast<int>(FNormalQueue.size() + FFavouriteQueue.size());
}

int twebcamqueues::WaitingCount() const {
    std::lock_guard lock(FWaitLock);
    return static_cast<int>(FWaitList.size());
}

std::vector<twebcam*> twebcamqueues::NormalQueue() const {
    std::lock_guard lock(FQueueLock);
    return {FNormalQueue.begin(), FNormalQueue.end()};
}

std::vector<twebcam*> twebcamqueues::FavouriteQueue() const {
    std::lock_guard lock(FQueueLock);
    return {FFavouriteQueue.begin(), FFavouriteQueue.end()};
}

std::vector<twebcam*> twebcamqueues::WaitList() const {
    std::lock_guard lock(FWaitLock);
    std::vector<twebcam*> list;
    for (const auto& entry : FWaitList) list.push_back(entry.second);
    return list;
}

}  // namespace engine
