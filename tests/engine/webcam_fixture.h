#pragma once
// What the webcam and manager tests share: a fake JPEG picture, a stand-in fetch thread that
// takes webcams through the manager's real queues and reports through the real Synchronize, a
// stand-in stream thread, and a fixture with a manual clock and a manager whose threads have not
// been started.

#include "engine/settings_records.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "engine/regconfig.h"
#include "tests/support/manual_clock.h"
#include "tests/support/temp_dir.h"

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace enginetest {

// "RGB:" and three bytes stand for a picture of one colour; anything else does not decode.
class FakePicture : public engine::twebcampicture {
public:
    explicit FakePicture(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const override { return bytes_; }
    void SetFullColourDecoding() override { ++fullColourCalls; }
    void StretchDraw(engine::Bitmap& target) override {
        if (bytes_.size() != 7 || bytes_.compare(0, 4, "RGB:") != 0) throw std::runtime_error("not a picture");
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                for (int c = 0; c < 3; ++c) target.row(y)[x * 3 + c] = static_cast<std::uint8_t>(bytes_[4 + c]);
    }
    int fullColourCalls = 0;

private:
    std::string bytes_;
};

inline std::string PictureBytes(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    return std::string("RGB:") + static_cast<char>(b) + static_cast<char>(g) + static_cast<char>(r);
}

// What the stand-in workers share with the test that runs them.
struct WorkerProbe {
    std::atomic<int> turns{0};
    std::atomic<int> interrupts{0};
    std::atomic<int> doubleFetches{0};     // a webcam in two turns at once
    std::atomic<int> turnsWithoutBusy{0};  // a turn on a webcam not marked busy
    std::atomic<bool> holdTurns{false};    // requests stall until interrupted or released
    std::function<void()> duringInterrupt;  // runs inside InterruptRequest (main thread)
    std::vector<std::atomic<int>> inTurn = std::vector<std::atomic<int>>(256);
};

// A fetch thread without the network: a turn sets the due time, reports status 4, works a
// little (ended early by an interrupt or a stop; a held one only by its interrupt) and hands a
// picture to the main thread.
class StandInWorker : public engine::tfetchworker {
public:
    StandInWorker(engine::twebcammanager& manager, int index, WorkerProbe& probe)
        : engine::tfetchworker(manager, index), probe_(probe) {}
    ~StandInWorker() override {
        Terminate();
        WaitFor();
    }

    void InterruptRequest(const engine::twebcam& webcam) override {
        interruptFor_ = &webcam;
        ++probe_.interrupts;
        if (probe_.duringInterrupt) probe_.duringInterrupt();
        WakeUp();
    }

protected:
    void Turn(engine::twebcam& webcam) override;

private:
    bool Halted(const engine::twebcam& webcam) const {
        return !webcam.FRunning || webcam.FStopping || interruptFor_.load() == &webcam || Terminated();
    }

    WorkerProbe& probe_;
    std::atomic<const engine::twebcam*> interruptFor_{nullptr};
};

// A stream thread that reports status 4 through Synchronize every few milliseconds until it is
// stopped.
class StandInStream : public engine::tstreamworker {
public:
    explicit StandInStream(engine::twebcam& webcam) : webcam_(webcam) {}
    ~StandInStream() override {
        Terminate();
        WaitFor();
    }
    void InterruptRequest() override { interrupted = true; }
    std::atomic<bool> interrupted{false};

protected:
    void Execute() override {
        while (Doze(std::chrono::milliseconds(2)))
            Synchronize([this] { webcam_.FOnStatus(webcam_.FRecordNo, engine::kStatusPicture); });
    }

private:
    engine::twebcam& webcam_;
};

engine::WebcamManagerServices StandInServices(WorkerProbe& probe);

// A still webcam record: enabled, the given name and refresh.
engine::TWebcamDefRec StillRecord(const std::string& name, int refresh);
engine::TWebcamDef1Rec SecondRecord(bool favourite);

class WebcamTest : public testsupport::IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A manager with `threads` stand-in fetch threads, not started.
    void MakeManager(int threads = 4);
    // The same with four threads, decoding with the JPEG layer and thumbnails of the given size.
    void MakeJpegManager(int thumbWidth, int thumbHeight);
    engine::twebcam& Add(const std::string& name, int refresh = 60, bool favourite = false);

    std::string DataFolder() const { return dataDir().string() + "/"; }

    testsupport::ManualClock clock_;
    WorkerProbe probe_;
    engine::TConfigRec config_{};
    engine::TExtra1Rec extra1_{};
    std::unique_ptr<engine::twebcammanager> manager_;
    std::vector<std::pair<int, int>> statuses_;  // (index, status) of OnStatusChange
};

}  // namespace enginetest
