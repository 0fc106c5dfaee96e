// A streaming webcam at full speed: a local multipart/x-mixed-replace stream of 100 distinct
// 640 x 480 pictures of about 38 KB (a landscape with moving vehicles), sent over and over by the
// scripted peer as fast as the socket takes them, through the real manager, stream thread and
// stream-frame step. Saving mode 255 (nothing saved: every frame decoded for its event and
// drawn as the thumbnail), then mode 254 (the motion test against the previous frame, and a
// saved file when it finds motion). Reported: frames per second and CPU of this process per
// frame (the peer's own thread left out).
// The anchor, in the same run: ffmpeg, single-threaded, decoding the same frames (a file of the
// same pictures one after another, read as "-f mjpeg") at full size and at quarter size (its
// decoder's own reduced decode, "-lowres 2"); its CPU per frame is its user + system time less
// that of a run of one frame (its start), over the frames.
// ORVELLO_STREAM_ROUNDS changes how often the 100 pictures are sent (default 20).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "bench/cpu_usage.h"
#include "bench/measured_program.h"
#include "bench/natural_pictures.h"
#include "bench/saved_files.h"
#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kPicturesPerRound = 100;

long Rounds() {
    const char* text = std::getenv("ORVELLO_STREAM_ROUNDS");
    return text ? std::max(1, std::atoi(text)) : 20;
}

struct Run {
    long frames = 0;
    long saved = 0;
    long files = 0;  // left in the webcam's folder
    double seconds = 0;
    double cpu = 0;
    double MsPerFrame() const { return frames > 0 ? cpu * 1000.0 / static_cast<double>(frames) : 0; }
    double PerSecond() const { return seconds > 0 ? static_cast<double>(frames) / seconds : 0; }
};

Run OurRun(const testsupport::MjpegPeer::Reply& reply, const fs::path& data, std::uint8_t mode, long expected) {
    testsupport::MjpegPeer peer({reply});
    fs::remove_all(data);
    fs::create_directories(data);
    engine::TDiskManRec diskman = engine::DefaultDiskMan();
    diskman.GlobalSaveOn = 1;
    diskman.GlobalSaveMode = mode;
    auto settings = std::make_shared<engine::FetchThreadSettings>();
    settings->newFrame = engine::StreamPictureStep(diskman);
    auto manager = std::make_unique<engine::twebcammanager>(
        data.string() + "/", 4, engine::DefaultExtra1(), engine::DefaultConfig(),
        engine::FetchThreadServices(settings, engine::StreamThreadFactory(settings)));
    Run run;
    Clock::time_point last;
    manager->OnStreamPicture = [&](int, const std::string& fileName, const std::string*, std::uint8_t,
                                   engine::twebcampicture*, int) {
        ++run.frames;
        run.saved += !fileName.empty();
        last = Clock::now();
    };
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL = peer.Url("/cam");
    rec.Name = "cam";
    rec.Refresh = 60;
    rec.Enabled = 1;
    rec.WebcamType = engine::kWebcamTypeStream;
    manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
    const double cpuBefore = bench::CpuSeconds() - peer.CpuSeconds();
    const auto start = Clock::now();
    manager->StartWebcam(1);
    auto& main = platform::Dispatcher::Main();
    main.WaitUntil([&] { return run.frames >= expected || peer.WaitEnded(1, {}); }, std::chrono::milliseconds(5),
                   start + std::chrono::minutes(5));
    // The peer has closed; the frames still on their way come in shortly.
    main.WaitUntil([&] { return run.frames >= expected; }, std::chrono::milliseconds(5),
                   Clock::now() + std::chrono::seconds(2));
    run.seconds = std::chrono::duration<double>(last - start).count();
    run.cpu = bench::CpuSeconds() - peer.CpuSeconds() - cpuBefore;
    manager.reset();
    run.files = bench::SavedFiles(data);
    return run;
}

