#pragma once
// What the main window's tests share: a test folder with the data folder chosen in the settings
// store, the current folder put back after each test (the window changes it), prompts answered
// by a script, and a window over a real webcam manager whose fetch threads never fetch.

#include <climits>

class QAction;
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "engine/webcam_manager.h"
#include "ui/main/tsupamain.h"

namespace mainformtest {

class MainWindowTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string DataFolder() const { return dataDir().string() + "/"; }
    // Three webcams Cam1..Cam3 in the data folder.
    void WriteThreeWebcams() const;
    // A window (not started) whose engine is a real manager with idle fetch threads.
    ui::Tsupamain& FormWithIdleManager(std::vector<std::string> parameters = {});
    // Such a window over Cam1..Cam3, started and past its deferred load; its manager.
    engine::twebcammanager* StartWithThreeWebcams();

    platform::ScriptedPrompts prompts_;
    std::unique_ptr<ui::Tsupamain> form_;

private:
    char cwd_[PATH_MAX];
};

// Runs the event loop for a few frames: what the window shows with the next frame is shown then.
void PassFrames();

// A window over Cam1..Cam3, started and past its deferred load.
class StartedMainWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        manager_ = StartWithThreeWebcams();
        ASSERT_NE(manager_, nullptr);
    }
    // The menu item or tool button of that name.
    QAction& Item(const char* name);

    engine::twebcammanager* manager_ = nullptr;
};

}  // namespace mainformtest
