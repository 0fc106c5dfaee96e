// The main window's AVI export of 500 selected 640 x 480 pictures, as a person runs it from the
// Images menu, with the window's events handled between frames: uncompressed (each file decoded
// and written as a frame) and as Motion-JPEG (the pictures, all of the frame size, written as they
// are). Single-threaded ffmpeg makes the same movies from the same files in the same run: rawvideo,
// and a copy of the pictures (-c copy). Our CPU time is this process's (user + system) during the
// export, ffmpeg's that of its process (wait4). Each is run ORVELLO_BENCH_ROUNDS times (default 3)
// and its least CPU time counts; the longest time the window went without handling its events is
// the longest of all rounds. The last line gives the speed ratios ours / ffmpeg (above 1: we use
// less CPU).
//
// Run with QT_QPA_PLATFORM=offscreen (set here when unset). ORVELLO_BENCH_PICTURES overrides the
// number of pictures.

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/cpu_usage.h"
#include "bench/ffmpeg_movie.h"
#include "bench/movie_setup.h"
#include "engine/motion_settings.h"
#include "media/bitmap.h"
#include "media/mjpeg_encoder.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "ui/controls/draw_grid1.h"
#include "ui/disk/disk_thumb_manager.h"
#include "ui/disk/picture_commands.h"
#include "ui/viewer/picture_services.h"
#include "ui/viewer/viewer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Picture(int seed) {
    media::Bitmap frame(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640 * 3; ++x) frame.Row(y)[x] = static_cast<std::uint8_t>((x * (seed + 3) + y * 5) & 0xFF);
    std::vector<std::uint8_t> out;
    media::EncodeJPEG({frame.Row(0), 640, 480, static_cast<std::size_t>(frame.RowSize()), false}, 85, out);
    return {out.begin(), out.end()};
}

class NoViewerHost : public ui::ViewerHost {
public:
    bool ViewerPageShown() const override { return false; }
    void LoadCurrentMotionSettings() override {}
    int MotionThreshold() const override { return 5; }
    media::TMMLEDGauge& MotionGauge() override { std::abort(); }
    void SetStatusText(const QString&) override {}
    void RememberDiskPageState() override {}
    int DiskEntryNumber() const override { return 0; }
    int DiskEntryCount() const override { return 0; }
};

class ExportHost : public ui::PictureCommandsHost {
public:
    engine::twebcammanager* PictureManager() override { return nullptr; }
    int CurrentWebcam() const override { return 0; }
    void UpdateMotionGauge(std::uint8_t, int) override {}
    void SetWalkButtons(bool, bool) override {}
    void SetStatusText(const QString&) override {}
    void ProcessMessages() override {
        QCoreApplication::processEvents();
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, Ms(now - last));
        last = now;
    }
    media::MovieMakerSetup MovieSetup() override { return bench::ScriptedMovieSetup(movie, compressor); }
    std::string movie;
    media::FourCC compressor = 0;
    Clock::time_point last;
    double longestGap = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int count = std::getenv("ORVELLO_BENCH_PICTURES") ? std::atoi(std::getenv("ORVELLO_BENCH_PICTURES")) : 500;
    const char* roundsSet = std::getenv("ORVELLO_BENCH_ROUNDS");
    const int rounds = roundsSet ? std::max(1, std::atoi(roundsSet)) : 3;

    testsupport::TempDir dir;
    const std::filesystem::path pictures = dir.path() / "pictures";
    std::filesystem::create_directories(pictures);
    std::vector<std::string> variants;
    double pictureBytes = 0;
    for (int seed = 0; seed < 8; ++seed) {
        variants.push_back(Picture(seed));
        pictureBytes += static_cast<double>(variants.back().size()) / 8;
    }
    for (int i = 0; i < count; ++i) {
        std::ofstream picture(pictures / bench::NumberedPicture(i), std::ios::binary);
        picture << variants[static_cast<std::size_t>(i % 8)];
    }

    platform::ScriptedPrompts prompts;
    NoViewerHost viewerHost;
    ui::TViewer viewer(viewerHost, ui::JpegViewerServices([] { return engine::ReadGlobalMotionSettings(); }));
    ui::TDrawGrid1 grid;
    ui::tdiskthumbmanager disk(grid, ui::kListJpegFiles);
    disk.SetActive(true);
    disk.SetFolder(pictures.string());
    disk.SelectAll();
    ExportHost host;
    bool stopRequested = false;
    int shiftState = 0;
    ui::PictureCommands commands(host, {stopRequested, shiftState}, disk, viewer);

    // Least CPU and wall times of the rounds, longest gap of them all.
    struct Cost {
        double cpu = 1e9, wall = 1e9, gap = 0;
    };
    const auto ours = [&](media::FourCC compressor, const char* name, Cost& cost) {
        host.movie = (dir.path() / name).string();
        host.compressor = compressor;
        host.longestGap = 0;
        std::filesystem::remove(host.movie);  // dropping the last movie's pages is no part of the export
        const double cpu = bench::CpuSeconds();
        const Clock::time_point start = Clock::now();
        host.last = start;
        commands.SaveselectedpicturesasAVIfile1Click();
        cost.wall = std::min(cost.wall, Ms(Clock::now() - start));
        cost.cpu = std::min(cost.cpu, (bench::CpuSeconds() - cpu) * 1e3);
        cost.gap = std::max(cost.gap, host.longestGap);
    };
    const std::vector<std::string> rawvideo = {"-c:v", "rawvideo", "-pix_fmt", "bgr24"}, copy = {"-c", "copy"};
    const std::string ffRaw = (dir.path() / "ff_raw.avi").string(), ffCopy = (dir.path() / "ff_copy.avi").string();
    Cost raw, mjpeg;
    double ffRawMs = 1e9, ffCopyMs = 1e9;
    for (int round = 0; round < rounds; ++round) {
        ours(0, "raw.avi", raw);
        ffRawMs = std::min(ffRawMs, bench::FfmpegMovieCpuSeconds(pictures, rawvideo, ffRaw) * 1e3);
        ours(media::kMotionJPEG, "mjpeg.avi", mjpeg);
        ffCopyMs = std::min(ffCopyMs, bench::FfmpegMovieCpuSeconds(pictures, copy, ffCopy) * 1e3);
    }
    if (!prompts.shown.isEmpty()) std::printf("asked: %s\n", prompts.shown.join(" | ").toStdString().c_str());

    std::printf("pictures: %d (640 x 480, %.1f KB each on average), least CPU time of %d rounds\n", count,
                pictureBytes / 1e3, rounds);
    std::printf("uncompressed: ours %.0f ms CPU (%.0f ms wall, %.1f frames/s), ffmpeg -threads 1 rawvideo %.0f ms CPU, "
                "longest gap %.1f ms\n",
                raw.cpu, raw.wall, count * 1000.0 / raw.wall, ffRawMs, raw.gap);
    std::printf("motion-jpeg: ours %.0f ms CPU (%.0f ms wall, %.1f frames/s), ffmpeg -c copy %.0f ms CPU, longest gap "
                "%.1f ms\n",
                mjpeg.cpu, mjpeg.wall, count * 1000.0 / mjpeg.wall, ffCopyMs, mjpeg.gap);
    std::printf("speed ours / ffmpeg (CPU), targets uncompressed >= 1.0, motion-jpeg >= 0.5: uncompressed %.2f, "
                "motion-jpeg %.2f\n",
                ffRawMs / raw.cpu, ffCopyMs / mjpeg.cpu);
    return 0;
}
