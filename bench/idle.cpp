// Idle cost of the engine: the real manager with its scheduler and fetch threads, 0 or 100
// webcams on a 60 s refresh (local picture files, so each has had its first turn before the
// measurement), 16 or 64 threads. Reports the CPU share of one core while nothing is due; the
// last row gives the 64-thread figure beside the 16-thread one of the same run (the idle cost
// must not grow with the thread count).
// ORVELLO_IDLE_SECONDS shortens the 10 s measurement.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "bench/cpu_usage.h"
#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/temp_dir.h"

namespace {

std::chrono::seconds MeasureLength() {
    const char* text = std::getenv("ORVELLO_IDLE_SECONDS");
    return std::chrono::seconds(text ? std::max(1, std::atoi(text)) : 10);
}

// CPU percent of one core, by (threads, webcams), for the comparison in the last row.
std::map<std::pair<int, int>, double> results;

void BM_Idle(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    const int webcams = static_cast<int>(state.range(1));
    testsupport::TempDir temp;
    const auto data = temp.path() / "data";
    std::filesystem::create_directories(data);
    const auto picture = temp.path() / "picture.jpg";
    testsupport::WriteFile(picture, "\xFF\xD8\xFF\xD9");
    for (auto _ : state) {
        auto settings = std::make_shared<engine::FetchThreadSettings>();
        settings->newPicture = engine::StillPictureStep(engine::DefaultDiskMan());
        auto manager = std::make_unique<engine::twebcammanager>(data.string() + "/", threads, engine::DefaultExtra1(),
                                                                engine::DefaultConfig(),
                                                                engine::FetchThreadServices(settings));
        for (int i = 0; i < webcams; ++i) {
            auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
            rec.PictureURL = "file://" + picture.string();
            rec.Name = "cam" + std::to_string(i);
            rec.Refresh = 60;
            rec.Enabled = 1;
            manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
        }
        manager->ResumeThreads();
        manager->StartAll();
        platform::SleepPumping(std::chrono::seconds(2));  // the first turns end
        // Nothing is due for a minute: the main thread sleeps, as the window's loop would.
        const double before = bench::CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(MeasureLength());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double percent = (bench::CpuSeconds() - before) * 100.0 / seconds;
        manager.reset();
        results[{threads, webcams}] = percent;
        state.counters["cpu_percent_of_a_core"] = percent;
        if (const auto anchor = results.find({16, webcams}); threads != 16 && anchor != results.end()) {
            state.counters["cpu_percent_16_threads"] = anchor->second;
            state.counters["ratio_vs_16_threads"] = anchor->second > 0 ? percent / anchor->second : 0;
        }
    }
}

BENCHMARK(BM_Idle)
    ->Args({16, 0})
    ->Args({64, 0})
    ->Args({16, 100})
    ->Args({64, 100})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
