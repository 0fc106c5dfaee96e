// The AVI export's cost in CPU time, beside ffmpeg on the same files in the same run. A folder of
// saved pictures (640 x 480 JPEG files of a street scene that changes a little from one to the
// next) becomes a movie through the export's own path: each file read and decoded by the
// export's frames, written by the movie maker
//   (a) uncompressed, against ffmpeg decoding the same files into a rawvideo AVI on one thread;
//   (b) as Motion-JPEG, where pictures of the frame size go in as they are once the decoder has
//       read them through without a fault, against ffmpeg copying the same files (-c copy).
// Our CPU is this process's (user + system), ffmpeg's that of its process (wait4). Each run is
// made ORVELLO_BENCH_ROUNDS times (default 5), alternating, and its least CPU time counts.
// Two ratios each: over the run of the pictures, which includes ffmpeg's start of about 0.2 s of
// CPU, and a frame with every start-up left out: the difference between that run and a longer
// one (each picture used 5 or 20 times over), divided by the frames between. The last line gives the
// speed ratios ours / ffmpeg (above 1: we use less CPU).
//
// ORVELLO_BENCH_PICTURES sets the number of pictures (20 to 200, default 200).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/cpu_usage.h"
#include "bench/ffmpeg_movie.h"
#include "bench/movie_setup.h"
#include "media/bitmap.h"
#include "media/mjpeg_encoder.h"
#include "media/movie_maker.h"
#include "tests/support/temp_dir.h"
#include "ui/disk/avi_frames.h"

namespace {

using bench::NumberedPicture;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
// The longer runs use each picture this many times: an uncompressed movie of 5 x 200 frames stays
// within the 1 GB of an AVI file, and copying needs many frames to stand out from ffmpeg's start.
constexpr int kLongerUncompressed = 5;
constexpr int kLongerMotionJpeg = 20;

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value ? std::max(1, std::atoi(value)) : fallback;
}

