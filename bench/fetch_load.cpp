// The engine under load, counted where the server sees it. A local nginx serves 640 x 480
// pictures of about 38 KB to the real manager with 64 fetch threads, the real new-picture step
// and saving into real webcam folders. Every request is counted in nginx's access log.
//
// - Picture runs: every webcam's URL serves one file that a thread of this program replaces by
//   an atomic rename every 100 ms, going round 128 distinct pictures with moving vehicles; each
//   turn is a whole GET (no header check), so every turn gets a new picture and decoding, the
//   motion test and saving all run. Saving mode 254 (on motion) and mode 0 (every new picture),
//   first with a 1 s refresh, then with refresh 0 (as fast as the engine goes: its ceiling).
//   Reported: pictures per second answered by the server and saved (the manager's events with a
//   file name), CPU of this process per picture, the share of turns that started within 100 ms
//   of their due time, and the peak resident memory.
// - Not-modified run: the same file for every webcam, never changed, so after each webcam's
//   first picture every turn is a conditional GET answered 304. Reported: CPU per 304 turn; the
//   anchor, in the same run against the same nginx, is a libcurl client in a process of its own
//   making conditional GETs (If-Modified-Since) of the same URLs one after another: its CPU per
//   fetch is its user + system time, less that of a run without fetches (its start), over its
//   fetches.
// The last line gives the ratios against the targets.
// ORVELLO_FETCH_LOAD_SECONDS changes each run's 10 s measured window, ORVELLO_FETCH_LOAD_WEBCAMS
// the 1000 webcams.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/access_log.h"
#include "bench/cpu_usage.h"
#include "bench/curl_anchor.h"
#include "bench/natural_pictures.h"
#include "bench/peak_memory.h"
#include "bench/picture_rotation.h"
#include "bench/saved_files.h"
#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/clock.h"
#include "platform/dispatch.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kThreads = 64;
constexpr int kPictures = 128;  // one round takes 12.8 s: longer than any turn's wait
constexpr double kOnTimeMs = 100;
constexpr auto kPoll = std::chrono::milliseconds(25);  // due times change once a second at most

int EnvNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::max(1, std::atoi(text)) : fallback;
}

// When turns start against their due time. A turn sets the webcam's due time to its start plus
// the refresh period; the due time it was started for is the value that stood before. The main
// thread notes each webcam's due time as it changes, and reads the new one when the turn reports
// its picture request (the fetch thread waits in that report, so the value is this turn's).
class TurnClock {
public:
    TurnClock(const engine::twebcammanager& manager, int refreshSeconds)
        : manager_(manager), refresh_(platform::DaysFromSeconds(refreshSeconds)),
          dues_(static_cast<std::size_t>(manager.Count())) {}

    // Looks at the due times when kPoll has passed since the last look, so that the figures
    // measure the engine, not this clock.
    void Poll() {
        const auto now = Clock::now();
        if (now < nextPoll_) return;
        nextPoll_ = now + kPoll;
        for (int i = 0; i < manager_.Count(); ++i) Note(i, manager_.GetWebcam(i + 1)->FDueTime);
    }
    // From the status report of a picture request of webcam index (0-based).
    void TurnStarted(int index, bool counted) {
        const platform::TDateTime next = manager_.GetWebcam(index + 1)->FDueTime;
        Due& due = dues_[static_cast<std::size_t>(index)];
        const platform::TDateTime dueTime = due.current == next ? due.previous : due.current;
        Note(index, next);
        if (!counted || dueTime == 0) return;
        lateMs.push_back((next - refresh_ - dueTime) * platform::kMillisecondsPerDay);
    }
    long OnTime() const {
        return std::count_if(lateMs.begin(), lateMs.end(), [](double ms) { return ms <= kOnTimeMs; });
    }
    // The lateness that share of the turns stays within.
    double LateMs(double share) {
        if (lateMs.empty()) return 0;
        const auto at = lateMs.begin() + static_cast<std::ptrdiff_t>(share * static_cast<double>(lateMs.size() - 1));
        std::nth_element(lateMs.begin(), at, lateMs.end());
        return *at;
    }

    std::vector<double> lateMs;  // of the turns counted

private:
    struct Due {
        platform::TDateTime previous = 0, current = 0;
    };
    void Note(int index, platform::TDateTime value) {
        Due& due = dues_[static_cast<std::size_t>(index)];
        if (value != due.current) due = {due.current, value};
    }

    const engine::twebcammanager& manager_;
    const platform::TDateTime refresh_;
    std::vector<Due> dues_;
    Clock::time_point nextPoll_;
};

struct RunSpec {
    const char* name;
    std::uint8_t mode;
    int refresh;
    const char* path;  // "/live/": the rotating picture; "/still/": the unchanged one
};

