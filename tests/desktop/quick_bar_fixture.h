#pragma once
// The quick bar on the in-memory desktop shell, over a real webcam manager (whose fetch threads
// never fetch) with webcams Cam1, Cam2, ... in a test data folder, and a host that records what
// the bar asks of the main window.

#include <QImage>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "desktop/app_bar_memory_service.h"
#include "desktop/quick_bar.h"
#include "desktop/quick_bar_host.h"
#include "engine/webcam_manager.h"
#include "tests/support/temp_dir.h"

namespace desktoptest {

class RecordingHost : public desktop::QuickBarHost {
public:
    engine::twebcammanager* manager = nullptr;
    desktop::DroppedWebcamDefaults defaults{60, 1, 255, false};
    QStringList calls;

    engine::twebcammanager* WebcamManager() override { return manager; }
    desktop::DroppedWebcamDefaults DroppedWebcamSettings() const override { return defaults; }
    QImage WebcamThumbnail(int) const override;
    void ShowMainWindow() override { calls << "show main"; }
    void ShowWebcam(int webcam) override { calls << QStringLiteral("show %1").arg(webcam); }
    void StartCurrentWebcam() override { calls << "start current"; }
    void StopCurrentWebcam() override { calls << "stop current"; }
    void EditCurrentWebcam() override { calls << "edit current"; }
    void StartAllWebcams() override { calls << "start all"; }
    void StopAllWebcams() override { calls << "stop all"; }
    void SetRunState(int code) override { calls << QStringLiteral("run state %1").arg(code); }
    void RunStateChanged() override { calls << "run state changed"; }
    void WebcamsAdded() override { calls << "webcams added"; }
    void RestoreMainWindow() override { calls << "restore"; }
    void CloseMainWindow() override { calls << "close main"; }
    QImage DisplayedPicture() const override { return {}; }
    void OpenWebPage(const QString& url) override { calls << "open " + url; }
    void Message(const QString& text) override { calls << "message " + text; }
    void SetShiftState(Qt::KeyboardModifiers) override {}
    void QuickBarClosed() override { calls << "closed"; }
};

class QuickBarTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // webcams.def with one webcam per URL (Cam1, Cam2, ...), loaded by a new manager.
    void LoadWebcams(const std::vector<std::string>& urls);
    // The stored button names "0", "1", ... given as (value name, webcam name).
    void StoreNames(const std::vector<std::pair<std::string, std::string>>& values);
    desktop::Tquickbar& OpenBar();
    std::vector<std::string> ButtonNames() const;

    std::string dataFolder() const { return dataDir().string() + "/"; }

    std::shared_ptr<desktop::AppBarMemoryService> shell_;
    RecordingHost host_;
    std::unique_ptr<engine::twebcammanager> manager_;
    std::unique_ptr<desktop::Tquickbar> bar_;
};

}  // namespace desktoptest
