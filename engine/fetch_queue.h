#pragma once
// The two fetch queues (favourites and the others, first in first out) and the wait list
// (ascending due time) of the webcam manager, each touched only under its own lock. A webcam is
// in at most one of them, and never in one while a fetch thread holds it. When both locks are
// needed, FWaitLock is taken first; the scheduler's whileQueued (see MoveDueHead) may take the
// main dispatcher's lock under both, which is never held while these are taken.
//
// Wake-ups: a fetch thread that finds both queues empty raises its idle flag under the queue
// lock, and every webcam queued runs the OnQueued hook under the same lock, which wakes one idle
// thread. So a thread whose flag is up has seen the queues empty and looks again when woken:
// no queued webcam waits for a thread that sleeps on.

#include "platform/clock_datetime.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

class twebcam;

class twebcamqueues {
public:
    // onQueued runs under the queue lock after each webcam is queued; onNewHead under the wait
    // lock after a webcam became the head of the wait list. Neither may take these locks.
    void SetWakeUps(std::function<void()> onQueued, std::function<void()> onNewHead);

    // Appends a running webcam to its queue (by its Favourite flag); a webcam that is stopped
    // or stopping is refused. Returns whether it was queued.
    bool Queue(twebcam& webcam);
    void Unqueue(twebcam& webcam);

    // Inserts by due time, after the webcams due at the same time. With until, the end of the
    // pause after a failed turn, by that time instead: the webcam then waits on for its due
    // time if that is later (see MoveDueHead).
    void AddToWaitList(twebcam& webcam);
    void AddToWaitList(twebcam& webcam, platform::TDateTime until);
    void RemoveFromWaitList(twebcam& webcam);

    // Takes the head of the preferred queue, else of the other one. The webcam is marked busy
    // and stored in holder (the fetch thread's current webcam) before the lock is released.
    // idle, when given, is set when nothing was taken and cleared otherwise, under the lock.
    twebcam* TakeNext(bool normalFirst, std::atomic<twebcam*>* holder, std::atomic<bool>* idle = nullptr);

    // Runs fn while no webcam can be taken (under the queue lock): a holder that fn finds stays
    // the holder until fn returns. fn must not queue or take webcams.
    template <typename Fn>
    void WhileNoneIsTaken(Fn&& fn) {
        std::lock_guard lock(FQueueLock);
        fn();
    }

    enum class Step { NotDue, Dropped, Moved, Waiting };
    // One step of the scheduler: when the head of the wait list is due (now strictly later
    // than its time in the list), remove it; a running one gets status 1 and goes into its
    // queue in the same step, so that stopping it can never leave it queued. A stopped head is
    // dropped. A head whose pause ended before its own due time gets status 5 and waits on for
    // it (Waiting). whileQueued, when given, runs under the queue lock right after the webcam
    // was queued (or under the wait lock once it waits on), so it comes before anything a fetch
    // thread does with the webcam; it may not take these locks.
    Step MoveDueHead(platform::TDateTime now, twebcam*& moved,
                     const std::function<void(twebcam&)>& whileQueued = {});

    // How long until the head of the wait list is due (strictly passed), at most longest;
    // none when the list is empty.
    std::optional<std::chrono::milliseconds> TimeToNextDue(platform::TDateTime now,
                                                           std::chrono::milliseconds longest) const;

    void Clear();

    // Lengths, read on every status change: the webcams in both fetch queues, on the wait list.
    int QueuedCount() const;
    int WaitingCount() const;

    // Copies for inspection.
    std::vector<twebcam*> NormalQueue() const;
    std::vector<twebcam*> FavouriteQueue() const;
    std::vector<twebcam*> WaitList() const;

private:
    bool QueueLocked(twebcam& webcam);  // caller holds FQueueLock
    bool InsertLocked(platform::TDateTime at, twebcam& webcam);  // caller holds FWaitLock; true: the new head

    mutable std::mutex FQueueLock;  // guards the two fetch queues
    std::deque<twebcam*> FNormalQueue;
    std::deque<twebcam*> FFavouriteQueue;

    mutable std::mutex FWaitLock;   // guards the wait list
    std::vector<std::pair<platform::TDateTime, twebcam*>> FWaitList;

    std::function<void()> FOnQueued;
    std::function<void()> FOnNewHead;
};

}  // namespace engine
