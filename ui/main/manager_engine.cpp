// The program's MainEngine over twebcammanager, and the loading of the webcam definitions.
#include <cstdio>

#include "engine/definition_files.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"
#include "ui/main/fetch_services.h"
#include "ui/main/main_engine.h"

namespace ui {
namespace {

class ManagerEngine : public MainEngine {
public:
    explicit ManagerEngine(const MainEngineSettings& s)
        : manager_(s.dataFolder, s.threadCount, s.extra1, s.config, MainManagerServices()) {}

    int Count() const override { return manager_.Count(); }
    int RunningCount() const override { return manager_.RunningCount(); }
    int ThreadCount() const override { return static_cast<int>(manager_.FThreads.size()); }
    void StartAll() override { manager_.StartAll(); }
    void StopAll() override { manager_.StopAll(); }
    void LoadWebcams(const std::function<void(int, int)>& progress) override;
    engine::twebcammanager* Manager() override { return &manager_; }

private:
    void LoadOne(const engine::WebcamDefinition& definition);
    engine::twebcammanager manager_;
};

// Each record pair becomes a stopped webcam with the thumbnail of its newest saved picture. A
// webcam without pictures loses its stale header file, so its first fetch is a full one.
void ManagerEngine::LoadOne(const engine::WebcamDefinition& definition) {
    engine::twebcam& webcam = manager_.AppendWebcam(definition.rec1, definition.rec2, false);
    const std::string folder = webcam.Folder();
    const std::string newest = folder.empty() ? std::string() : engine::LatestJpegInFolder(folder);
    if (newest.empty()) {
        if (!folder.empty()) std::remove((folder + "header.txt").c_str());
        return;
    }
    webcam.FLastNewPicture = engine::TimestampNameToDateTime(newest);
    engine::Bitmap thumbnail = manager_.BlankThumbnail();
    try {
        manager_.MakeThumbnail(folder + newest, thumbnail);
        manager_.SetThumbnail(manager_.Count() - 1, thumbnail);
    } catch (const std::exception&) {
        // A picture that does not decode leaves the blank thumbnail.
    }
}

void ManagerEngine::LoadWebcams(const std::function<void(int, int)>& progress) {
    const std::vector<engine::WebcamDefinition> definitions = engine::ReadDefinitionFiles(manager_.FDataFolder);
    const int total = static_cast<int>(definitions.size());
    for (int i = 0; i < total; ++i) {
        if (progress) progress(i, total);
        LoadOne(definitions[static_cast<std::size_t>(i)]);
    }
    if (progress) progress(total, total);
    manager_.ResumeThreads();
}

}  // namespace

std::unique_ptr<MainEngine> CreateManagerEngine(const MainEngineSettings& settings) {
    return std::make_unique<ManagerEngine>(settings);
}

}  // namespace ui
