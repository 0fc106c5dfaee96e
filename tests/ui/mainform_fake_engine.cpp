#include "tests/ui/mainform_fake_engine.h"

namespace mainformtest {

void FakeEngine::Note(const std::string& call) {
    journal_.calls.push_back(call + (std::filesystem::exists(journal_.diskManFile) ? " (records written)" : ""));
}

void FakeEngine::StopAll() {
    Note("StopAll");
    if (journal_.duringStop) journal_.duringStop();
    journal_.running = 0;
}

void FakeEngine::LoadWebcams() {
    Note("LoadWebcams");
    if (journal_.duringLoad) journal_.duringLoad();
}

ui::MainEngineFactory FakeEngineFactory(EngineJournal& journal) {
    return [&journal](const ui::MainEngineSettings& settings) -> std::unique_ptr<ui::MainEngine> {
        journal.settings = settings;
        journal.calls.push_back("created");
        return std::make_unique<FakeEngine>(journal);
    };
}

}  // namespace mainformtest