struct Figures {
    double seconds = 0, cpu = 0, peakMb = 0, medianLateMs = 0, p99LateMs = 0;
    std::map<int, long> served;  // requests by status in the window
    long saved = 0, savedInRun = 0, errors = 0, timed = 0, onTime = 0;
    long filesOnDisk = 0;
    long Served(int status) const { return served.count(status) ? served.at(status) : 0; }
    double PerSecond(long n) const { return seconds > 0 ? static_cast<double>(n) / seconds : 0; }
    double MsPer(long n) const { return n > 0 ? cpu * 1000.0 / static_cast<double>(n) : 0; }
    double OnTimePercent() const {
        return timed > 0 ? 100.0 * static_cast<double>(onTime) / static_cast<double>(timed) : 0;
    }
};

// Serves the threads' calls on the main thread until the time, noting due times. The time is
// looked at before every drain: under full load the calls never stop coming.
void WaitPolling(TurnClock& turns, Clock::time_point until) {
    platform::Dispatcher::Main().WaitUntil(
        [&] {
            turns.Poll();
            return Clock::now() >= until;
        },
        kPoll, until);
}

// One run: webcams on nginx's path, a warm-up until every webcam can have had its first
// picture, then the measured window.
Figures RunEngine(const testsupport::NginxPeer& nginx, const bench::AccessLog& log, const fs::path& data,
                  const RunSpec& spec, int webcams, std::chrono::seconds window) {
    fs::remove_all(data);
    fs::create_directories(data);
    engine::TDiskManRec diskman = engine::DefaultDiskMan();
    diskman.GlobalSaveOn = 1;
    diskman.GlobalSaveMode = spec.mode;
    auto settings = std::make_shared<engine::FetchThreadSettings>();
    settings->newPicture = engine::StillPictureStep(diskman);
    bench::ResetPeakMemory();
    auto manager = std::make_unique<engine::twebcammanager>(data.string() + "/", kThreads, engine::DefaultExtra1(),
                                                            engine::DefaultConfig(),
                                                            engine::FetchThreadServices(settings));
    for (int i = 0; i < webcams; ++i) {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.PictureURL = nginx.Url(spec.path + std::to_string(i) + ".jpg");
        rec.Name = "cam" + std::to_string(i);
        rec.Refresh = spec.refresh;
        rec.Enabled = 1;
        auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
        rec2.NoCheck = spec.path == std::string("/live/");  // a whole GET every turn
        manager->AppendWebcam(rec, rec2, false);
    }
    Figures figures;
    TurnClock turns(*manager, spec.refresh);
    bool measuring = false;
    manager->OnStatusChange = [&](int index, int status) {
        if (status == engine::kStatusPicture) turns.TurnStarted(index, measuring);
        if (status == engine::kStatusError) figures.errors += measuring;
    };
    manager->OnNewPicture = [&](int, const std::string& fileName, const std::string*, std::uint8_t,
                                engine::twebcampicture*, int) {
        if (fileName.empty()) return;
        ++figures.savedInRun;
        figures.saved += measuring;
    };
    const auto runStart = log.Mark();
    manager->StartAll();
    // Warm-up: the server has answered as many pictures as there are webcams, and a second more.
    auto nextLook = Clock::now();
    const auto warmUpEnd = Clock::now() + std::chrono::seconds(60);
    platform::Dispatcher::Main().WaitUntil(
        [&] {
            turns.Poll();
            if (Clock::now() >= warmUpEnd) return true;
            if (Clock::now() < nextLook) return false;
            nextLook = Clock::now() + std::chrono::milliseconds(200);
            const auto counts = log.CountByStatus(runStart, log.Mark());
            return counts.count(200) && counts.at(200) >= webcams;
        },
        kPoll, warmUpEnd);
    WaitPolling(turns, Clock::now() + std::chrono::seconds(1));

    measuring = true;
    const auto from = log.Mark();
    const double cpuBefore = bench::CpuSeconds();
    const auto start = Clock::now();
    WaitPolling(turns, start + window);
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.cpu = bench::CpuSeconds() - cpuBefore;
    const auto to = log.Mark();
    measuring = false;
    figures.peakMb = bench::PeakMegabytes();
    figures.timed = static_cast<long>(turns.lateMs.size());
    figures.onTime = turns.OnTime();
    figures.medianLateMs = turns.LateMs(0.5);
    figures.p99LateMs = turns.LateMs(0.99);
    manager.reset();
    figures.served = log.CountByStatus(from, to);
    figures.filesOnDisk = bench::SavedFiles(data);
    return figures;
}

// The on-time share, for runs that have due times.
std::string OnTime(const RunSpec& spec, const Figures& f) {
    if (spec.refresh == 0) return "";
    char text[128];
    std::snprintf(text, sizeof text, ", on time %.1f %% of %ld turns (late by %.0f ms median, %.0f ms at 99 %%)",
                  f.OnTimePercent(), f.timed, f.medianLateMs, f.p99LateMs);
    return text;
}

