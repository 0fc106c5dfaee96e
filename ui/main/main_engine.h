#pragma once
// What the main window's life cycle asks of the webcam engine: creating it, loading the
// webcams, starting and stopping them, counting them. ManagerEngine is the program's one, over
// twebcammanager; tests give the window a fake and see what it was asked, in which order.
//
// Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "engine/settings_records.h"

namespace engine {
class twebcammanager;
}

namespace ui {

class MainEngine {
public:
    virtual ~MainEngine() = default;

    virtual int Count() const = 0;
    virtual int RunningCount() const = 0;
    // The fetch threads the engine really runs.
    virtual int ThreadCount() const = 0;
    virtual void StartAll() = 0;
    virtual void StopAll() = 0;
    // Reads webcams.def and webcams1.def (progress: records done, records in all), then starts
    // the engine's threads the first time.
    virtual void LoadWebcams(const std::function<void(int done, int total)>& progress) = 0;
    // The manager itself for the grid and the events; null in a fake.
    virtual engine::twebcammanager* Manager() = 0;
};

struct MainEngineSettings {
    std::string dataFolder;
    int threadCount = 0;  // the low byte of CONFIG's MaxThreads
    engine::TExtra1Rec extra1{};
    engine::TConfigRec config{};
};

using MainEngineFactory = std::function<std::unique_ptr<MainEngine>(const MainEngineSettings&)>;

// The program's engine: the webcam manager with the services of fetch_services.h.
std::unique_ptr<MainEngine> CreateManagerEngine(const MainEngineSettings& settings);

}  // namespace ui