// ffmpeg decoding the file single-threaded, with the extra decoder options, to nothing.
bench::MeasuredProgram FfmpegDecode(const fs::path& file, const std::vector<std::string>& options, long frames) {
    std::vector<std::string> argv = {"ffmpeg", "-hide_banner", "-nostdin", "-threads", "1"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(),
                {"-f", "mjpeg", "-i", file.string(), "-frames:v", std::to_string(frames), "-f", "null", "-"});
    return bench::RunMeasured(argv);
}

long FramesDecoded(const std::string& log) {
    long frames = 0;
    const std::regex count("frame=\\s*([0-9]+)");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), count); it != std::sregex_iterator(); ++it)
        frames = std::stol((*it)[1].str());
    return frames;
}

// ffmpeg's CPU per frame, its start left out; 0 when it failed.
Run FfmpegRun(const fs::path& file, const std::vector<std::string>& options, long frames) {
    const auto start = FfmpegDecode(file, options, 1);
    const auto all = FfmpegDecode(file, options, frames);
    Run run;
    if (start.result.exit_code != 0 || all.result.exit_code != 0) return run;
    run.frames = FramesDecoded(all.result.err) - 1;
    run.cpu = all.cpuSeconds - start.cpuSeconds;
    return run;
}

int RunAll() {
    if (testsupport::FindProgram("ffmpeg").empty()) {
        std::printf("stream needs ffmpeg\n");
        return 1;
    }
    testsupport::TempDir temp;
    setenv("XDG_CONFIG_HOME", (temp.path() / "config").c_str(), 1);
    const std::vector<std::string> pictures = bench::NaturalPictures(kPicturesPerRound);
    testsupport::MjpegPeer::Reply reply;
    reply.head = testsupport::MultipartHead();
    reply.body = testsupport::MultipartBody(pictures);
    reply.times = static_cast<std::size_t>(Rounds());
    const long expected = Rounds() * kPicturesPerRound;
    // The same frames for ffmpeg, one picture after another.
    const fs::path file = temp.path() / "frames.mjpeg";
    {
        std::ofstream out(file, std::ios::binary);
        for (long round = 0; round < Rounds(); ++round)
            for (const auto& picture : pictures) out << picture;
    }
    std::printf("%ld frames of 640 x 480, %.1f KB on average, over one connection\n", expected,
                static_cast<double>(reply.body.size()) / kPicturesPerRound / 1024.0);

    const Run none = OurRun(reply, temp.path() / "data", engine::kSaveNone, expected);
    std::printf("mode 255: %ld frames, %.0f frames/s, CPU %.3f ms/frame\n", none.frames, none.PerSecond(),
                none.MsPerFrame());
    std::fflush(stdout);
    const Run motion = OurRun(reply, temp.path() / "data", engine::kSaveOnMotion, expected);
    std::printf("mode 254: %ld frames, %ld saved (%ld files in the folder), %.0f frames/s, CPU %.3f ms/frame\n",
                motion.frames, motion.saved, motion.files, motion.PerSecond(), motion.MsPerFrame());
    const Run full = FfmpegRun(file, {}, expected);
    const Run quarter = FfmpegRun(file, {"-lowres", "2"}, expected);
    std::printf("ffmpeg -threads 1: full size %.3f ms/frame, quarter size (-lowres 2) %.3f ms/frame (%ld frames)\n",
                full.MsPerFrame(), quarter.MsPerFrame(), quarter.frames);
    const double q = quarter.MsPerFrame();
    std::printf("targets: CPU per frame <= 0.5 ms (mode 255 %.3f, mode 254 %.3f) and <= 1.25 x ffmpeg's quarter-size "
                "decode\n",
                none.MsPerFrame(), motion.MsPerFrame());
    std::printf("ratio cpu_per_frame / ffmpeg_quarter_decode_cpu_per_frame: %.2f (mode 255), %.2f (mode 254)\n",
                q > 0 ? none.MsPerFrame() / q : 0, q > 0 ? motion.MsPerFrame() / q : 0);
    return 0;
}

}  // namespace

int main() { return RunAll(); }
