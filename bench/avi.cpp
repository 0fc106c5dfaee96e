// The AVI export's cost in CPU time, beside ffmpeg on the same files in the same run. A folder of
// saved pictures (640 x 480 JPEG files of a street scene that changes a little from one to the
// next) becomes a movie through the export's own path: each file read and decoded by the
// export's frames, written by the movie maker
//   (a) uncompressed, against ffmpeg decoding the same files into a rawvideo AVI on one thread;
//   (b) as Motion-JPEG, where pictures of the frame size go in as they are once the decoder has
//       read them through without a fault, against ffmpeg copying the same files (-c copy).
// Our CPU is this process's (user + system), ffmpeg's that of its process (wait4). Each run is
// made ORVELLO_BENCH_ROUNDS times (default 3), alternating, and its least CPU time counts.
// Two ratios each: over the whole run, which includes ffmpeg's start of about 0.2 s, and a frame
// (the difference between the run over all pictures and over the first tenth, divided by the
// frames between), which leaves every start-up out. The last line gives the speed ratios ours /
// ffmpeg (above 1: we use less CPU).
//
// ORVELLO_BENCH_PICTURES overrides the number of pictures (default 200).

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/cpu_usage.h"
#include "media/bitmap.h"
#include "media/mjpeg_encoder.h"
#include "media/movie_maker.h"
#include "tests/support/temp_dir.h"
#include "ui/disk/avi_frames.h"

extern char** environ;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

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

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// Runs a program and returns the CPU seconds (user + system) its process used; exits on failure.
double ChildCpuSeconds(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// The export's path for the files: its frames, the movie maker, with or without Motion-JPEG.
double OurCpuSeconds(const std::vector<std::string>& files, const std::string& movie, media::FourCC compressor) {
    media::MovieMakerSetup setup;
    setup.ChooseFileName = [&](std::string& name) {
        name = movie;
        return true;
    };
    setup.ChooseCompression = [compressor](std::vector<media::AVICompressOptions>& options, unsigned) {
        for (media::AVICompressOptions& o : options) o.fccHandler = compressor;
        return true;
    };
    setup.Texts = {"Enregistrement de l'image", "de", "Prêt"};
    std::filesystem::remove(movie);
    const double start = bench::CpuSeconds();
    ui::AviFrames frames(files);
    media::MakeAVIFromFrames(
        setup, frames.Count(), [&](int index) { return frames.Frame(index); },
        [](int, const std::string&, bool&) {}, 2, frames.JpegPictures());
    return bench::CpuSeconds() - start;
}

double FfmpegCpuSeconds(const std::filesystem::path& pictures, const std::vector<std::string>& output,
                        const std::string& movie) {
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-threads", "1", "-filter_threads", "1",
                                     "-framerate", "2", "-i", (pictures / "%06d.jpg").string(), "-threads", "1"};
    args.insert(args.end(), output.begin(), output.end());
    args.push_back(movie);
    return ChildCpuSeconds(args);
}

double MB(const std::string& file) { return static_cast<double>(std::filesystem::file_size(file)) / 1e6; }

// Least CPU seconds of one run over all pictures and over the first tenth.
struct Cost {
    double all = 1e9;
    double tenth = 1e9;
    void Add(double a, double t) {
        all = std::min(all, a);
        tenth = std::min(tenth, t);
    }
    double PerFrame(int count, int few) const { return (all - tenth) / (count - few); }
};

struct Side {
    Cost ours, ffmpeg;
    void Print(const char* name, const char* anchor, int count, int few) const {
        std::printf("%s: ours %.1f ms (%d pictures), %.1f ms (%d): %.3f ms a frame; %s %.1f ms, %.1f ms: %.3f ms a frame\n",
                    name, ours.all * 1e3, count, ours.tenth * 1e3, few, ours.PerFrame(count, few) * 1e3, anchor,
                    ffmpeg.all * 1e3, ffmpeg.tenth * 1e3, ffmpeg.PerFrame(count, few) * 1e3);
    }
    double WholeRun() const { return ffmpeg.all / ours.all; }
    double AFrame(int count, int few) const { return ffmpeg.PerFrame(count, few) / ours.PerFrame(count, few); }
};

