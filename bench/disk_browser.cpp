// The disk page opening a folder of 10 000 saved 640 x 480 pictures, as people look back through
// a camera's day: the listing's cost, the thumbnails built beside a plain loop that reads and
// decodes the same files at 1/8 scale (the anchor, same run, same files), the memory each
// thumbnail keeps, and the longest time the window went without handling its events while the
// thumbnails were built. The last line is the ratio of our build time to the anchor's.
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

#include "engine/jpeg_decoder.h"
#include "engine/picture_folder.h"
#include "media/bitmap.h"
#include "media/mjpeg_encoder.h"
#include "tests/support/temp_dir.h"
#include "ui/controls/draw_grid1.h"
#include "ui/disk/disk_thumb_manager.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// A few different 640 x 480 pictures, so the files are not all one.
std::string Picture(int seed) {
    media::Bitmap frame(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640 * 3; ++x) frame.Row(y)[x] = static_cast<std::uint8_t>((x * (seed + 1) + y * 7) & 0xFF);
    std::vector<std::uint8_t> out;
    media::EncodeJPEG({frame.Row(0), 640, 480, static_cast<std::size_t>(frame.RowSize()), false}, 85, out);
    return {out.begin(), out.end()};
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int count = std::getenv("ORVELLO_BENCH_PICTURES") ? std::atoi(std::getenv("ORVELLO_BENCH_PICTURES")) : 10000;

    testsupport::TempDir dir;
    std::vector<std::string> pictures;
    for (int seed = 0; seed < 8; ++seed) pictures.push_back(Picture(seed));
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "20260110%06d.jpg", i);
        std::ofstream(dir.path() / name, std::ios::binary) << pictures[static_cast<std::size_t>(i % 8)];
    }

    ui::TDrawGrid1 grid;
    grid.resize(600, 400);
    grid.show();
    ui::tdiskthumbmanager browser(grid, ui::kListJpegFiles);
    browser.SetActive(true);

    // The listing alone: thumbnails off.
    const Clock::time_point listStart = Clock::now();
    browser.SetFolder(dir.folder());
    const double listing = Ms(Clock::now() - listStart);

    // The anchor: every file read and decoded at 1/8, nothing else.
    const Clock::time_point plainStart = Clock::now();
    engine::JpegDecodeOptions options;
    options.scaleDenominator = 8;
    options.fast = true;
    engine::Bitmap decoded;
    for (int i = 1; i <= browser.Count(); ++i) {
        std::string bytes;
        engine::ReadPictureFile(browser.GetPath(i), bytes);
        engine::DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), options, decoded);
    }
    const double plain = Ms(Clock::now() - plainStart);

    // Ours, with the window's events handled between thumbnails as the page does it.
    Clock::time_point last = Clock::now();
    double longestGap = 0;
    browser.ProcessMessages = [&] {
        QCoreApplication::processEvents();
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, Ms(now - last));
        last = now;
    };
    const long before = ResidentKiB();
    const Clock::time_point buildStart = Clock::now();
    last = buildStart;
    browser.BuildThumbnails();
    const double build = Ms(Clock::now() - buildStart);
    const long after = ResidentKiB();
    int built = 0;
    for (int i = 1; i <= browser.Count(); ++i) built += browser.Thumbnail(i) != nullptr;
    const std::size_t imageBytes = browser.Thumbnail(1) ? static_cast<std::size_t>(browser.Thumbnail(1)->sizeInBytes()) : 0;

    std::printf("pictures: %d, thumbnails built: %d\n", browser.Count(), built);
    std::printf("listing: %.1f ms\n", listing);
    std::printf("plain 1/8 decode loop: %.1f ms (%.3f ms a picture)\n", plain, plain / std::max(1, count));
    std::printf("thumbnails built: %.1f ms (%.3f ms a picture)\n", build, build / std::max(1, count));
    std::printf("memory a thumbnail: %zu bytes of picture, %.1f KiB resident\n", imageBytes,
                static_cast<double>(after - before) / std::max(1, built));
    std::printf("longest time without handling events: %.2f ms\n", longestGap);
    std::printf("ratio thumbnails / plain decode loop: %.2f\n", build / plain);
    return 0;
}
