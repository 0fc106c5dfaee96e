// A webcam serving a changing 8000 x 8000 picture every second: the real manager, fetch threads
// and still-picture step (saving mode 254, into a temporary folder) against a local nginx whose
// picture is replaced every second by the next of three. Meanwhile the main thread runs its
// event loop, and the longest gap between two of its turns is measured over the run: a picture
// decoded or compared on the main thread shows as a gap of that length. The anchor is the time
// libjpeg-turbo, called in-process with its defaults, takes to decode the same picture at full
// size; the ratio is the longest gap over that time.
// ORVELLO_BIG_PICTURE_SECONDS changes the 10 s run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kSide = 8000;
constexpr int kPictures = 3;

std::chrono::seconds RunLength() {
    const char* text = std::getenv("ORVELLO_BIG_PICTURE_SECONDS");
    return std::chrono::seconds(text ? std::max(2, std::atoi(text)) : 10);
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// libjpeg-turbo on its own: a full-size decode with the library's defaults, 64 rows per call.
double LibjpegDecodeMilliseconds(const std::string& bytes) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    const auto start = Clock::now();
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 3;
    std::vector<unsigned char> pixels(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[64];
        const unsigned left = std::min(64u, cinfo.output_height - cinfo.output_scanline);
        for (unsigned i = 0; i < left; ++i) rows[i] = pixels.data() + (cinfo.output_scanline + i) * stride;
        jpeg_read_scanlines(&cinfo, rows, left);
    }
    jpeg_finish_decompress(&cinfo);
    const double ms = Milliseconds(Clock::now() - start);
    jpeg_destroy_decompress(&cinfo);
    return ms;
}

// Every second the served picture becomes the next one, replaced whole by a rename.
class PictureChanger {
public:
    PictureChanger(fs::path root, std::vector<fs::path> pictures)
        : root_(std::move(root)), pictures_(std::move(pictures)), thread_([this] { Run(); }) {}
    ~PictureChanger() {
        stop_ = true;
        thread_.join();
    }

private:
    void Run() {
        for (int n = 1; !stop_; ++n) {
            const auto due = Clock::now() + std::chrono::seconds(1);
            while (!stop_ && Clock::now() < due) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            fs::copy_file(pictures_[static_cast<std::size_t>(n) % pictures_.size()], root_ / "big.tmp",
                          fs::copy_options::overwrite_existing);
            fs::rename(root_ / "big.tmp", root_ / "big.jpg");
        }
    }

    const fs::path root_;
    const std::vector<fs::path> pictures_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void BM_BigPicture(benchmark::State& state) {
    if (testsupport::FindProgram("nginx").empty() || testsupport::FindProgram("ffmpeg").empty()) {
        state.SkipWithError("needs nginx and ffmpeg");
        return;
    }
    testsupport::TempDir temp;
    testsupport::NginxPeer nginx(temp.path() / "nginx");
    // Three successive frames of ffmpeg's test pattern: each differs from the one before. Its
    // progress lines tell a slow encode on a loaded machine from a hung one.
    const fs::path made = temp.path() / "made";
    fs::create_directories(made);
    const auto ffmpeg = testsupport::RunProgram(
        {"ffmpeg", "-hide_banner", "-nostdin", "-stats_period", "1", "-f", "lavfi", "-i",
         "testsrc=size=" + std::to_string(kSide) + "x" + std::to_string(kSide) + ":rate=1", "-frames:v",
         std::to_string(kPictures), "-q:v", "4", (made / "%d.jpg").string()});
    std::vector<fs::path> served;
    for (int i = 1; i <= kPictures; ++i) served.push_back(made / (std::to_string(i) + ".jpg"));
    if (ffmpeg.exit_code != 0 || !fs::exists(served.back())) {
        state.SkipWithError(("ffmpeg could not make the pictures: " + ffmpeg.err).c_str());
        return;
    }
    fs::copy_file(served[0], nginx.root() / "big.jpg");
    const std::string firstBytes = testsupport::ReadFile(served[0]);
    const auto data = temp.path() / "data";
    fs::create_directories(data);

    for (auto _ : state) {
        engine::TDiskManRec diskman = engine::DefaultDiskMan();
        diskman.GlobalSaveOn = 0;
        auto settings = std::make_shared<engine::FetchThreadSettings>();
        settings->newPicture = engine::StillPictureStep(diskman);
        auto manager = std::make_unique<engine::twebcammanager>(data.string() + "/", 4, engine::DefaultExtra1(),
                                                                engine::DefaultConfig(),
                                                                engine::FetchThreadServices(settings));
        long pictures = 0, saved = 0;
        manager->OnNewPicture = [&](int, const std::string& file, const std::string*, std::uint8_t,
                                    engine::twebcampicture*, int) {
            ++pictures;
            saved += file.empty() ? 0 : 1;
        };
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.PictureURL = nginx.Url("/big.jpg");
        rec.Name = "big";
        rec.Refresh = 1;
        rec.Enabled = 1;
        rec.SaveMode = engine::kSaveOnMotion;
        manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);

        PictureChanger changer(nginx.root(), served);
        // Starting the threads sleeps on purpose (10 ms between them): the run is measured from
        // the first turn on.
        manager->StartWebcam(1);
        Clock::duration longest{};
        Clock::time_point last = Clock::now();
        const auto end = last + RunLength();
        platform::Dispatcher::Main().WaitUntil(
            [&] {
                const auto now = Clock::now();
                longest = std::max(longest, now - last);
                last = now;
                return now >= end;
            },
            std::chrono::milliseconds(1));
        manager.reset();

        std::vector<double> decodes;
        for (int i = 0; i < 3; ++i) decodes.push_back(LibjpegDecodeMilliseconds(firstBytes));
        const double decode = *std::min_element(decodes.begin(), decodes.end());
        const double gap = Milliseconds(longest);
        state.counters["pictures"] = static_cast<double>(pictures);
        state.counters["saved"] = static_cast<double>(saved);
        state.counters["picture_mb"] = static_cast<double>(firstBytes.size()) / 1e6;
        state.counters["longest_gap_ms"] = gap;
        state.counters["libjpeg_full_decode_ms"] = decode;
        state.SetLabel("gap/decode ratio " + std::to_string(decode > 0 ? gap / decode : 0));
    }
}

BENCHMARK(BM_BigPicture)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
