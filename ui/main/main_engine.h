#pragma once
// What the main window's life cycle asks of the webcam engine: creating it, loading the
// webcams, stopping them at the end, counting them; the commands work on the manager itself.
// ManagerEngine is the program's one, over twebcammanager; tests give the window a fake and see
// what it was asked, in which order.
//
// Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "engine/settings_records.h"

namespace engine {
struct FetchThreadSettings;
struct WebcamManagerServices;
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
    virtual void StopAll() = 0;
    // Reads webcams.def and webcams1.def, then starts the engine's threads the first time; the
    // manager shows the load through the list view the window gave it.
    virtual void LoadWebcams() = 0;
    // The manager itself for the grid and the events; null in a fake.
    virtual engine::twebcammanager* Manager() = 0;
};

struct MainEngineSettings {
    std::string dataFolder;
    int threadCount = 0;  // the low byte of CONFIG's MaxThreads
    engine::TExtra1Rec extra1{};
    engine::TConfigRec config{};
    // What the fetch and stream threads share: User-Agent, error log, the new-picture step.
    std::shared_ptr<const engine::FetchThreadSettings> fetch;
};

using MainEngineFactory = std::function<std::unique_ptr<MainEngine>(const MainEngineSettings&)>;

// The program's engine: the webcam manager with HTTP fetch and stream threads.
std::unique_ptr<MainEngine> CreateManagerEngine(const MainEngineSettings& settings);
// The same engine over the manager built with other services (other threads, in tests).
using ManagerServicesMaker = std::function<engine::WebcamManagerServices(const MainEngineSettings&)>;
MainEngineFactory ManagerEngineFactory(ManagerServicesMaker services);

}  // namespace ui
