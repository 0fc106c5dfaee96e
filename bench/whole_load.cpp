// The whole program under load, as users run it: the real ovl, window included, on a private
// Xvfb display with its default settings (16 fetch threads, saving mode 254), started with
// -AUTOCAP on 1000 webcams with a 1 s refresh against a local nginx. Everything is measured
// from outside: requests in nginx's access log (with the time of each, to the millisecond),
// CPU from /proc for ovl and for the X server, ovl's peak memory (VmHWM), and its main
// thread's longest gap by X pings to its window (bench/main_thread_probe.h).
//
// - Not-modified run: every webcam's URL serves the same file, never changed, so after each
//   webcam's first picture every turn is a conditional GET answered 304. Reported: CPU of ovl
//   and of the X server per 304 turn; the anchor, in the same run against the same nginx, is
//   libcurl's CPU per conditional fetch of the same URLs (bench/curl_anchor.h).
// - Picture run: every URL serves one file replaced every 100 ms, going round 128 distinct
//   640 x 480 pictures; each turn is a whole GET (no header check), so every turn gets a new
//   picture and decoding, the motion test and saving all run. Reported: the share of due turns
//   served within 100 ms of their due time (a webcam's next turn is due a refresh period after
//   the start of its last one, so a request that follows the webcam's previous one by at most
//   1.1 s was on time; due turns are the webcams times the seconds measured), the median period
//   of a webcam (the time between two of its requests), and the CPU per picture. The anchor,
//   in the same run, is libjpeg-turbo's quarter-size colour decode of the same pictures (with
//   the program's fastest options, a decompressor kept for all, this thread's CPU time, the best
//   of a few rounds).
// Each run first waits until every webcam was served once and a few seconds more.
// The last line gives the ratios against the targets.
// ORVELLO_WHOLE_LOAD_SECONDS changes each run's 20 s measured window, ORVELLO_WHOLE_LOAD_WEBCAMS
// the 1000 webcams.

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/access_log.h"
#include "bench/curl_anchor.h"
#include "bench/main_thread_probe.h"
#include "bench/natural_pictures.h"
#include "bench/picture_rotation.h"
#include "engine/definition_files.h"
#include "engine/regconfig.h"
#include "engine/webcam_records.h"
#include "tests/engine/jpeg_library_decoder.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRefreshSeconds = 1;
constexpr double kOnTimeSeconds = 0.1;
constexpr int kPictures = 128;  // one round takes 12.8 s: longer than any turn's wait
constexpr auto kSettle = 3s;    // after every webcam had its first turn

int FromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::max(1, std::atoi(text)) : fallback;
}

// ovl is built at the top of the build folder; this program sits in its bench/ folder.
fs::path OvlProgram() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "ovl"; }

// User + system CPU seconds a process has used so far, all its threads; 0 when it is gone.
double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 0; i < 13 && fields >> field; ++i)
        if (i >= 11) ticks += std::atof(field.c_str());  // utime, stime
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A process's peak resident memory (VmHWM) in megabytes; 0 when unknown.
double ProcessPeakMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// The Xvfb this process started (a child of it); -1 when there is none.
pid_t XServerChild() {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const auto open = text.find('('), close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string state;
        long parent = 0;
        fields >> state >> parent;
        if (text.substr(open + 1, close - open - 1) == "Xvfb" && parent == getpid()) return std::stoi(name);
    }
    return -1;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// libjpeg-turbo's CPU time in ms for one quarter-size colour decode of these pictures.
double QuarterDecodeMs(const std::vector<std::string>& pictures) {
    constexpr int kRounds = 5;
    const engine::JpegDecodeOptions quarter{4, false, true};
    testpictures::LibraryDecoder decoder;
    std::vector<unsigned char> out(640 * 480 * 3);
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double start = ThreadCpuSeconds();
        for (const std::string& picture : pictures) decoder.Decode(picture, quarter, out.data(), out.size());
        const double ms = (ThreadCpuSeconds() - start) * 1000.0 / static_cast<double>(pictures.size());
        best = round == 0 ? ms : std::min(best, ms);
    }
    return best;
}

