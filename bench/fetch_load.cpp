// A whole-program load run: N webcams with refresh 1 s against a local nginx serving a 40 KB
// JPEG each, 64 fetch threads, through the real manager, fetch threads and saving (mode 0 into
// a temporary folder). Reports fetches per second, the share of turns that started within
// 100 ms of their due time, CPU seconds per 1000 fetches and peak memory; then curl fetches the
// same URLs (60 parallel transfers, writing the files: the test nginx takes 63 connections at
// most) and its rate is reported beside ours.
// ORVELLO_FETCH_LOAD_SECONDS shortens the 60 s run.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>

#include "bench/cpu_usage.h"
#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kPictureSize = 40 * 1024;

std::chrono::seconds RunLength() {
    const char* text = std::getenv("ORVELLO_FETCH_LOAD_SECONDS");
    return std::chrono::seconds(text ? std::max(1, std::atoi(text)) : 60);
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_FetchLoad(benchmark::State& state) {
    const int webcams = static_cast<int>(state.range(0));
    if (testsupport::FindProgram("nginx").empty() || testsupport::FindProgram("curl").empty()) {
        state.SkipWithError("needs nginx and curl");
        return;
    }
    testsupport::TempDir temp;
    testsupport::NginxPeer nginx(temp.path() / "nginx");
    std::string picture = "\xFF\xD8\xFF\xE0";
    picture.resize(kPictureSize, '\x5A');
    for (int i = 0; i < webcams; ++i) testsupport::WriteFile(nginx.root() / (std::to_string(i) + ".jpg"), picture);
    const auto data = temp.path() / "data";
    std::filesystem::create_directories(data);

    for (auto _ : state) {
        const engine::TDiskManRec diskman = engine::DefaultDiskMan();
        auto settings = std::make_shared<engine::FetchThreadSettings>();
        settings->newPicture = engine::StillPictureStep(diskman);
        auto manager = std::make_unique<engine::twebcammanager>(data.string() + "/", 64, engine::DefaultExtra1(),
                                                                engine::DefaultConfig(),
                                                                engine::FetchThreadServices(settings));
        // Lateness of a turn: its start against the previous start plus the 1 s refresh.
        std::unordered_map<int, Clock::time_point> lastStart;
        long turns = 0, onTime = 0, timed = 0;
        manager->OnStatusChange = [&](int index, int status) {
            if (status != engine::kStatusPicture) return;
            const auto now = Clock::now();
            ++turns;
            if (auto it = lastStart.find(index); it != lastStart.end()) {
                ++timed;
                onTime += now - (it->second + std::chrono::seconds(1)) <= std::chrono::milliseconds(100);
                it->second = now;
            } else {
                lastStart.emplace(index, now);
            }
        };
        for (int i = 0; i < webcams; ++i) {
            auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
            rec.PictureURL = nginx.Url("/" + std::to_string(i) + ".jpg");
            rec.Name = "cam" + std::to_string(i);
            rec.Refresh = 1;
            rec.Enabled = 1;
            auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
            rec2.NoCheck = 1;  // every turn a whole GET
            manager->AppendWebcam(rec, rec2, false);
        }
        const double cpuBefore = bench::CpuSeconds();
        const auto start = Clock::now();
        manager->StartAll();
        const auto end = start + RunLength();
        platform::Dispatcher::Main().WaitUntil([] { return false; }, std::chrono::milliseconds(5), end);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = bench::CpuSeconds() - cpuBefore;
        manager.reset();

        const auto curlDir = temp.path() / "curl";
        std::filesystem::create_directories(curlDir);
        const auto curlStart = Clock::now();
        const auto result = testsupport::RunProgram(
            {"curl", "-s", "-f", "-Z", "--parallel-max", "60", "-o", (curlDir / "#1.jpg").string(),
             nginx.Url("/[0-" + std::to_string(webcams - 1) + "].jpg")});
        const double curlSeconds = std::chrono::duration<double>(Clock::now() - curlStart).count();
        if (result.exit_code != 0) state.SetLabel("curl failed with " + std::to_string(result.exit_code));
        const double ours = static_cast<double>(turns) / seconds;
        const double curlRate = result.exit_code == 0 ? webcams / curlSeconds : 0;
        state.counters["fetches_per_s"] = ours;
        state.counters["on_time_share"] = timed ? static_cast<double>(onTime) / static_cast<double>(timed) : 0;
        state.counters["cpu_s_per_1000"] = turns ? cpu * 1000.0 / static_cast<double>(turns) : 0;
        state.counters["peak_mb"] = PeakMegabytes();
        state.counters["curl_fetches_per_s"] = curlRate;
        state.counters["ours_vs_curl"] = curlRate > 0 ? ours / curlRate : 0;
    }
}

BENCHMARK(BM_FetchLoad)->Arg(100)->Arg(1000)->Arg(5000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
