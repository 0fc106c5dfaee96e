#include "ui/main/fetch_services.h"

#include <chrono>

#include "engine/jpeg_picture.h"

namespace ui {
namespace {

using namespace std::chrono_literals;

// Waits until the manager ends it; never takes a webcam.
class tplaceholderfetchworker : public engine::tfetchworker {
public:
    using engine::tfetchworker::tfetchworker;
    void InterruptRequest(const engine::twebcam&) override {}

protected:
    void Execute() override {
        while (Doze(1h)) {
        }
    }
    void Turn(engine::twebcam&) override {}
};

class tplaceholderstreamworker : public engine::tstreamworker {
public:
    void InterruptRequest() override { WakeUp(); }

protected:
    void Execute() override {
        while (Doze(1h)) {
        }
    }
};

}  // namespace

engine::WebcamManagerServices MainManagerServices() {
    engine::WebcamManagerServices services;
    services.fetchWorkers = [](engine::twebcammanager& manager, int index) -> std::unique_ptr<engine::tfetchworker> {
        return std::make_unique<tplaceholderfetchworker>(manager, index);
    };
    services.streamWorkers = [](engine::twebcam&, engine::twebcammanager&) -> std::unique_ptr<engine::tstreamworker> {
        return std::make_unique<tplaceholderstreamworker>();
    };
    services.decodePicture = engine::MakeJpegPicture;
    return services;
}

}  // namespace ui
