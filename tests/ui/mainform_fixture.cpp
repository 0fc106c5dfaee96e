#include "tests/ui/mainform_fixture.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <QCoreApplication>

#include "engine/jpeg_picture.h"
#include "engine/webcam_manager.h"
#include "tests/support/idle_fetch_worker.h"
#include "tests/support/webcam_defs.h"
#include "ui/main/main_menus.h"

namespace mainformtest {

void MainWindowTest::SetUp() {
    IsolatedTest::SetUp();
    ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
    std::filesystem::create_directories(dataDir());
    std::filesystem::create_directories(programDir());
    testsupport::StoreDataFolder(DataFolder());
}

void MainWindowTest::TearDown() {
    form_.reset();
    ASSERT_EQ(chdir(cwd_), 0);
    IsolatedTest::TearDown();
}

void MainWindowTest::WriteThreeWebcams() const {
    testsupport::WriteWebcamDefs(DataFolder(),
                                 {"http://127.0.0.1:9/a.jpg", "http://127.0.0.1:9/b.jpg", "http://127.0.0.1:9/c.jpg"});
}

ui::Tsupamain& MainWindowTest::FormWithIdleManager(std::vector<std::string> parameters) {
    form_ = std::make_unique<ui::Tsupamain>(ui::Tsupamain::Services{
        ui::ManagerEngineFactory([](const ui::MainEngineSettings&) {
            return engine::WebcamManagerServices{testsupport::IdleFetchWorkers(), {}, engine::MakeJpegPicture};
        }),
        std::move(parameters)});
    return *form_;
}

engine::twebcammanager* MainWindowTest::StartWithThreeWebcams() {
    WriteThreeWebcams();
    FormWithIdleManager().StartUp();
    form_->Timer3Timer();
    return form_->WebcamManager();
}

void PassFrames() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
    while (std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The frames are due by now even when this thread slept through all of them on a loaded
    // machine: one pass fires their timers, the next delivers the paints those posted.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QAction& StartedMainWindowTest::Item(const char* name) { return *ui::FindCommand(*form_, name); }

}  // namespace mainformtest
