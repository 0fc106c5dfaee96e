// A list of many webcams added to an empty data folder one AddWebcam at a time (as "Rajouter
// toutes les webcams" does, each add looking for a duplicate address), against loading the same
// webcams back from their definition files (the anchor). Reports the time per webcam of both,
// wall and thread CPU, and the heap memory each takes per webcam; the last line's
// add_vs_load_memory is the add's memory per webcam against the load's (the aim: about 1).
// ORVELLO_BENCH_WEBCAMS sets the count (default 100 000).

#include "engine/jpeg_picture.h"
#include "engine/webcam_manager.h"
#include "tests/support/idle_fetch_worker.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <string>

#include <malloc.h>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The heap in use, whatever the allocator keeps for reuse: the add's webcams are freed before
// the load, whose resident size would then hide what it takes.
double HeapMegabytes() { return static_cast<double>(mallinfo2().uordblks + mallinfo2().hblkhd) / (1024.0 * 1024.0); }

int WebcamCount() {
    const char* env = std::getenv("ORVELLO_BENCH_WEBCAMS");
    return env ? std::max(1, std::atoi(env)) : 100000;
}

std::unique_ptr<engine::twebcammanager> MakeManager(const std::string& data) {
    static const engine::TExtra1Rec extra1{};
    static const engine::TConfigRec config{};
    auto manager = std::make_unique<engine::twebcammanager>(
        data, 4, extra1, config, engine::WebcamManagerServices{testsupport::IdleFetchWorkers(), {}, engine::MakeJpegPicture});
    manager->SetThumbnailSize(86, 80);
    return manager;
}

void BM_WebcamImport(benchmark::State& state) {
    const int count = WebcamCount();
    for (auto _ : state) {
        testsupport::TempDir dir;
        const std::string data = dir.folder();
        double addSeconds = 0, addCpu = 0, addMb = 0;
        {
            auto manager = MakeManager(data);
            const double before = HeapMegabytes();
            const auto start = Clock::now();
            const double cpuStart = ThreadCpuSeconds();
            for (int i = 0; i < count; ++i) {
                engine::TWebcamDefRec rec{};
                manager->InitNewWebcamRecord(rec);
                rec.PictureURL.assign("http://cams" + std::to_string(i % 97) + ".example/" + std::to_string(i) + ".jpg");
                if (manager->AddWebcam(rec, engine::TWebcamDef1Rec{}, std::nullopt) != i + 1)
                    state.SkipWithError("a webcam was not added");
            }
            addCpu = ThreadCpuSeconds() - cpuStart;
            addSeconds = Seconds(Clock::now() - start);
            addMb = HeapMegabytes() - before;
        }
        auto manager = MakeManager(data);
        const double before = HeapMegabytes();
        const auto start = Clock::now();
        const double cpuStart = ThreadCpuSeconds();
        manager->LoadWebcams();
        const double loadCpu = ThreadCpuSeconds() - cpuStart;
        const double loadSeconds = Seconds(Clock::now() - start);
        const double loadMb = HeapMegabytes() - before;
        if (manager->Count() != count) state.SkipWithError("not every webcam was loaded");
        state.counters["webcams"] = count;
        state.counters["add_s"] = addSeconds;
        state.counters["add_cpu_s"] = addCpu;
        state.counters["load_s"] = loadSeconds;
        state.counters["load_cpu_s"] = loadCpu;
        state.counters["add_kb_per_webcam"] = addMb * 1024 / count;
        state.counters["load_kb_per_webcam"] = loadMb * 1024 / count;
        state.counters["add_vs_load_memory"] = loadMb > 0 ? addMb / loadMb : 0;
    }
}

BENCHMARK(BM_WebcamImport)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
