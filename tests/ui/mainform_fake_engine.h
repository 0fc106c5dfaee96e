#pragma once
// A webcam engine for the main window's life-cycle tests: it keeps a journal of what the window
// asked of it, and whether the DISKMAN record (written only by the shutdown) existed then.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/main/main_engine.h"

namespace mainformtest {

struct EngineJournal {
    std::vector<std::string> calls;
    ui::MainEngineSettings settings;  // what the engine was created with
    std::filesystem::path diskManFile;
    int webcams = 3;
    int running = 0;
    std::function<void()> duringLoad;   // runs inside LoadWebcams, as a message pumped there would
    std::function<void()> duringStop;   // runs inside StopAll
};

class FakeEngine : public ui::MainEngine {
public:
    explicit FakeEngine(EngineJournal& journal) : journal_(journal) {}
    ~FakeEngine() override { Note("freed"); }

    int Count() const override { return journal_.webcams; }
    int RunningCount() const override { return journal_.running; }
    int ThreadCount() const override { return 4; }
    void StopAll() override;
    void LoadWebcams() override;
    engine::twebcammanager* Manager() override { return nullptr; }

private:
    void Note(const std::string& call);
    EngineJournal& journal_;
};

// The factory the window is given.
ui::MainEngineFactory FakeEngineFactory(EngineJournal& journal);

}  // namespace mainformtest
