// The Motion-JPEG quality chosen for a movie reaches the encoder: a low quality gives smaller
// frames than a high one, and both differ from the default's.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "media/movie_maker.h"
#include "tests/media/avi_test_movies.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

// The size of the movie's frames when Motion-JPEG is chosen with Quality (0..10000, as the
// compression dialog sets it: percent x 100).
std::uintmax_t FramesBytes(const std::string& path, std::int32_t quality) {
  MovieMakerSetup setup = avitest::SetupFor(path, kMotionJPEG);
  setup.ChooseCompression = [quality](std::vector<AVICompressOptions>& options, unsigned) {
    for (AVICompressOptions& o : options) {
      o.fccHandler = kMotionJPEG;
      o.dwQuality = quality;
    }
    return true;
  };
  Bitmap frame;
  MakeAVIFromFrames(
      setup, 3,
      [&](int i) {
        frame = avitest::Pattern(160, 120, i);
        return frame.Rows();
      },
      [](int, const std::string&, bool&) {}, 2);
  const avitest::AviParts parts = avitest::ReadAvi(path);
  std::uintmax_t bytes = 0;
  for (const testsupport::RiffChunk& chunk : parts.movi->children) bytes += chunk.data.size();
  return bytes;
}

TEST(AVIQualityTest, TheChosenQualityReachesTheEncoder) {
  testsupport::TempDir dir;
  const std::uintmax_t low = FramesBytes((dir.path() / "low.avi").string(), 1000);
  const std::uintmax_t high = FramesBytes((dir.path() / "high.avi").string(), 9500);
  const std::uintmax_t standard = FramesBytes((dir.path() / "default.avi").string(), ICQUALITY_DEFAULT);
  EXPECT_LT(low * 2, high);
  EXPECT_LT(low, standard);
  EXPECT_LT(standard, high);
}

}  // namespace