// One request of the access log, in the format "turns" below.
struct Request {
    double at = 0;  // seconds since 1970
    int status = 0;
    std::string path;
};
const char* const kLogFormat = "  log_format turns '$msec \"$request\" $status';\n";

std::vector<Request> RequestsBetween(const fs::path& file, std::uintmax_t from, std::uintmax_t to) {
    std::ifstream log(file, std::ios::binary);
    log.seekg(static_cast<std::streamoff>(from));
    std::vector<Request> requests;
    for (std::string line; static_cast<std::uintmax_t>(log.tellg()) < to && std::getline(log, line);) {
        // 1702300000.123 "GET /still/7.jpg HTTP/1.0" 304
        const auto open = line.find('"'), space = line.find(' ', open), close = line.rfind('"');
        if (open == std::string::npos || close <= open || space == std::string::npos) continue;
        const auto end = line.find(' ', space + 1);
        requests.push_back({std::atof(line.c_str()), std::atoi(line.c_str() + close + 1),
                            line.substr(space + 1, end == std::string::npos ? end : end - space - 1)});
    }
    return requests;
}

struct RunSpec {
    const char* name;
    const char* path;  // "/live/": the rotating picture; "/still/": the unchanged one
};

struct Figures {
    double seconds = 0, ovlCpu = 0, xCpu = 0, peakMb = 0, longestGapMs = 0;
    long requests = 0, pictures = 0, notModified = 0, other = 0, dueTurns = 0, onTime = 0, pings = 0;
    double medianPeriod = 0;
    double OnTimePercent() const {
        return dueTurns > 0 ? 100.0 * static_cast<double>(std::min(onTime, dueTurns)) / static_cast<double>(dueTurns)
                            : 0;
    }
    double MsPer(double cpu, long n) const { return n > 0 ? cpu * 1000.0 / static_cast<double>(n) : 0; }
};

// The turns' timing: the periods between a webcam's requests that end in the window (from
// windowStart on, seconds since 1970), one per turn served there.
void TimeTurns(const std::vector<Request>& requests, double windowStart, int webcams, Figures& f) {
    std::map<std::string, std::vector<double>> times;
    for (const Request& r : requests) times[r.path].push_back(r.at);
    std::vector<double> periods;
    for (auto& [path, at] : times) {
        std::sort(at.begin(), at.end());
        for (std::size_t i = 1; i < at.size(); ++i)
            if (at[i] >= windowStart) periods.push_back(at[i] - at[i - 1]);
    }
    f.dueTurns = static_cast<long>(webcams * f.seconds / kRefreshSeconds);
    f.onTime = std::count_if(periods.begin(), periods.end(), [](double p) { return p <= kRefreshSeconds + kOnTimeSeconds; });
    if (!periods.empty()) {
        std::nth_element(periods.begin(), periods.begin() + static_cast<std::ptrdiff_t>(periods.size() / 2), periods.end());
        f.medianPeriod = periods[periods.size() / 2];
    }
}

// The webcams of a run in a data folder of their own, and the settings store that names it;
// everything else keeps the program's defaults.
void PrepareSettings(const fs::path& folder, const testsupport::NginxPeer& nginx, const RunSpec& spec, int webcams) {
    const fs::path data = folder / "data";
    for (const fs::path& made : {data, folder / "config", folder / "program", folder / "run"}) fs::create_directories(made);
    fs::permissions(folder / "run", fs::perms::owner_all);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    engine::tregconfig store;
    engine::TExtraRec extra{};
    store.ReadExtra(extra);
    extra.DataDir.assign(data.string() + "/");
    store.WriteExtra(extra);
    for (int i = 0; i < webcams; ++i) {
        engine::TWebcamDefRec rec{};
        rec.PictureURL.assign(nginx.Url(spec.path + std::to_string(i) + ".jpg"));
        rec.Name.assign("cam" + std::to_string(i));
        rec.Refresh = kRefreshSeconds;
        rec.Enabled = 1;
        rec.SaveMode = engine::kSaveOnMotion;
        engine::TWebcamDef1Rec rec2{};
        rec2.NoCheck = spec.path == std::string("/live/");  // a whole GET every turn
        engine::WriteDefRecord(data.string() + "/", i, rec);
        engine::WriteDef1Record(data.string() + "/", i, rec2);
    }
}

