// The program's MainEngine over twebcammanager.
#include "engine/fetch_thread_services.h"
#include "engine/webcam_list_view.h"
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
    void LoadWebcams(const std::function<void(int, int)>& progress) override;
    engine::twebcammanager* Manager() override { return &manager_; }

private:
    engine::twebcammanager manager_;
};

// Forwards the manager's load progress to the form's progress callback.
class ProgressListView : public engine::twebcamlistview {
public:
    explicit ProgressListView(const std::function<void(int, int)>& progress) : progress_(progress) {}
    void LoadStarted() override {}
    void LoadProgress(int position, int count) override {
        if (progress_) progress_(position, count);
    }
    void LoadFinished() override {}
    void RedrawWebcamCell(int) override {}

private:
    const std::function<void(int, int)>& progress_;
};

void ManagerEngine::LoadWebcams(const std::function<void(int, int)>& progress) {
    ProgressListView view(progress);
    manager_.SetListView(&view);
    manager_.LoadWebcams();
    manager_.SetListView(nullptr);
}

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
