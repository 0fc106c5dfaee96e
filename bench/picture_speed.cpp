// Picture speed: decoding 640x480 and 1280x720 JPEGs at 1/4 and 1/8 scale with our decoder,
// against libjpeg-turbo's djpeg doing the same in the same run (one process per picture, so its
// figure includes the start of a process), and one motion comparison of two 640x480 pictures
// including their decode. The pictures are made by cjpeg from generated pixels.
// Needs djpeg and cjpeg (Debian libjpeg-turbo-progs). Rates are pictures per second.

#include "engine/jpeg_picture.h"
#include "engine/motion_compare.h"
#include "engine/picture_folder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The generated pictures, removed when the program ends.
class BenchFolder {
public:
    BenchFolder() : path_(fs::temp_directory_path() / ("orvello-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

const fs::path& Folder() {
    static const BenchFolder folder;
    return folder.path();
}

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A picture with smooth gradients, edges and some noise, like an outdoor webcam's; `shift`
// moves a bright square so that two pictures differ.
std::string MakePicture(int w, int h, int shift) {
    const fs::path ppm = Folder() / ("p" + std::to_string(w) + "_" + std::to_string(shift) + ".ppm");
    const fs::path jpg = ppm.string() + ".jpg";
    if (!fs::exists(jpg)) {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << w << " " << h << "\n255\n";
        unsigned seed = 12345;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int noise = static_cast<int>((seed >> 16) % 16);
                const bool square = x > shift + w / 4 && x < shift + w / 2 && y > h / 3 && y < h / 2;
                const char px[3] = {static_cast<char>(square ? 250 : (x * 255 / w + noise) & 255),
                                    static_cast<char>((y * 255 / h + noise) & 255),
                                    static_cast<char>(((x + y) % 64 < 32 ? 60 : 160) + noise)};
                out.write(px, 3);
            }
        out.close();
        const std::string command = "cjpeg -quality 85 -outfile '" + jpg.string() + "' '" + ppm.string() + "'";
        if (std::system(command.c_str()) != 0)
            return {};
    }
    return jpg.string();
}

void Ours(benchmark::State& state, int w, int h, engine::JpegScale scale) {
    if (!HaveTool("cjpeg")) {
        state.SkipWithError("cjpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    std::string bytes;
    engine::ReadPictureFile(MakePicture(w, h, 0), bytes);
    for (auto _ : state) {
        engine::JpegPicture picture(bytes);
        picture.SetPerformance(engine::JpegPerformance::BestSpeed);
        picture.SetScale(scale);
        picture.DIBNeeded();
        benchmark::DoNotOptimize(picture.bitmap().data());
    }
    state.counters["pictures/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Djpeg(benchmark::State& state, int w, int h, int denominator) {
    if (!HaveTool("djpeg") || !HaveTool("cjpeg")) {
        state.SkipWithError("djpeg or cjpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    const std::string command = "djpeg -scale 1/" + std::to_string(denominator) + " -dct fast -nosmooth -outfile /dev/null '" +
                                MakePicture(w, h, 0) + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("djpeg failed");
            return;
        }
    }
    state.counters["pictures/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void MotionComparison(benchmark::State& state) {
    if (!HaveTool("cjpeg")) {
        state.SkipWithError("cjpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    const std::string saved = MakePicture(640, 480, 0);
    std::string bytes;
    engine::ReadPictureFile(MakePicture(640, 480, 40), bytes);
    const engine::TMotionSettingsRec settings = engine::DefaultMotionSettings();
    for (auto _ : state) {
        engine::JpegPicture picture(bytes);
        picture.SetPerformance(engine::JpegPerformance::BestSpeed);
        int score = 0;
        benchmark::DoNotOptimize(engine::CompareJpegWithFile(saved, picture, settings, score));
    }
    state.counters["comparisons/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(Ours, 640x480_quarter, 640, 480, engine::JpegScale::Quarter)->UseRealTime();
BENCHMARK_CAPTURE(Djpeg, 640x480_quarter, 640, 480, 4)->UseRealTime();
BENCHMARK_CAPTURE(Ours, 640x480_eighth, 640, 480, engine::JpegScale::Eighth)->UseRealTime();
BENCHMARK_CAPTURE(Djpeg, 640x480_eighth, 640, 480, 8)->UseRealTime();
BENCHMARK_CAPTURE(Ours, 1280x720_quarter, 1280, 720, engine::JpegScale::Quarter)->UseRealTime();
BENCHMARK_CAPTURE(Djpeg, 1280x720_quarter, 1280, 720, 4)->UseRealTime();
BENCHMARK_CAPTURE(Ours, 1280x720_eighth, 1280, 720, engine::JpegScale::Eighth)->UseRealTime();
BENCHMARK_CAPTURE(Djpeg, 1280x720_eighth, 1280, 720, 8)->UseRealTime();
BENCHMARK(MotionComparison)->UseRealTime();