// One run of ovl: started with every webcam, warmed up, measured, ended.
Figures RunOvl(const testsupport::NginxPeer& nginx, const bench::AccessLog& log, const std::string& display,
               pid_t xServer, const fs::path& folder, const RunSpec& spec, int webcams, std::chrono::seconds window) {
    fs::remove_all(folder);
    PrepareSettings(folder, nginx, spec, webcams);
    Figures f;
    const auto runStart = log.Mark();
    const pid_t ovl = testsupport::StartProgram(
        OvlProgram().string(), {"-AUTOCAP"},
        {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + (folder / "config").string(),
         "ORVELLO_PROGRAM_DIR=" + (folder / "program").string(), "XDG_RUNTIME_DIR=" + (folder / "run").string()},
        (folder / "ovl.log").string());
    // Warm-up: every webcam served once, then a few seconds for the turns to settle. The main
    // window is shown by then (the splash before it has the same title).
    testsupport::WaitFor([&] { return static_cast<long>(RequestsBetween(log.file(), runStart, log.Mark()).size()) >= webcams; },
                         120s);
    std::this_thread::sleep_for(kSettle);
    bench::MainThreadProbe probe(display, ovl, "Orvello", 30s);
    if (!probe.Pinging()) std::printf("%s: no main window of ovl found; no gap measured\n", spec.name);

    const auto from = log.Mark();
    const double ovlBefore = ProcessCpuSeconds(ovl), xBefore = ProcessCpuSeconds(xServer);
    probe.Reset();
    const double windowStart = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    const auto start = Clock::now();
    std::this_thread::sleep_for(window);
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    f.ovlCpu = ProcessCpuSeconds(ovl) - ovlBefore;
    f.xCpu = ProcessCpuSeconds(xServer) - xBefore;
    const auto to = log.Mark();
    f.longestGapMs = probe.LongestMs();
    f.pings = probe.Answers();
    f.peakMb = ProcessPeakMegabytes(ovl);
    testsupport::EndProgram(ovl, 30s);

    const std::vector<Request> requests = RequestsBetween(log.file(), from, to);
    f.requests = static_cast<long>(requests.size());
    for (const Request& r : requests) (r.status == 200 ? f.pictures : r.status == 304 ? f.notModified : f.other)++;
    TimeTurns(RequestsBetween(log.file(), runStart, to), windowStart, webcams, f);
    return f;
}

void PrintRun(const RunSpec& spec, const Figures& f) {
    std::printf("%s: %ld requests in %.1f s (%ld answered 200, %ld 304, %ld other); CPU per turn: ovl %.4f ms, X server "
                "%.4f ms; on time %.1f %% of %ld due turns, median period %.3f s; main thread's longest gap %.1f ms "
                "(%ld pings); ovl's peak %.0f MB\n",
                spec.name, f.requests, f.seconds, f.pictures, f.notModified, f.other, f.MsPer(f.ovlCpu, f.requests),
                f.MsPer(f.xCpu, f.requests), f.OnTimePercent(), f.dueTurns, f.medianPeriod, f.longestGapMs, f.pings,
                f.peakMb);
    std::fflush(stdout);
}

