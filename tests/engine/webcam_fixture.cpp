#include "tests/engine/webcam_fixture.h"

#include "engine/jpeg_picture.h"

#include <filesystem>
#include <thread>

namespace enginetest {

void StandInWorker::Turn(engine::twebcam& webcam) {
    const int slot = webcam.FRecordNo % static_cast<int>(probe_.inTurn.size());
    if (probe_.inTurn[static_cast<std::size_t>(slot)].fetch_add(1) != 0) ++probe_.doubleFetches;
    if (!webcam.FBusy) ++probe_.turnsWithoutBusy;
    webcam.SetTurnDueTime();
    FState = 2;
    webcam.FStatus = engine::kStatusPicture;
    Synchronize([&webcam] { webcam.FOnStatus(webcam.FRecordNo, webcam.FStatus); });
    // A held request stalls until it is interrupted, whatever the webcam's flags say: a real
    // request notices a stop on its own only at its watch's next tick, and a test of the
    // interrupt must not depend on whether that tick or the interrupt comes first. The
    // interrupt's WakeUp ends the doze. The interrupted turn then makes one more call on the
    // main thread before it lets go, as a turn interrupted while it reports does: the stop must
    // keep serving the holder's calls while it waits.
    while (probe_.holdTurns && interruptFor_.load() != &webcam && !Terminated())
        Doze(std::chrono::milliseconds(10));
    if (probe_.holdTurns && interruptFor_.load() == &webcam) Synchronize([] {});
    // The request itself: a few short steps, ended early once halted.
    for (int step = 0; step < 20 && !Halted(webcam); ++step) std::this_thread::yield();
    if (!Halted(webcam)) {
        FakePicture picture(PictureBytes(10, 20, static_cast<std::uint8_t>(webcam.FRecordNo)));
        Synchronize([&] {
            webcam.FOnPicture(webcam.FRecordNo, std::string(), nullptr, engine::kPictureNoTest, &picture, 0);
        });
    }
    interruptFor_ = nullptr;
    ++probe_.turns;
    probe_.inTurn[static_cast<std::size_t>(slot)].fetch_sub(1);
}

engine::WebcamManagerServices StandInServices(WorkerProbe& probe) {
    engine::WebcamManagerServices services;
    services.fetchWorkers = [&probe](engine::twebcammanager& manager, int index) {
        return std::make_unique<StandInWorker>(manager, index, probe);
    };
    services.streamWorkers = [](engine::twebcam& webcam, engine::twebcammanager&) {
        return std::make_unique<StandInStream>(webcam);
    };
    services.decodePicture = [](std::string bytes) { return std::make_unique<FakePicture>(std::move(bytes)); };
    return services;
}

engine::TWebcamDefRec StillRecord(const std::string& name, int refresh) {
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL = "http://127.0.0.1/" + name + ".jpg";
    rec.Name = name;
    rec.Refresh = refresh;
    rec.Enabled = 1;
    return rec;
}

engine::TWebcamDef1Rec SecondRecord(bool favourite) {
    auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    rec2.Favourite = favourite ? 1 : 0;
    return rec2;
}

void WebcamTest::SetUp() {
    IsolatedTest::SetUp();
    std::filesystem::create_directories(dataDir());
    config_ = engine::DefaultConfig();
    extra1_ = engine::DefaultExtra1();
}

void WebcamTest::TearDown() {
    manager_.reset();
    IsolatedTest::TearDown();
}

void WebcamTest::MakeManager(int threads) {
    manager_ = std::make_unique<engine::twebcammanager>(DataFolder(), threads, extra1_, config_,
                                                        StandInServices(probe_));
    manager_->OnStatusChange = [this](int index, int status) { statuses_.emplace_back(index, status); };
}

void WebcamTest::MakeJpegManager(int thumbWidth, int thumbHeight) {
    engine::WebcamManagerServices services = StandInServices(probe_);
    services.decodePicture = engine::MakeJpegPicture;
    manager_ = std::make_unique<engine::twebcammanager>(DataFolder(), 4, extra1_, config_, std::move(services));
    manager_->SetThumbnailSize(thumbWidth, thumbHeight);
}

engine::twebcam& WebcamTest::Add(const std::string& name, int refresh, bool favourite) {
    return manager_->AppendWebcam(StillRecord(name, refresh), SecondRecord(favourite), false);
}

}  // namespace enginetest
