// The main window's AVI export of 500 selected 640 x 480 pictures, as a person runs it from the
// Images menu: each file decoded, drawn into the movie's frame and written, uncompressed and as
// Motion-JPEG, with the window's events handled between frames. ffmpeg makes the same movies from
// the same files in the same run (rawvideo, and Motion-JPEG at -q:v 3): the ratios of our time to
// ffmpeg's are printed, the Motion-JPEG one last, with the longest time the window went without
// handling its events.
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
    media::MovieMakerSetup MovieSetup() override {
        media::MovieMakerSetup setup;
        setup.ChooseFileName = [this](std::string& name) {
            name = movie;
            return true;
        };
        setup.ChooseCompression = [this](std::vector<media::AVICompressOptions>& options, unsigned) {
            for (media::AVICompressOptions& o : options) o.fccHandler = compressor;
            return true;
        };
        setup.Texts = {"Enregistrement de l'image", "de", "Prêt"};
        return setup;
    }
    std::string movie;
    media::FourCC compressor = 0;
    Clock::time_point last;
    double longestGap = 0;
};

double Ffmpeg(const std::filesystem::path& dir, const std::string& codec, const std::string& out) {
    const std::string command = "ffmpeg -v error -y -framerate 2 -i '" + (dir / "%06d.jpg").string() + "' " + codec +
                                " '" + out + "'";
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg failed or is not installed\n");
        std::exit(1);
    }
    return Ms(Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int count = std::getenv("ORVELLO_BENCH_PICTURES") ? std::atoi(std::getenv("ORVELLO_BENCH_PICTURES")) : 500;

    testsupport::TempDir dir;
    const std::filesystem::path pictures = dir.path() / "pictures";
    std::filesystem::create_directories(pictures);
    std::vector<std::string> variants;
    for (int seed = 0; seed < 8; ++seed) variants.push_back(Picture(seed));
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06d.jpg", i);
        std::ofstream(pictures / name, std::ios::binary) << variants[static_cast<std::size_t>(i % 8)];
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

    const auto ours = [&](media::FourCC compressor, const char* name) {
        host.movie = (dir.path() / name).string();
        host.compressor = compressor;
        host.longestGap = 0;
        const Clock::time_point start = Clock::now();
        host.last = start;
        commands.SaveselectedpicturesasAVIfile1Click();
        return Ms(Clock::now() - start);
    };
    const double raw = ours(0, "raw.avi");
    const double rawGap = host.longestGap;
    const double mjpeg = ours(media::kMotionJPEG, "mjpeg.avi");
    const double mjpegGap = host.longestGap;
    const double ffRaw = Ffmpeg(pictures, "-c:v rawvideo -pix_fmt bgr24", (dir.path() / "ff_raw.avi").string());
    const double ffMjpeg = Ffmpeg(pictures, "-c:v mjpeg -q:v 3", (dir.path() / "ff_mjpeg.avi").string());
    if (!prompts.shown.isEmpty()) std::printf("asked: %s\n", prompts.shown.join(" | ").toStdString().c_str());

    std::printf("pictures: %d (640 x 480)\n", count);
    std::printf("uncompressed: ours %.0f ms (%.1f frames/s), ffmpeg %.0f ms, longest gap %.1f ms\n", raw,
                count * 1000.0 / raw, ffRaw, rawGap);
    std::printf("motion-jpeg: ours %.0f ms (%.1f frames/s), ffmpeg %.0f ms, longest gap %.1f ms\n", mjpeg,
                count * 1000.0 / mjpeg, ffMjpeg, mjpegGap);
    std::printf("ratio ours / ffmpeg, uncompressed: %.2f\n", raw / ffRaw);
    std::printf("ratio ours / ffmpeg, motion-jpeg: %.2f\n", mjpeg / ffMjpeg);
    return 0;
}