int RunAll() {
    for (const char* program : {"nginx", "Xvfb"})
        if (testsupport::FindProgram(program).empty()) {
            std::printf("whole_load needs %s\n", program);
            return 1;
        }
    if (!fs::exists(OvlProgram())) {
        std::printf("no program %s\n", OvlProgram().c_str());
        return 1;
    }
    const int webcams = FromEnvironment("ORVELLO_WHOLE_LOAD_WEBCAMS", 1000);
    const std::chrono::seconds window(FromEnvironment("ORVELLO_WHOLE_LOAD_SECONDS", 20));
    testsupport::TempDir temp;
    const fs::path logFile = temp.path() / "access.log";
    testsupport::NginxPeer nginx(temp.path(),
                                 "    access_log " + logFile.string() +
                                     " turns;\n    location /live/ { try_files /current.jpg =404; }\n"
                                     "    location /still/ { try_files /still.jpg =404; }\n",
                                 4 * webcams, kLogFormat);
    if (!nginx.Running()) {
        std::printf("nginx did not start\n");
        return 1;
    }
    const bench::AccessLog log(logFile);
    const testsupport::XvfbDisplay xvfb;
    const pid_t xServer = XServerChild();
    if (xvfb.display().empty() || xServer < 0) {
        std::printf("Xvfb did not start\n");
        return 1;
    }
    const std::vector<std::string> natural = bench::NaturalPictures(kPictures);
    auto rotation = std::make_unique<bench::PictureRotation>(nginx.root(), natural);
    std::printf("ovl with %d webcams at %d s, 16 fetch threads, saving mode 254, on Xvfb; %d distinct 640 x 480 "
                "pictures of %.1f KB on average; %lld s per run\n",
                webcams, kRefreshSeconds, kPictures, rotation->AverageBytes() / 1024.0,
                static_cast<long long>(window.count()));
    // The unchanged picture, last modified an hour ago.
    const fs::path still = nginx.root() / "still.jpg";
    fs::copy_file(rotation->FirstPicture(), still);
    fs::last_write_time(still, fs::last_write_time(still) - 1h);
    struct stat info {};
    stat(still.c_str(), &info);

    const RunSpec notModified{"not modified, refresh 1 s", "/still/"};
    const RunSpec pictures{"changing pictures, mode 254, refresh 1 s", "/live/"};
    const Figures still304 = RunOvl(nginx, log, xvfb.display(), xServer, temp.path() / "run304", notModified, webcams, window);
    PrintRun(notModified, still304);
    const Figures live = RunOvl(nginx, log, xvfb.display(), xServer, temp.path() / "runlive", pictures, webcams, window);
    PrintRun(pictures, live);
    rotation.reset();

    const bench::CurlAnchor curl = bench::MeasureCurl(log, nginx.Url("/still/"), webcams, static_cast<long>(info.st_mtime));
    std::printf("libcurl, conditional GETs of the same URLs one after another: %ld answered 304 (%ld by its own "
                "count), CPU %.4f ms per conditional fetch\n",
                curl.fetches, curl.ownCount, curl.msPerFetch);
    const double decodeMs = QuarterDecodeMs(natural);
    std::printf("libjpeg-turbo, quarter-size colour decode of the same pictures: CPU %.4f ms per picture\n", decodeMs);
    const double pictureMs = live.MsPer(live.ovlCpu, live.pictures);
    const double perDecode = decodeMs > 0 ? pictureMs / decodeMs : 0;
    const double ovlMs = still304.MsPer(still304.ovlCpu, still304.requests);
    const double withX = still304.MsPer(still304.ovlCpu + still304.xCpu, still304.requests);
    const auto ratio = [&](double ms) { return curl.msPerFetch > 0 ? ms / curl.msPerFetch : 0; };
    std::printf("targets: 304 turn of ovl, X server included, <= 3 x libcurl's conditional fetch (%.2f; ovl alone "
                "%.2f); CPU of ovl per new picture <= 1.8 x that decode (%.2f, %.4f ms); pictures on time >= 99 %% "
                "(%.1f %%), median period <= 1.05 s (%.3f s); longest main-thread gap < 50 ms (%.1f ms at 304, %.1f ms "
                "with pictures)\n",
                ratio(withX), ratio(ovlMs), perDecode, pictureMs, live.OnTimePercent(), live.medianPeriod, still304.longestGapMs,
                live.longestGapMs);
    std::printf("ratio ovl+X cpu_per_304 / curl_cpu_per_conditional_fetch: %.2f; ratio ovl cpu_per_new_picture / "
                "libjpeg-turbo quarter decode: %.2f; on-time share pictures: %.1f %%; median period: %.3f s; longest "
                "gap: %.1f / %.1f ms; peak %.0f / %.0f MB\n",
                ratio(withX), perDecode, live.OnTimePercent(), live.medianPeriod, still304.longestGapMs, live.longestGapMs,
                still304.peakMb, live.peakMb);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto client = bench::ConditionalFetchesMain(argc, argv)) return *client;
    return RunAll();
}
