// Making a movie of 500 saved pictures (640 × 480 JPEG files), as the AVI export does: each file
// is decoded and written as a frame, uncompressed or as Motion-JPEG. ffmpeg makes the same
// movies from the same files in the same run for comparison: re-encoding to Motion-JPEG at
// -q:v 3, and copying the JPEG pictures as they are (-c copy).
//
// Counters: frames per second (fps) and megabytes of movie written per second (bytes_per_second).
// The pictures are decoded with libjpeg-turbo directly here; the program decodes through its
// picture class.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "media/bitmap_to_dib.h"
#include "media/mjpeg_encoder.h"
#include "media/movie_maker.h"

namespace {

constexpr int kPictures = 500;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct JpegError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// Decodes a JPEG file's bytes into Out (24-bit, B, G, R); false when the data is not a picture.
bool DecodeInto(const std::string& bytes, media::Bitmap& out) {
  jpeg_decompress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); };
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (out.Width() != int(info.output_width) || out.Height() != int(info.output_height))
    out = media::Bitmap(int(info.output_width), int(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.Row(int(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

// 500 pictures of a scene that moves a little from one to the next, in a folder removed at exit.
class Pictures {
 public:
  Pictures() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvello-bench-avi-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    media::Bitmap scene(kWidth, kHeight);
    std::vector<std::uint8_t> jpeg;
    for (int i = 0; i < kPictures; ++i) {
      for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = scene.Row(y);
        for (int x = 0; x < kWidth; ++x, p += 3) {
          p[0] = std::uint8_t((x + i) ^ y);
          p[1] = std::uint8_t(y + 2 * i);
          p[2] = std::uint8_t((x * y) >> 8);
        }
      }
      const media::PackedDIB dib = *media::BitmapToDIB(scene.Rows(), {}, 24, media::kBottomUp);
      media::EncodeJPEG({dib.Bits(), kWidth, kHeight, std::size_t(dib.RowSize()), true}, 85, jpeg);
      char name[16];
      std::snprintf(name, sizeof name, "%05d.jpg", i);
      std::ofstream(dir_ / name, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
      files_.push_back(dir_ / name);
    }
  }
  ~Pictures() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& Dir() const { return dir_; }
  const std::filesystem::path& File(int i) const { return files_[std::size_t(i)]; }

 private:
  std::filesystem::path dir_;
  std::vector<std::filesystem::path> files_;
};

const Pictures& TestPictures() {
  static const Pictures pictures;
  return pictures;
}

void Report(benchmark::State& state, const std::filesystem::path& movie) {
  const auto bytes = std::filesystem::exists(movie) ? std::filesystem::file_size(movie) : 0;
  state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
  state.counters["fps"] = benchmark::Counter(double(kPictures) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["movie_MB"] = double(bytes) / 1e6;
}

void BM_MakeAVIFromFrames(benchmark::State& state, media::FourCC compressor) {
  const Pictures& pictures = TestPictures();
  const std::filesystem::path movie = pictures.Dir() / "ours.avi";
  media::MovieMakerSetup setup;
  setup.ChooseFileName = [&](std::string& name) {
    name = movie.string();
    return true;
  };
  setup.ChooseCompression = [compressor](std::vector<media::AVICompressOptions>& options, unsigned) {
    options[0].fccHandler = compressor;
    return true;
  };
  setup.Texts = {"Enregistrement de l'image", "de", "Prêt"};
  media::Bitmap frame(kWidth, kHeight);
  for (auto _ : state) {
    const bool made = media::MakeAVIFromFrames(
        setup, kPictures,
        [&](int i) {
          if (!DecodeInto(ReadAll(pictures.File(i)), frame)) throw std::runtime_error("bad picture");
          return frame.Rows();
        },
        [](int, const std::string&, bool&) {}, 2);
    benchmark::DoNotOptimize(made);
  }
  Report(state, movie);
  std::filesystem::remove(movie);
}

void BM_Ffmpeg(benchmark::State& state, const char* codec) {
  const Pictures& pictures = TestPictures();
  const std::filesystem::path movie = pictures.Dir() / "ffmpeg.avi";
  const std::string command = "ffmpeg -v error -y -framerate 2 -i '" + (pictures.Dir() / "%05d.jpg").string() + "' " +
                              codec + " '" + movie.string() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("ffmpeg failed or is not installed");
      break;
    }
  }
  Report(state, movie);
  std::filesystem::remove(movie);
}

}  // namespace

BENCHMARK_CAPTURE(BM_MakeAVIFromFrames, uncompressed, 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MakeAVIFromFrames, mjpeg, media::kMotionJPEG)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Ffmpeg, mjpeg_q3, "-c:v mjpeg -q:v 3")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Ffmpeg, copy, "-c copy")->Unit(benchmark::kMillisecond)->UseRealTime();
