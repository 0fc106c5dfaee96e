#pragma once
// Aborts the test program with a message when a test that could deadlock does not end in time,
// so a deadlock shows as a failure instead of a hang.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace testsupport {

class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(lock_);
              if (!doneSignal_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "test did not end within %lld s: deadlock\n",
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(lock_);
            done_ = true;
        }
        doneSignal_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex lock_;
    std::condition_variable doneSignal_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace testsupport
