#pragma once
// A fetch thread for tests of the main window's side of the manager: it never takes a webcam,
// so started webcams stay queued and count as running, and the tests set the webcams' flags and
// times themselves.

#include <chrono>
#include <memory>

#include "engine/webcam_manager.h"
#include "engine/webcam_workers.h"

namespace testsupport {

class IdleFetchWorker : public engine::tfetchworker {
public:
    using engine::tfetchworker::tfetchworker;
    ~IdleFetchWorker() override {
        Terminate();
        WaitFor();
    }
    void InterruptRequest(const engine::twebcam&) override {}

protected:
    void Execute() override {
        while (Doze(std::chrono::seconds(1))) {
        }
    }
    void Turn(engine::twebcam&) override {}
};

inline engine::FetchWorkerFactory IdleFetchWorkers() {
    return [](engine::twebcammanager& manager, int index) { return std::make_unique<IdleFetchWorker>(manager, index); };
}

}  // namespace testsupport
