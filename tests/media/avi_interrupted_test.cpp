// Movies whose writing did not end well: a writer killed between two frames, and an index that
// the disk no longer takes. Both leave a movie that ffprobe reads, with the frames written.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "media/movie_maker.h"
#include "tests/media/avi_test_movies.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

constexpr int kWidth = 64, kHeight = 48;

std::string ProbedFrames(const std::string& file) {
  const testsupport::ProgramResult r =
      testsupport::RunProgram({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                               "stream=width,nb_read_frames", "-of", "default=noprint_wrappers=1", file});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return r.out;
}

// Writes Count frames through the movie maker; After(i) runs before frame i is drawn.
void WriteFrames(const std::string& path, FourCC compressor, int count, const std::function<void(int)>& after = {}) {
  Bitmap frame;
  MakeAVIFromFrames(
      avitest::SetupFor(path, compressor), count,
      [&](int i) {
        if (after) after(i);
        frame = avitest::Pattern(kWidth, kHeight, i);
        return frame.Rows();
      },
      [](int, const std::string&, bool&) {}, 2);
}

class AVIInterruptedTest : public ::testing::TestWithParam<FourCC> {
 protected:
  std::string Path(const char* name) const { return (temp_.path() / name).string(); }
  testsupport::TempDir temp_;
};

TEST_P(AVIInterruptedTest, AWriterKilledBetweenFramesLeavesTheFramesSoFar) {
  ORVELLO_NEED_PEER("ffprobe");
  const std::string movie = Path("movie.avi");
  // What is on disk when frame i is about to be drawn is what a kill at that moment leaves.
  WriteFrames(movie, GetParam(), 5, [&](int i) {
    if (i == 1 || i == 4)
      std::filesystem::copy_file(movie, Path(i == 1 ? "after1.avi" : "after4.avi"));
  });
  EXPECT_EQ(ProbedFrames(Path("after1.avi")), "width=64\nnb_read_frames=1\n");
  EXPECT_EQ(ProbedFrames(Path("after4.avi")), "width=64\nnb_read_frames=4\n");
  const avitest::AviParts killed = avitest::ReadAvi(Path("after4.avi"));
  EXPECT_EQ(killed.idx1, nullptr);
  EXPECT_EQ(killed.avih->U32(12) & 0x10, 0u);  // no AVIF_HASINDEX
  EXPECT_EQ(killed.avih->U32(16), 4u);         // total frames
  EXPECT_EQ(ProbedFrames(movie), "width=64\nnb_read_frames=5\n");
}

// The index does not fit under the file-size limit of the writing process (a full disk is the
// same to the writer): the file ends after the last frame and says it has no index.
TEST_P(AVIInterruptedTest, AnIndexThatCannotBeWrittenIsCutOffAndTheMovieStaysReadable) {
  ORVELLO_NEED_PEER("ffprobe");
  constexpr int kFrames = 3;
  WriteFrames(Path("whole.avi"), GetParam(), kFrames);
  const std::uintmax_t whole = std::filesystem::file_size(Path("whole.avi"));
  const std::string movie = Path("movie.avi");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(whole - 1), static_cast<rlim_t>(whole - 1)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WriteFrames(movie, GetParam(), kFrames);
    } catch (const EMMAVIError&) {
      ::_exit(0);  // the failure is reported
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the lost index was not reported";

  const avitest::AviParts parts = avitest::ReadAvi(movie);
  EXPECT_EQ(parts.idx1, nullptr);
  EXPECT_EQ(parts.avih->U32(12) & 0x10, 0u);
  EXPECT_EQ(std::filesystem::file_size(movie), whole - 8 - 16 * kFrames);
  EXPECT_EQ(ProbedFrames(movie), "width=64\nnb_read_frames=3\n");
}

INSTANTIATE_TEST_SUITE_P(Compressors, AVIInterruptedTest, ::testing::Values(FourCC(0), kMotionJPEG),
                         [](const auto& info) { return std::string(info.param == 0 ? "Uncompressed" : "MotionJPEG"); });

}  // namespace
