#include "tests/desktop/quick_bar_fixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <filesystem>

#include "desktop/app_bar_settings.h"
#include "engine/jpeg_picture.h"
#include "engine/webcam.h"
#include "platform/settings_store.h"
#include "tests/support/idle_fetch_worker.h"
#include "tests/support/webcam_defs.h"

namespace desktoptest {

QImage RecordingHost::WebcamThumbnail(int) const {
    QImage thumbnail(86, 80, QImage::Format_RGB32);
    thumbnail.fill(QColor(0, 0, 255));
    return thumbnail;
}

void QuickBarTest::SetUp() {
    IsolatedTest::SetUp();
    std::filesystem::create_directories(dataDir());
    const QRect r = QGuiApplication::primaryScreen()->geometry();
    shell_ = std::make_shared<desktop::AppBarMemoryService>(
        desktop::AppBarRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
}

void QuickBarTest::TearDown() {
    bar_.reset();
    manager_.reset();
    IsolatedTest::TearDown();
}

void QuickBarTest::LoadWebcams(const std::vector<std::string>& urls) {
    testsupport::WriteWebcamDefs(dataFolder(), urls);
    manager_ = std::make_unique<engine::twebcammanager>(
        dataFolder(), 4, engine::TExtra1Rec{}, engine::TConfigRec{},
        engine::WebcamManagerServices{testsupport::IdleFetchWorkers(), {}, engine::MakeJpegPicture});
    manager_->LoadWebcams();
    host_.manager = manager_.get();
}

void QuickBarTest::StoreNames(const std::vector<std::pair<std::string, std::string>>& values) {
    platform::SettingsKey key(desktop::kQuickBarKey, true);
    for (const auto& [value, name] : values) key.WriteString(value, name);
}

desktop::Tquickbar& QuickBarTest::OpenBar() {
    bar_ = std::make_unique<desktop::Tquickbar>(host_, shell_);
    bar_->SetSlideTime(0);
    QApplication::processEvents();
    return *bar_;
}

std::vector<std::string> QuickBarTest::ButtonNames() const {
    std::vector<std::string> names;
    for (const int webcam : bar_->ButtonWebcams()) names.push_back(manager_->GetWebcam(webcam)->Name());
    return names;
}

}  // namespace desktoptest
