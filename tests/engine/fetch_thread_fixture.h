#pragma once
// The fetch threads inside a real manager with 4 threads and the still-picture step, a short
// inactivity limit and error pause, an error log in the program folder, and the statuses and
// pictures that reach the main thread.

#include "engine/fetch_thread_services.h"
#include "engine/logs.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The inactivity limit of the fetch threads here: short enough for the stall test, long enough
// that a proxy and a server on a loaded machine (sanitizers, parallel tests) keep within it.
constexpr auto kLimit = 2s;

class FetchThreadFixture : public testsupport::IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        fs::remove_all(dataDir());
        fs::create_directories(dataDir());
        fs::create_directories(programDir());
        fs::remove(programDir() / "errors.txt");
        statuses_.clear();
        statusesOf_.clear();
        pictures_ = 0;
        lastPicture_.clear();
        diskman_ = engine::DefaultDiskMan();
        log_.FFileName = (programDir() / "errors.txt").string();
        log_.FEnabled = true;
        auto settings = std::make_shared<engine::FetchThreadSettings>();
        settings->errorLog = &log_;
        settings->inactivityLimit = kLimit;
        settings->errorPause = 50ms;
        settings->newPicture = [this, step = engine::StillPictureStep(diskman_)](
                                   engine::twebcam& webcam, const std::string& bytes, const std::string& name,
                                   engine::PreparedPicture* prepared) {
            ++pictures_;
            lastPicture_ = bytes;
            return step(webcam, bytes, name, prepared);
        };
        settings_ = settings;
        MakeManager(engine::DefaultExtra1());
    }
    void MakeManager(const engine::TExtra1Rec& extra1) {
        manager_.reset();
        manager_ = std::make_unique<engine::twebcammanager>(dataDir().string() + "/", 4, extra1, config_,
                                                            engine::FetchThreadServices(settings_));
        manager_->OnStatusChange = [this](int index, int status) {
            statuses_.push_back(status);
            statusesOf_[index].push_back(status);
        };
    }
    void TearDown() override {
        manager_.reset();
        IsolatedTest::TearDown();
    }

    engine::twebcam& Add(const std::string& url, int refresh, std::uint8_t headCheck = 0, std::uint8_t noCheck = 0,
                         const std::string& user = {}, const std::string& name = "cam") {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.SendLogin = user.empty() ? 0 : 1;
        rec.UserName = user;
        rec.Password = user + "-pw";
        rec.LinkURL = "http://example.org/cam.html";
        rec.PictureURL = url;
        rec.Name = name;
        rec.Refresh = refresh;
        rec.Enabled = 1;
        rec.HeadCheck = headCheck;
        auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
        rec2.NoCheck = noCheck;
        return manager_->AppendWebcam(rec, rec2, false);
    }
    fs::path Folder(const std::string& name = "cam") const { return dataDir() / name; }
    // Runs the main thread's calls until done() holds; false after the limit.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
        return platform::Dispatcher::Main().WaitUntil(done, 5ms, std::chrono::steady_clock::now() + limit);
    }
    int Count(int status) const { return static_cast<int>(std::count(statuses_.begin(), statuses_.end(), status)); }
    // Of the webcam at record number index.
    int CountOf(int index, int status) {
        const std::vector<int>& of = statusesOf_[index];
        return static_cast<int>(std::count(of.begin(), of.end(), status));
    }
    std::vector<fs::path> Jpegs(const std::string& name = "cam") const {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(Folder(name)))
            if (e.path().extension() == ".jpg") out.push_back(e.path());
        return out;
    }
    std::string Errors() const {
        return fs::exists(log_.FFileName) ? testsupport::ReadFile(log_.FFileName) : std::string();
    }

    engine::TConfigRec config_ = engine::DefaultConfig();
    engine::TDiskManRec diskman_{};
    engine::terrorlog log_;
    std::shared_ptr<engine::FetchThreadSettings> settings_;
    std::unique_ptr<engine::twebcammanager> manager_;
    std::vector<int> statuses_;
    std::map<int, std::vector<int>> statusesOf_;
    std::atomic<int> pictures_{0};
    std::string lastPicture_;
};

}  // namespace enginetest
