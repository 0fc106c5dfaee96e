// The files we write, read by ffprobe and decoded by ffmpeg: both compressors, and the empty movie.

#include <gtest/gtest.h>

#include <cstdlib>

#include "media/bitmap_to_dib.h"
#include "media/movie_maker.h"
#include "tests/media/avi_test_movies.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;
using avitest::Pattern;

struct Case {
  const char* name;
  FourCC compressor;
  const char* codec;
  double max_mean_error;  // per byte, of the decoded first frame against the original
};

class AVIFFprobeTest : public ::testing::TestWithParam<Case> {
 protected:
  std::string Path(const char* name) const { return (temp_.path() / name).string(); }

  std::string Probe(const std::string& file, const std::string& entries) {
    const testsupport::ProgramResult r =
        testsupport::RunProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                                 entries, "-of", "default=noprint_wrappers=1", file});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
  }

  testsupport::TempDir temp_;
};

TEST_P(AVIFFprobeTest, ReportsFramesRateAndSizeAndDecodesEveryFrame) {
  ORVELLO_NEED_PEER("ffprobe");
  ORVELLO_NEED_PEER("ffmpeg");
  const std::string file = Path("movie.avi");
  constexpr int kFrames = 7, kWidth = 101, kHeight = 75;
  Bitmap frame;
  ASSERT_TRUE(MakeAVIFromFrames(
      avitest::SetupFor(file, GetParam().compressor), kFrames,
      [&](int i) {
        frame = Pattern(kWidth, kHeight, i);
        return frame.Rows();
      },
      [](int, const std::string&, bool&) {}, 2));

  EXPECT_EQ(Probe(file, "stream=codec_name,width,height,r_frame_rate,nb_read_frames"),
            "codec_name=" + std::string(GetParam().codec) + "\nwidth=101\nheight=75\nr_frame_rate=2/1\nnb_read_frames=7\n");

  // Every frame decodes; the first one, read back top row first, is the picture we gave.
  const testsupport::ProgramResult decoded = testsupport::RunProgram(
      {"ffmpeg", "-v", "error", "-i", file, "-f", "rawvideo", "-pix_fmt", "bgr24", "-"});
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_EQ(decoded.err, "");
  ASSERT_EQ(decoded.out.size(), std::size_t(kFrames) * kWidth * kHeight * 3);
  const Bitmap first = Pattern(kWidth, kHeight, 0);
  double error = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth * 3; ++x)
      error += std::abs(int(std::uint8_t(decoded.out[std::size_t(y) * kWidth * 3 + std::size_t(x)])) -
                        int(first.Row(y)[x]));
  // A frame upside down is off by about 50 a byte.
  EXPECT_LE(error / (kWidth * kHeight * 3), GetParam().max_mean_error);
}

INSTANTIATE_TEST_SUITE_P(Compressors, AVIFFprobeTest,
                         ::testing::Values(Case{"Uncompressed", 0, "rawvideo", 0.0},
                                           Case{"MotionJPEG", kMotionJPEG, "mjpeg", 8.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AVIFFprobeEmptyTest, AnEmptyMovieIsReadWithoutAnError) {
  ORVELLO_NEED_PEER("ffprobe");
  testsupport::TempDir temp;
  const std::string file = (temp.path() / "empty.avi").string();
  avitest::WriteMovie(file, {}, 0);
  const testsupport::ProgramResult r = testsupport::RunProgram(
      {"ffprobe", "-v", "error", "-count_frames", "-show_entries", "stream=codec_type,nb_read_frames", "-of",
       "default=noprint_wrappers=1", file});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "codec_type=video\nnb_read_frames=N/A\n") << "N/A: no frame to read";
}

}  // namespace