std::string Name(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d.jpg", i);
    return name;
}

}  // namespace

int main() {
    const int count = std::max(20, EnvInt("ORVELLO_BENCH_PICTURES", 200));
    const int few = count / 10;
    const int rounds = EnvInt("ORVELLO_BENCH_ROUNDS", 3);

    testsupport::TempDir dir;
    const std::filesystem::path all = dir.path() / "all", tenth = dir.path() / "tenth";
    std::filesystem::create_directories(all);
    std::filesystem::create_directories(tenth);
    std::vector<std::string> files;
    double pictureBytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> jpeg = ScenePicture(i);
        std::ofstream(all / Name(i), std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
        if (i < few) std::filesystem::create_hard_link(all / Name(i), tenth / Name(i));
        files.push_back((all / Name(i)).string());
        pictureBytes += static_cast<double>(jpeg.size());
    }
    const std::vector<std::string> firstFiles(files.begin(), files.begin() + few);
    const std::vector<std::string> raw = {"-c:v", "rawvideo", "-pix_fmt", "bgr24"}, copy = {"-c", "copy"};
    const std::string ourRaw = (dir.path() / "ours_raw.avi").string(), ourMjpeg = (dir.path() / "ours_mjpeg.avi").string();
    const std::string ffRaw = (dir.path() / "ff_raw.avi").string(), ffCopy = (dir.path() / "ff_copy.avi").string();

    Side uncompressed, mjpeg;
    for (int round = 0; round < rounds; ++round) {
        uncompressed.ours.Add(OurCpuSeconds(files, ourRaw, 0), OurCpuSeconds(firstFiles, ourRaw, 0));
        uncompressed.ffmpeg.Add(FfmpegCpuSeconds(all, raw, ffRaw), FfmpegCpuSeconds(tenth, raw, ffRaw));
        mjpeg.ours.Add(OurCpuSeconds(files, ourMjpeg, media::kMotionJPEG),
                       OurCpuSeconds(firstFiles, ourMjpeg, media::kMotionJPEG));
        mjpeg.ffmpeg.Add(FfmpegCpuSeconds(all, copy, ffCopy), FfmpegCpuSeconds(tenth, copy, ffCopy));
    }
    // The last runs were over the first tenth: make the movies of all pictures again to show them.
    OurCpuSeconds(files, ourRaw, 0);
    OurCpuSeconds(files, ourMjpeg, media::kMotionJPEG);
    FfmpegCpuSeconds(all, raw, ffRaw);
    FfmpegCpuSeconds(all, copy, ffCopy);

    std::printf("pictures: %d (640 x 480, %.1f KB each on average), least CPU time of %d rounds\n", count,
                pictureBytes / count / 1e3, rounds);
    std::printf("movies: uncompressed ours %.1f MB, ffmpeg %.1f MB; motion-jpeg ours %.2f MB, ffmpeg %.2f MB (pictures "
                "%.2f MB)\n",
                MB(ourRaw), MB(ffRaw), MB(ourMjpeg), MB(ffCopy), pictureBytes / 1e6);
    uncompressed.Print("uncompressed", "ffmpeg -threads 1 rawvideo", count, few);
    mjpeg.Print("motion-jpeg from same-size pictures", "ffmpeg -c copy", count, few);
    std::printf("speed ours / ffmpeg (CPU): uncompressed %.2f whole run, %.2f a frame (target >= 1.0); motion-jpeg "
                "same-size %.2f whole run, %.2f a frame (target >= 0.5)\n",
                uncompressed.WholeRun(), uncompressed.AFrame(count, few), mjpeg.WholeRun(), mjpeg.AFrame(count, few));
    return 0;
}
