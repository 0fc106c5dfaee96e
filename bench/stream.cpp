// A streaming webcam at full speed: a local 640 x 480 MJPEG stream (ffmpeg's multipart output,
// 100 pictures sent over and over by the scripted peer as fast as the socket takes them)
// through the real manager, stream thread and stream-frame step, in saving mode 255 so that the
// disk is out of the measure: every picture is still decoded at quarter size for its event and
// drawn as the thumbnail. Reports pictures per second and CPU milliseconds per picture (the
// peer's own thread left out), then ffmpeg reads the same stream from the same peer
// ("ffmpeg -f mpjpeg -i URL -c copy -f null -") and its figures are reported beside ours.
// ORVELLO_STREAM_ROUNDS changes how often the 100 pictures are sent (default 20).

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/mjpeg_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPicturesPerRound = 100;

std::size_t Rounds() {
    const char* text = std::getenv("ORVELLO_STREAM_ROUNDS");
    return static_cast<std::size_t>(text ? std::max(1, std::atoi(text)) : 20);
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Pictures per second and CPU milliseconds per picture of our side.
struct Run {
    long pictures = 0;
    double seconds = 0;
    double cpu = 0;
};

Run OurRun(testsupport::MjpegPeer& peer, const std::filesystem::path& data, long expected) {
    engine::TDiskManRec diskman = engine::DefaultDiskMan();
    diskman.GlobalSaveOn = 1;
    diskman.GlobalSaveMode = engine::kSaveNone;
    auto settings = std::make_shared<engine::FetchThreadSettings>();
    settings->newFrame = engine::StreamPictureStep(diskman);
    auto manager = std::make_unique<engine::twebcammanager>(
        data.string() + "/", 4, engine::DefaultExtra1(), engine::DefaultConfig(),
        engine::FetchThreadServices(settings, engine::StreamThreadFactory(settings)));
    Run run;
    Clock::time_point last;
    manager->OnStreamPicture = [&](int, const std::string&, const std::string*, std::uint8_t, engine::twebcampicture*,
                                   int) {
        ++run.pictures;
        last = Clock::now();
    };
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL = peer.Url("/cam");
    rec.Name = "cam";
    rec.Refresh = 60;
    rec.Enabled = 1;
    rec.WebcamType = engine::kWebcamTypeStream;
    manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF) - peer.CpuSeconds();
    const auto start = Clock::now();
    manager->StartWebcam(1);
    platform::Dispatcher::Main().WaitUntil([&] { return run.pictures >= expected || peer.WaitEnded(1, {}); },
                                           std::chrono::milliseconds(5), start + std::chrono::minutes(5));
    // The peer has closed; the pictures still on their way come in shortly.
    platform::Dispatcher::Main().WaitUntil([&] { return run.pictures >= expected; }, std::chrono::milliseconds(5),
                                           Clock::now() + std::chrono::seconds(2));
    run.seconds = std::chrono::duration<double>(last - start).count();
    run.cpu = CpuSeconds(RUSAGE_SELF) - peer.CpuSeconds() - cpuBefore;
    manager.reset();
    return run;
}

Run FfmpegRun(const testsupport::MjpegPeer& peer) {
    Run run;
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = Clock::now();
    const auto result = testsupport::RunProgram(
        {"ffmpeg", "-hide_banner", "-f", "mpjpeg", "-i", peer.Url("/cam"), "-c", "copy", "-f", "null", "-"});
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.cpu = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    // The last progress line counts them all.
    const std::regex count("frame=\\s*([0-9]+)");
    for (auto it = std::sregex_iterator(result.err.begin(), result.err.end(), count); it != std::sregex_iterator(); ++it)
        if (result.exit_code == 0) run.pictures = std::stol((*it)[1].str());
    return run;
}

void BM_Stream(benchmark::State& state) {
    if (testsupport::FindProgram("ffmpeg").empty()) {
        state.SkipWithError("needs ffmpeg");
        return;
    }
    const auto made = testsupport::RunProgram({"ffmpeg", "-hide_banner", "-loglevel", "error", "-f", "lavfi", "-i",
                                               "testsrc=size=640x480:rate=25", "-frames:v",
                                               std::to_string(kPicturesPerRound), "-c:v", "mjpeg", "-q:v", "5", "-f",
                                               "mpjpeg", "-"});
    if (made.exit_code != 0) {
        state.SkipWithError(("ffmpeg could not make the stream: " + made.err).c_str());
        return;
    }
    testsupport::TempDir temp;
    const auto data = temp.path() / "data";
    std::filesystem::create_directories(data);
    testsupport::MjpegPeer::Reply reply;
    // ffmpeg's output starts with a boundary line and ends with one: the first goes into the
    // head, so that the rounds join into one well-formed stream.
    const std::string boundary = "--ffmpeg\r\n";
    if (made.out.rfind(boundary, 0) != 0) {
        state.SkipWithError("ffmpeg's stream does not start with its boundary");
        return;
    }
    reply.head = testsupport::MultipartHead("multipart/x-mixed-replace", "ffmpeg") + boundary;
    reply.body = made.out.substr(boundary.size());
    reply.times = Rounds();
    const long expected = static_cast<long>(reply.times) * kPicturesPerRound;

    for (auto _ : state) {
        testsupport::MjpegPeer peer({reply});
        const Run ours = OurRun(peer, data, expected);
        const Run ffmpeg = FfmpegRun(peer);
        if (ours.pictures != expected || ffmpeg.pictures != expected)
            state.SetLabel("pictures: ours " + std::to_string(ours.pictures) + ", ffmpeg " +
                           std::to_string(ffmpeg.pictures) + " of " + std::to_string(expected));
        const double ourRate = ours.seconds > 0 ? static_cast<double>(ours.pictures) / ours.seconds : 0;
        const double ffmpegRate = ffmpeg.seconds > 0 ? static_cast<double>(ffmpeg.pictures) / ffmpeg.seconds : 0;
        state.counters["pictures_per_s"] = ourRate;
        state.counters["cpu_ms_per_picture"] = ours.pictures ? ours.cpu * 1000.0 / static_cast<double>(ours.pictures) : 0;
        state.counters["ffmpeg_pictures_per_s"] = ffmpegRate;
        state.counters["ffmpeg_cpu_ms_per_picture"] =
            ffmpeg.pictures ? ffmpeg.cpu * 1000.0 / static_cast<double>(ffmpeg.pictures) : 0;
        state.counters["ours_vs_ffmpeg"] = ffmpegRate > 0 ? ourRate / ffmpegRate : 0;
        state.counters["picture_kb"] = static_cast<double>(made.out.size()) / kPicturesPerRound / 1024.0;
    }
}

BENCHMARK(BM_Stream)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
