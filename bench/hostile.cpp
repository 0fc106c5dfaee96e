// Healthy webcams beside hostile ones, through the real manager, 16 fetch threads and saving
// (mode 0 into a temporary folder): three healthy webcams at refresh 1 s, each answering with a
// new picture every time, and one webcam of each hostile kind at refresh 0 (header flood, busy
// socket, a byte a second, empty reply, truncated JPEG, HTML, chunked framing, no status line,
// and a fast webcam whose pictures come several a second). The peers run in a process of their
// own, so that the figures are the program's alone: the peak memory of the process, the CPU it
// used, and each healthy webcam's share of its due pictures. The anchor runs the same healthy webcams alone,
// in the same run; the last line gives the healthy share with the hostile webcams against it.
// Targets: below 150 MB, below half a core, a share of at least 95 %.
// ORVELLO_HOSTILE_SECONDS changes the 120 s of the mix (the anchor runs a quarter of it).

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/hostile_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using testsupport::HostilePeer;
using Kind = HostilePeer::Kind;

constexpr int kHealthy = 3;
constexpr int kHealthyRefresh = 1;

std::chrono::seconds RunLength() {
    const char* text = std::getenv("ORVELLO_HOSTILE_SECONDS");
    return std::chrono::seconds(text ? std::max(4, std::atoi(text)) : 120);
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string ColourPicture(const std::filesystem::path& folder, const char* colour) {
    const auto file = folder / (std::string(colour) + ".jpg");
    testsupport::RunProgram({"ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                             std::string("color=c=") + colour + ":s=320x240", "-frames:v", "1", file.string()});
    return testsupport::ReadFile(file);
}

constexpr Kind kHostileKinds[] = {Kind::HeaderFlood,   Kind::BusySocket, Kind::ByteASecond,
                                  Kind::EmptyReply,    Kind::TruncatedJpeg, Kind::Html,
                                  Kind::Chunked,       Kind::NoStatusLine,  Kind::PacedPicture};

// The peers in a child process made before any thread: the healthy ones first, then one of each
// hostile kind. They serve until the parent closes its end of the pipe.
class PeerProcess {
public:
    explicit PeerProcess(const std::vector<std::string>& pictures) {
        int urls[2], stop[2];
        if (pipe(urls) != 0 || pipe(stop) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(urls[0]);
            close(stop[1]);
            Serve(pictures, urls[1], stop[0]);
            _exit(0);
        }
        close(urls[1]);
        close(stop[0]);
        stop_ = stop[1];
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(urls[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
        close(urls[0]);
        std::istringstream lines(text);
        for (std::string url; std::getline(lines, url);) urls_.push_back(url);
    }
    ~PeerProcess() {
        if (stop_ >= 0) close(stop_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    const std::vector<std::string>& Urls() const { return urls_; }

private:
    static void Serve(const std::vector<std::string>& pictures, int urls, int stop) {
        std::vector<std::unique_ptr<HostilePeer>> peers;
        for (int i = 0; i < kHealthy; ++i) peers.push_back(std::make_unique<HostilePeer>(Kind::Picture, pictures));
        for (Kind kind : kHostileKinds)
            peers.push_back(kind == Kind::PacedPicture
                                ? std::make_unique<HostilePeer>(kind, pictures, HostilePeer::kCameraPace)
                                : std::make_unique<HostilePeer>(kind, pictures));
        std::string text;
        for (const auto& peer : peers) text += peer->Url() + "\n";
        (void)!write(urls, text.data(), text.size());
        close(urls);
        char byte;
        (void)!read(stop, &byte, 1);  // until the parent closes its end
    }

    pid_t pid_ = -1;
    int stop_ = -1;
    std::vector<std::string> urls_;
};

struct Outcome {
    double seconds = 0;
    double cpu = 0;
    double worstShare = 0;  // the healthy webcam with the fewest of its due pictures
    long fastPictures = 0;  // saved pictures of the fast webcam
};

// Runs the healthy webcams, and with hostile the hostile ones beside them, for length.
Outcome Run(const std::filesystem::path& data, const std::vector<std::string>& allUrls, bool hostile,
            std::chrono::seconds length) {
    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data);
    const std::vector<std::string> urls(allUrls.begin(), hostile ? allUrls.end() : allUrls.begin() + kHealthy);

    const engine::TDiskManRec diskman = engine::DefaultDiskMan();
    auto settings = std::make_shared<engine::FetchThreadSettings>();
    settings->newPicture = engine::StillPictureStep(diskman);
    auto manager = std::make_unique<engine::twebcammanager>(data.string() + "/", 16, engine::DefaultExtra1(),
                                                            engine::DefaultConfig(),
                                                            engine::FetchThreadServices(settings));
    std::vector<long> pictureCount(urls.size(), 0);
    manager->OnNewPicture = [&](int index, const std::string& fileName, const std::string*, std::uint8_t,
                                engine::twebcampicture*, int) {
        if (!fileName.empty()) ++pictureCount[static_cast<std::size_t>(index)];
    };
    for (std::size_t i = 0; i < urls.size(); ++i) {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.PictureURL = urls[i];
        rec.Name = "cam" + std::to_string(i);
        rec.Refresh = static_cast<std::int32_t>(i < kHealthy ? kHealthyRefresh : 0);
        rec.Enabled = 1;
        manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
    }
    Outcome outcome;
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    manager->StartAll();
    platform::Dispatcher::Main().WaitUntil([] { return false; }, std::chrono::milliseconds(5), start + length);
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.cpu = CpuSeconds() - cpuBefore;
    manager.reset();
    const double due = outcome.seconds / kHealthyRefresh;
    outcome.worstShare = 1e9;
    for (int i = 0; i < kHealthy; ++i)
        outcome.worstShare = std::min(outcome.worstShare, static_cast<double>(pictureCount[i]) / due);
    if (hostile) outcome.fastPictures = pictureCount.back();
    return outcome;
}

void BM_HostileMix(benchmark::State& state) {
    if (testsupport::FindProgram("ffmpeg").empty()) {
        state.SkipWithError("needs ffmpeg");
        return;
    }
    testsupport::TempDir temp;
    const std::vector<std::string> pictures = {ColourPicture(temp.path(), "red"), ColourPicture(temp.path(), "blue")};
    const PeerProcess peers(pictures);
    if (peers.Urls().size() != kHealthy + std::size(kHostileKinds)) {
        state.SkipWithError("the peers did not start");
        return;
    }
    for (auto _ : state) {
        const Outcome alone = Run(temp.path() / "alone", peers.Urls(), false, RunLength() / 4);
        const Outcome mix = Run(temp.path() / "mix", peers.Urls(), true, RunLength());
        const double cores = mix.cpu / mix.seconds;
        state.counters["peak_mb"] = PeakMegabytes();
        state.counters["cpu_cores"] = cores;
        state.counters["healthy_share"] = mix.worstShare;
        state.counters["healthy_share_alone"] = alone.worstShare;
        state.counters["share_mix_vs_alone"] = alone.worstShare > 0 ? mix.worstShare / alone.worstShare : 0.0;
        std::printf("hostile mix for %.0f s: peak %.0f MB (target < 150), CPU %.3f cores (target < 0.5), "
                    "healthy share %.1f %% (target >= 95 %%)\n",
                    mix.seconds, PeakMegabytes(), cores, mix.worstShare * 100);
        std::printf("fast webcam: %.1f pictures a second saved\n", static_cast<double>(mix.fastPictures) / mix.seconds);
        std::printf("healthy share, hostile mix / healthy alone: %.3f / %.3f = %.3f\n", mix.worstShare,
                    alone.worstShare, alone.worstShare > 0 ? mix.worstShare / alone.worstShare : 0.0);
    }
}

BENCHMARK(BM_HostileMix)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
