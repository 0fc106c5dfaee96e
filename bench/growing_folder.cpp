// Folders that grow: one webcam in saving mode 0 receiving new 640 x 480 pictures while its
// folder already holds 0, 10 000, 100 000 and 1 000 000 pictures. For each size it reports the
// main thread's time per saved picture (the whole new-picture step: the comparison with the
// newest saved picture, the decode check, the write and the thumbnail), beside the time of one
// listing of that folder (the anchor: what every picture cost when the folder was listed per
// picture) and the start-up with that folder (loading the webcam, its newest picture and
// thumbnail). The last line's vs_empty_folder is the time per picture against the empty folder
// (the aim: at most 1.2 at a million); times per picture are medians, wall and thread CPU. ORVELLO_BENCH_MOST_PICTURES caps the largest folder.

#include "engine/jpeg_picture.h"
#include "engine/new_picture.h"
#include "engine/new_picture_delivery.h"
#include "engine/regconfig.h"
#include "engine/definition_files.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"
#include "media/mjpeg_encoder.h"
#include "tests/support/idle_fetch_worker.h"
#include "tests/support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPicturesPerRun = 400;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ThreadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The middle value: one picture delayed by the other programs of a busy machine moves it little.
double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A 640 x 480 picture with gradients and a square that moves with n, so that each differs.
std::string MakePicture(int n) {
    constexpr int w = 640, h = 480;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = &bits[(static_cast<std::size_t>(y) * w + x) * 3];
            const bool square = x > 100 + n * 20 && x < 200 + n * 20 && y > 150 && y < 250;
            px[0] = static_cast<std::uint8_t>(x * 255 / w);
            px[1] = static_cast<std::uint8_t>(y * 255 / h);
            px[2] = square ? 250 : static_cast<std::uint8_t>((x ^ y) & 127);
        }
    std::vector<std::uint8_t> out;
    media::EncodeJPEG({bits.data(), w, h, static_cast<std::size_t>(w) * 3, false}, 85, out);
    return std::string(out.begin(), out.end());
}

// Empty files named like pictures of an earlier year, older than every new picture.
void FillFolder(const std::string& folder, long pictures) {
    char name[64];
    for (long i = 0; i < pictures; ++i) {
        std::snprintf(name, sizeof name, "2019%010ld.jpg", i);
        const int fd = ::open((folder + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) ::close(fd);
    }
}

long MostPictures() {
    const char* most = std::getenv("ORVELLO_BENCH_MOST_PICTURES");
    return most ? std::atol(most) : 1000000;
}

double g_emptyFolderMs = 0;

void BM_GrowingFolder(benchmark::State& state) {
    const long pictures = state.range(0);
    if (pictures > MostPictures()) {
        state.SkipWithError("larger than ORVELLO_BENCH_MOST_PICTURES");
        return;
    }
    testsupport::TempDir temp;
    const std::string data = temp.folder();
    engine::TWebcamDefRec rec{};
    rec.PictureURL.assign("http://127.0.0.1/cam.jpg");
    rec.Name.assign("Cam1");
    rec.Refresh = 1;
    rec.Enabled = 1;
    rec.SaveMode = engine::kSaveEvery;
    engine::WriteDefRecord(data, 0, rec);
    const std::string folder = data + "Cam1/";
    fs::create_directories(folder);
    FillFolder(folder, pictures);
    const std::string pictureBytes[2] = {MakePicture(1), MakePicture(2)};

    for (auto _ : state) {
        const auto listStart = Clock::now();
        benchmark::DoNotOptimize(engine::LatestJpegInFolder(folder));
        const double listingMs = Milliseconds(Clock::now() - listStart);

        engine::TExtra1Rec extra1{};
        engine::TConfigRec config{};
        engine::twebcammanager manager(data, 4, extra1, config,
                                       {testsupport::IdleFetchWorkers(), {}, engine::MakeJpegPicture});
        manager.SetThumbnailSize(86, 80);
        const auto loadStart = Clock::now();
        manager.LoadWebcams();
        const double startupMs = Milliseconds(Clock::now() - loadStart);
        engine::twebcam& webcam = *manager.GetWebcam(1);

        engine::TDiskManRec diskman{};
        int saved = 0;
        manager.OnNewPicture = [&saved](int, const std::string& file, const std::string*, std::uint8_t,
                                        engine::twebcampicture*, int) { saved += !file.empty(); };
        std::vector<double> wall, cpu;
        for (int n = 0; n < kPicturesPerRun; ++n) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "2030%010d", n);
            const std::string name = engine::PictureFileName(folder, "", stamp);
            const auto start = Clock::now();
            const double cpuStart = ThreadCpuMilliseconds();
            engine::DeliverStillPicture(webcam, diskman, pictureBytes[n % 2], name);
            cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
            wall.push_back(Milliseconds(Clock::now() - start));
        }
        const double perPictureMs = Median(wall);
        if (pictures == 0) g_emptyFolderMs = perPictureMs;
        if (saved != kPicturesPerRun) state.SkipWithError("not every picture was saved");
        state.counters["ms_per_saved_picture"] = perPictureMs;
        state.counters["cpu_ms_per_saved_picture"] = Median(cpu);
        state.counters["listing_ms"] = listingMs;
        state.counters["startup_ms"] = startupMs;
        state.counters["folder_listings"] = webcam.FNewestSaved.Listings();
        state.counters["vs_empty_folder"] = g_emptyFolderMs > 0 ? perPictureMs / g_emptyFolderMs : 0;
    }
}

BENCHMARK(BM_GrowingFolder)->Arg(0)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
