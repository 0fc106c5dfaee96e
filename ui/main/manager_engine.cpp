// The program's MainEngine over twebcammanager.
#include "engine/fetch_thread_services.h"
#include "engine/webcam_manager.h"
#include "ui/main/main_engine.h"

namespace ui {
namespace {

class ManagerEngine : public MainEngine {
public:
    ManagerEngine(const MainEngineSettings& s, engine::WebcamManagerServices services)
        : manager_(s.dataFolder, s.threadCount, s.extra1, s.config, std::move(services)) {}

    int Count() const override { return manager_.Count(); }
    int RunningCount() const override { return manager_.RunningCount(); }
    int ThreadCount() const override { return static_cast<int>(manager_.FThreads.size()); }
    void StopAll() override { manager_.StopAll(); }
    void LoadWebcams() override { manager_.LoadWebcams(); }
    engine::twebcammanager* Manager() override { return &manager_; }

private:
    engine::twebcammanager manager_;
};

}  // namespace

std::unique_ptr<MainEngine> CreateManagerEngine(const MainEngineSettings& settings) {
    return std::make_unique<ManagerEngine>(
        settings, engine::FetchThreadServices(settings.fetch, engine::StreamThreadFactory(settings.fetch)));
}

MainEngineFactory ManagerEngineFactory(ManagerServicesMaker services) {
    return [services = std::move(services)](const MainEngineSettings& settings) -> std::unique_ptr<MainEngine> {
        return std::make_unique<ManagerEngine>(settings, services(settings));
    };
}

}  // namespace ui