void PrintPictureRun(const RunSpec& spec, const Figures& f) {
    std::printf("%s: %.0f pictures/s served, %.0f saved/s, CPU %.3f ms/picture%s, peak %.0f MB, %ld errors; "
                "in the whole run %ld save events, %ld files\n",
                spec.name, f.PerSecond(f.Served(200)), f.PerSecond(f.saved), f.MsPer(f.Served(200)),
                OnTime(spec, f).c_str(), f.peakMb, f.errors, f.savedInRun, f.filesOnDisk);
    std::fflush(stdout);
}

int RunAll() {
    if (testsupport::FindProgram("nginx").empty()) {
        std::printf("fetch_load needs nginx\n");
        return 1;
    }
    const int webcams = EnvNumber("ORVELLO_FETCH_LOAD_WEBCAMS", 1000);
    const std::chrono::seconds window(EnvNumber("ORVELLO_FETCH_LOAD_SECONDS", 10));
    testsupport::TempDir temp;
    // The motion settings and anything else read from the settings store are the defaults.
    setenv("XDG_CONFIG_HOME", (temp.path() / "config").c_str(), 1);
    setenv("ORVELLO_PROGRAM_DIR", (temp.path() / "program").c_str(), 1);
    fs::create_directories(temp.path() / "program");

    const fs::path logFile = temp.path() / "access.log";
    testsupport::NginxPeer nginx(temp.path(), "    access_log " + logFile.string() +
                                                  " combined;\n    location /live/ { try_files /current.jpg =404; }\n"
                                                  "    location /still/ { try_files /still.jpg =404; }\n",
                                 4 * kThreads);
    if (!nginx.Running()) {
        std::printf("nginx did not start\n");
        return 1;
    }
    const bench::AccessLog log(logFile);
    auto rotation = std::make_unique<bench::PictureRotation>(nginx.root(), bench::NaturalPictures(kPictures));
    std::printf("%d webcams, %d fetch threads, %d distinct 640 x 480 pictures of %.1f KB on average, %lld s per run\n",
                webcams, kThreads, kPictures, rotation->AverageBytes() / 1024.0,
                static_cast<long long>(window.count()));
    // The unchanged picture, last modified an hour ago.
    const fs::path still = nginx.root() / "still.jpg";
    fs::copy_file(rotation->FirstPicture(), still);
    fs::last_write_time(still, fs::last_write_time(still) - std::chrono::hours(1));
    struct stat info {};
    stat(still.c_str(), &info);

    const fs::path data = temp.path() / "data";
    std::map<std::string, Figures> results;
    for (const RunSpec& spec : {RunSpec{"mode 254, refresh 1 s", engine::kSaveOnMotion, 1, "/live/"},
                                RunSpec{"mode 0, refresh 1 s", engine::kSaveEvery, 1, "/live/"},
                                RunSpec{"mode 254, as fast as possible", engine::kSaveOnMotion, 0, "/live/"},
                                RunSpec{"mode 0, as fast as possible", engine::kSaveEvery, 0, "/live/"}}) {
        results[spec.name] = RunEngine(nginx, log, data, spec, webcams, window);
        PrintPictureRun(spec, results[spec.name]);
    }
    rotation.reset();
    const RunSpec notModified{"not modified, refresh 1 s", engine::kSaveOnMotion, 1, "/still/"};
    const Figures ours = RunEngine(nginx, log, data, notModified, webcams, window);
    const double ourMs = ours.MsPer(ours.Served(304));
    std::printf("%s: %.0f turns/s answered 304, %ld answered 200, CPU %.4f ms per 304 turn%s, peak %.0f MB, %ld "
                "errors\n",
                notModified.name, ours.PerSecond(ours.Served(304)), ours.Served(200), ourMs,
                OnTime(notModified, ours).c_str(), ours.peakMb, ours.errors);

    const bench::CurlAnchor curl = bench::MeasureCurl(log, nginx.Url("/still/"), webcams, static_cast<long>(info.st_mtime));
    const double curlMs = curl.msPerFetch;
    std::printf("libcurl, conditional GETs of the same URLs one after another: %ld answered 304 (%ld by its own "
                "count), CPU %.4f ms per conditional fetch\n",
                curl.fetches, curl.ownCount, curlMs);

    const Figures& slow254 = results["mode 254, refresh 1 s"];
    const Figures& fast254 = results["mode 254, as fast as possible"];
    std::printf("targets: pictures/s in mode 254 as fast as possible >= 1500 (%.0f); turns on time at %d webcams on "
                "1 s, mode 254 >= 99 %% (%.1f %%); CPU per 304 turn <= 1.2 x libcurl's per conditional fetch (%.2f)\n",
                fast254.PerSecond(fast254.Served(200)), webcams, slow254.OnTimePercent(),
                curlMs > 0 ? ourMs / curlMs : 0);
    std::printf("ratio cpu_per_304 / curl_cpu_per_conditional_fetch: %.2f; pictures/s mode254: %.0f; on-time share "
                "mode254 1 s: %.1f %%\n",
                curlMs > 0 ? ourMs / curlMs : 0, fast254.PerSecond(fast254.Served(200)), slow254.OnTimePercent());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto client = bench::ConditionalFetchesMain(argc, argv)) return *client;
    return RunAll();
}