std::uint8_t Clamp(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

// Smooth value noise in [0, 1): bilinear between hashed lattice points Cell pixels apart.
double Noise(int x, int y, int cell, unsigned seed) {
    const auto hash = [seed](int i, int j) {
        unsigned h = static_cast<unsigned>(i) * 374761393u + static_cast<unsigned>(j) * 668265263u + seed * 2246822519u;
        h = (h ^ (h >> 13)) * 1274126177u;
        return static_cast<double>((h ^ (h >> 16)) & 0xFFFF) / 65536.0;
    };
    const int i = x / cell, j = y / cell;
    const double fx = static_cast<double>(x % cell) / cell, fy = static_cast<double>(y % cell) / cell;
    const double top = hash(i, j) * (1 - fx) + hash(i + 1, j) * fx;
    const double bottom = hash(i, j + 1) * (1 - fx) + hash(i + 1, j + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

// A street at picture Index: sky with clouds drifting, houses with windows, a textured road, a
// car crossing, and a little sensor noise, as a webcam's pictures look (about 40 KB at quality 85).
std::vector<std::uint8_t> ScenePicture(int index) {
    media::Bitmap scene(kWidth, kHeight);
    unsigned grain = 12345u + static_cast<unsigned>(index) * 7919u;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = scene.Row(y);
        for (int x = 0; x < kWidth; ++x, p += 3) {
            double r, g, b;
            const double house = Noise(x, 0, 80, 7);
            const int roof = 150 + static_cast<int>(house * 90);
            if (y < roof) {  // sky and clouds moving right
                const double cloud = Noise(x - index * 2, y, 48, 3) * 0.6 + Noise(x - index * 2, y, 12, 4) * 0.4;
                const double c = std::max(0.0, cloud - 0.45) * 2.2;
                r = 90 + y * 0.3 + c * 150;
                g = 140 + y * 0.2 + c * 110;
                b = 230 - y * 0.1 + c * 25;
            } else if (y < 360) {  // house fronts with windows
                const int front = x / 80;
                r = 120 + front * 23 % 90;
                g = 100 + front * 41 % 70;
                b = 80 + front * 17 % 60;
                if ((x % 80) > 15 && (x % 80) < 35 && ((y - roof) % 60) > 20 && ((y - roof) % 60) < 45) r = g = b = 40;
                const double wall = Noise(x, y, 6, 9) * 30;
                r += wall;
                g += wall;
                b += wall;
            } else {  // road
                const double t = Noise(x, y, 3, 11) * 40 + Noise(x, y, 20, 12) * 20;
                r = g = b = 70 + t;
                if (y > 415 && y < 420 && (x / 40) % 2 == 0) r = g = b = 220;
            }
            const int car = (index * 9) % (kWidth + 120) - 120;  // crossing from the left
            if (x >= car && x < car + 110 && y > 370 && y < 410) {
                r = 180;
                g = 30;
                b = 30;
            }
            grain = grain * 1103515245u + 12345u;
            const double n = static_cast<double>((grain >> 16) & 7) - 3.5;
            p[0] = Clamp(b + n);
            p[1] = Clamp(g + n);
            p[2] = Clamp(r + n);
        }
    }
    std::vector<std::uint8_t> jpeg;
    media::EncodeJPEG({scene.Row(0), kWidth, kHeight, static_cast<std::size_t>(scene.RowSize()), false}, 85, jpeg);
    return jpeg;
}

// The export's path for the files: its frames, the movie maker, with or without Motion-JPEG.
double OurCpuSeconds(const std::vector<std::string>& files, const std::string& movie, media::FourCC compressor) {
    const media::MovieMakerSetup setup = bench::ScriptedMovieSetup(movie, compressor);
    std::filesystem::remove(movie);  // dropping the last movie's pages is no part of the work
    const double start = bench::CpuSeconds();
    ui::AviFrames frames(files);
    media::MakeAVIFromFrames(
        setup, frames.Count(), [&](int index) { return frames.Frame(index); },
        [](int, const std::string&, bool&) {}, 2, frames.JpegPictures());
    return bench::CpuSeconds() - start;
}

double MB(const std::string& file) { return static_cast<double>(std::filesystem::file_size(file)) / 1e6; }

// Least CPU seconds of the run over the pictures and of a longer one (each picture used Times
// times over).
struct Cost {
    double run = 1e9;
    double longer = 1e9;
    void Add(double r, double l) {
        run = std::min(run, r);
        longer = std::min(longer, l);
    }
    double PerFrame(int count, int times) const { return (longer - run) / (count * (times - 1)); }
};

struct Side {
    int times;
    Cost ours, ffmpeg;
    void Print(const char* name, const char* anchor, int count) const {
        std::printf("%s: ours %.1f ms (%d frames), %.1f ms (%d): %.3f ms a frame; %s %.1f ms, %.1f ms: %.3f ms a frame\n",
                    name, ours.run * 1e3, count, ours.longer * 1e3, count * times, ours.PerFrame(count, times) * 1e3,
                    anchor, ffmpeg.run * 1e3, ffmpeg.longer * 1e3, ffmpeg.PerFrame(count, times) * 1e3);
    }
    double Run() const { return ffmpeg.run / ours.run; }
    double AFrame(int count) const { return ffmpeg.PerFrame(count, times) / ours.PerFrame(count, times); }
};

}  // namespace

int main() {
    const int count = std::clamp(EnvInt("ORVELLO_BENCH_PICTURES", 200), 20, 200);
    const int rounds = EnvInt("ORVELLO_BENCH_ROUNDS", 5);

    testsupport::TempDir dir;
    const std::filesystem::path pictures = dir.path() / "pictures";
    std::filesystem::create_directories(pictures);
    std::vector<std::string> files;
    double pictureBytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> jpeg = ScenePicture(i);
        std::ofstream(pictures / NumberedPicture(i), std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
        files.push_back((pictures / NumberedPicture(i)).string());
        pictureBytes += static_cast<double>(jpeg.size());
    }
    // The pictures Times times over, as links in a folder of their own.
    const auto longer = [&](int times, std::vector<std::string>& longerFiles) {
        const std::filesystem::path folder = dir.path() / ("times" + std::to_string(times));
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count * times; ++i) {
            std::filesystem::create_hard_link(pictures / NumberedPicture(i % count), folder / NumberedPicture(i));
            longerFiles.push_back((folder / NumberedPicture(i)).string());
        }
        return folder;
    };
    Side uncompressed{kLongerUncompressed, {}, {}}, mjpeg{kLongerMotionJpeg, {}, {}};
    std::vector<std::string> rawFiles, copyFiles;
    const std::filesystem::path rawFolder = longer(uncompressed.times, rawFiles);
    const std::filesystem::path copyFolder = longer(mjpeg.times, copyFiles);
    const std::vector<std::string> raw = {"-c:v", "rawvideo", "-pix_fmt", "bgr24"}, copy = {"-c", "copy"};
    const std::string ourRaw = (dir.path() / "ours_raw.avi").string(), ourMjpeg = (dir.path() / "ours_mjpeg.avi").string();
    const std::string ffRaw = (dir.path() / "ff_raw.avi").string(), ffCopy = (dir.path() / "ff_copy.avi").string();

    // The longer runs first, so the movies left at the end are those of the pictures.
    for (int round = 0; round < rounds; ++round) {
        const double ourLonger = OurCpuSeconds(rawFiles, ourRaw, 0);
        uncompressed.ours.Add(OurCpuSeconds(files, ourRaw, 0), ourLonger);
        const double ffLonger = bench::FfmpegMovieCpuSeconds(rawFolder, raw, ffRaw);
        uncompressed.ffmpeg.Add(bench::FfmpegMovieCpuSeconds(pictures, raw, ffRaw), ffLonger);
        const double ourMjpegLonger = OurCpuSeconds(copyFiles, ourMjpeg, media::kMotionJPEG);
        mjpeg.ours.Add(OurCpuSeconds(files, ourMjpeg, media::kMotionJPEG), ourMjpegLonger);
        const double ffCopyLonger = bench::FfmpegMovieCpuSeconds(copyFolder, copy, ffCopy);
        mjpeg.ffmpeg.Add(bench::FfmpegMovieCpuSeconds(pictures, copy, ffCopy), ffCopyLonger);
    }

    std::printf("pictures: %d (640 x 480, %.1f KB each on average), least CPU time of %d rounds\n", count,
                pictureBytes / count / 1e3, rounds);
    std::printf("movies: uncompressed ours %.1f MB, ffmpeg %.1f MB; motion-jpeg ours %.2f MB, ffmpeg %.2f MB (pictures "
                "%.2f MB)\n",
                MB(ourRaw), MB(ffRaw), MB(ourMjpeg), MB(ffCopy), pictureBytes / 1e6);
    uncompressed.Print("uncompressed", "ffmpeg -threads 1 rawvideo", count);
    mjpeg.Print("motion-jpeg from same-size pictures", "ffmpeg -c copy", count);
    std::printf("speed ours / ffmpeg (CPU), targets uncompressed >= 1.0, motion-jpeg >= 0.5: over the %d pictures "
                "uncompressed %.2f, motion-jpeg %.2f; a frame, start-up left out, uncompressed %.2f, motion-jpeg %.2f\n",
                count, uncompressed.Run(), mjpeg.Run(), uncompressed.AFrame(count), mjpeg.AFrame(count));
    return 0;
}
