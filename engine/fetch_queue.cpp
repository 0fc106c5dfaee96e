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

bool twebcamqueues::QueueLocked(twebcam& webcam) {
    if (!webcam.FRunning || webcam.FStopping) return false;
    (webcam.Favourite() ? FFavouriteQueue : FNormalQueue).push_back(&webcam);
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

void twebcamqueues::AddToWaitList(twebcam& webcam) {
    const platform::TDateTime due = webcam.FDueTime;
    std::lock_guard lock(FWaitLock);
    const auto at = std::upper_bound(FWaitList.begin(), FWaitList.end(), due,
                                     [](platform::TDateTime d, const auto& entry) { return d < entry.first; });
    FWaitList.insert(at, {due, &webcam});
}

void twebcamqueues::RemoveFromWaitList(twebcam& webcam) {
    std::lock_guard lock(FWaitLock);
    std::erase_if(FWaitList, [&](const auto& entry) { return entry.second == &webcam; });
}

twebcam* twebcamqueues::TakeNext(bool normalFirst, std::atomic<twebcam*>* holder) {
    std::lock_guard lock(FQueueLock);
    std::deque<twebcam*>& first = normalFirst ? FNormalQueue : FFavouriteQueue;
    std::deque<twebcam*>& second = normalFirst ? FFavouriteQueue : FNormalQueue;
    twebcam* webcam = !first.empty() ? PopFront(first) : !second.empty() ? PopFront(second) : nullptr;
    if (webcam) {
        webcam->FBusy = true;
        if (holder) holder->store(webcam);
    }
    return webcam;
}

twebcamqueues::Step twebcamqueues::MoveDueHead(platform::TDateTime now, twebcam*& moved) {
    std::lock_guard waitLock(FWaitLock);
    if (FWaitList.empty() || !(now > FWaitList.front().first)) return Step::NotDue;
    twebcam* head = FWaitList.front().second;
    FWaitList.erase(FWaitList.begin());
    if (!head->FRunning || head->FStopping) return Step::Dropped;
    std::lock_guard queueLock(FQueueLock);
    head->FStatus = kStatusQueued;  // before any fetch thread can take it and set its own
    QueueLocked(*head);
    moved = head;
    return Step::Moved;
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
