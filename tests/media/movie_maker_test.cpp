#include "media/movie_maker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <span>

#include "media/avi_error.h"
#include "media/jpeg_frame_check.h"
#include "tests/media/avi_test_movies.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;
using avitest::Pattern;

struct Report {
  int percent;
  std::string text;
};

// Runs the movie maker over Count pattern frames and records every callback.
class MovieMakerTest : public ::testing::Test {
 protected:
  std::string Path() const { return (temp_.path() / "movie.avi").string(); }

  bool Make(int count, MovieMakerSetup setup, int abort_at = -1) {
    return MakeAVIFromFrames(
        setup, count,
        [&](int index) {
          requested_.push_back(index);
          frame_ = Pattern(40, 30, index);
          return frame_.Rows();
        },
        [&, abort_at](int percent, const std::string& text, bool& abort) {
          reports_.push_back({percent, text});
          abort = static_cast<int>(reports_.size()) - 1 == abort_at;
        },
        2);
  }
  bool Make(int count) { return Make(count, avitest::SetupFor(Path(), 0)); }

  testsupport::TempDir temp_;
  Bitmap frame_;
  std::vector<int> requested_;
  std::vector<Report> reports_;
};

TEST_F(MovieMakerTest, EightFramesReportHalvesToEvenPercentagesThenReady) {
  ASSERT_TRUE(Make(8));
  std::vector<int> percents;
  for (const Report& r : reports_) percents.push_back(r.percent);
  EXPECT_EQ(percents, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 0}));
  EXPECT_EQ(reports_[0].text, "Enregistrement de l'image1de8");
  EXPECT_EQ(reports_[7].text, "Enregistrement de l'image8de8");
  EXPECT_EQ(reports_.back().text, "Prêt");
  EXPECT_EQ(requested_, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  avitest::ExpectValidAvi(Path(), 8, "00db");
  const avitest::AviParts p = avitest::ReadAvi(Path());
  EXPECT_EQ(p.strh->U32(24), 2u);
  EXPECT_EQ(p.strn->data, std::string("Morvane Stream") + '\0');
}

TEST_F(MovieMakerTest, TheFrameTextJoinsTheWordsAndNumbersWithoutBlanks) {
  EXPECT_EQ(FrameProgressText(avitest::FrenchTexts(), 3, 10), "Enregistrement de l'image3de10");
  // Cut to 255 bytes, never inside a character.
  const MovieTexts long_texts{std::string(253, 'x'), "é", ""};
  EXPECT_EQ(FrameProgressText(long_texts, 1, 1), std::string(253, 'x') + "1");
}

TEST_F(MovieMakerTest, AbortAtTheFifthFrameKeepsFourAndReportsReady) {
  ASSERT_TRUE(Make(10, avitest::SetupFor(Path(), 0), 4));
  EXPECT_EQ(requested_, (std::vector<int>{0, 1, 2, 3}));
  ASSERT_EQ(reports_.size(), 6u);
  EXPECT_EQ(reports_[4].text, "Enregistrement de l'image5de10");
  EXPECT_EQ(reports_.back().text, "Prêt");
  avitest::ExpectValidAvi(Path(), 4, "00db");
}

TEST_F(MovieMakerTest, CancellingTheFileDialogCallsNothingAndCreatesNoFile) {
  MovieMakerSetup setup = avitest::SetupFor(Path(), 0);
  bool chooser_ran = false;
  setup.ChooseFileName = [](std::string&) { return false; };
  setup.ChooseCompression = [&](std::vector<AVICompressOptions>&, unsigned) { return chooser_ran = true; };
  EXPECT_FALSE(Make(5, setup));
  EXPECT_TRUE(requested_.empty());
  EXPECT_TRUE(reports_.empty());
  EXPECT_FALSE(chooser_ran);
  EXPECT_TRUE(std::filesystem::is_empty(temp_.path()));
}

TEST_F(MovieMakerTest, NoFramesMakeAValidEmptyMovie) {
  ASSERT_TRUE(Make(0));
  EXPECT_TRUE(requested_.empty());
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].text, "Prêt");
  avitest::ExpectValidAvi(Path(), 0, "00db");
}

TEST_F(MovieMakerTest, ARefusedCompressorChoiceWritesNothingAndRemovesTheFile) {
  MovieMakerSetup setup = avitest::SetupFor(Path(), 0);
  setup.ChooseCompression = [](std::vector<AVICompressOptions>&, unsigned) { return false; };
  EXPECT_TRUE(Make(5, setup));
  EXPECT_TRUE(requested_.empty());
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].text, "Prêt");
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(MovieMakerTest, MotionJPEGChosenInTheDialogWritesCompressedFrames) {
  ASSERT_TRUE(Make(3, avitest::SetupFor(Path(), kMotionJPEG)));
  avitest::ExpectValidAvi(Path(), 3, "00dc");
}

TEST_F(MovieMakerTest, TheSizeGuardEndsTheMovieWithAnErrorAndAValidFile) {
  MovieMakerSetup setup = avitest::SetupFor(Path(), 0);
  setup.MaxFileSize = 16000;  // 3600 bytes a frame: room for four
  try {
    Make(10, setup);
    FAIL() << "no error";
  } catch (const EMMAVIError& e) {
    EXPECT_EQ(e.Code(), AVIERR_FILEWRITE);
  }
  EXPECT_EQ(reports_.back().text, "Enregistrement de l'image5de10") << "no closing report";
  avitest::ExpectValidAvi(Path(), 4, "00db");
}

TEST_F(MovieMakerTest, AFailingFrameReachesTheCallerAndLeavesTheFramesBefore) {
  bool reported_ready = false;
  EXPECT_THROW(MakeAVIFromFrames(
                   avitest::SetupFor(Path(), 0), 5,
                   [&](int index) -> BitmapRows {
                     if (index == 2) throw std::runtime_error("Unable to parse the JPEG data");
                     frame_ = Pattern(16, 16, index);
                     return frame_.Rows();
                   },
                   [&](int, const std::string& text, bool&) { reported_ready = text == "Prêt"; }, 2),
               std::runtime_error);
  EXPECT_FALSE(reported_ready);
  avitest::ExpectValidAvi(Path(), 2, "00db");
}

// Pictures that are JPEG files already: in a Motion-JPEG movie those of the frame size that
// decode cleanly are the frames byte for byte, undrawn; the others are drawn and encoded. An
// uncompressed movie draws every frame.
TEST_F(MovieMakerTest, MotionJPEGTakesSavedPicturesOfTheFrameSizeAsTheyAre) {
  const auto jpeg_of = [](int width, int seed) {
    const std::vector<std::uint8_t> bytes = avitest::JpegOf(Pattern(width, 30, seed));
    return std::string(bytes.begin(), bytes.end());
  };
  const std::string whole = jpeg_of(40, 1);
  const std::vector<std::string> pictures = {
      whole, jpeg_of(40, 2),
      whole.substr(0, whole.size() - 20),     // cut short inside its data
      jpeg_of(48, 3),                         // another size
      jpeg_of(40, 4),
  };
  std::vector<int> offered;
  const MovieJPEGPictures jpeg{40, 30, [&](int index) {
                                 offered.push_back(index);
                                 const std::string& p = pictures[std::size_t(index)];
                                 return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(p.data()), p.size());
                               }};
  const auto make = [&](FourCC compressor) {
    requested_.clear();
    offered.clear();
    return MakeAVIFromFrames(
        avitest::SetupFor(Path(), compressor), 5,
        [&](int index) {
          requested_.push_back(index);
          frame_ = Pattern(40, 30, index);
          return frame_.Rows();
        },
        [](int, const std::string&, bool&) {}, 2, jpeg);
  };

  ASSERT_TRUE(make(kMotionJPEG));
  EXPECT_EQ(offered, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(requested_, (std::vector<int>{2, 3}));
  avitest::ExpectValidAvi(Path(), 5, "00dc");
  const std::vector<std::string> chunks = avitest::FrameChunks(Path());
  ASSERT_EQ(chunks.size(), 5u);
  for (int i : {0, 1, 4}) EXPECT_EQ(chunks[std::size_t(i)], pictures[std::size_t(i)]) << "frame " << i;
  for (int i : {2, 3}) {
    EXPECT_NE(chunks[std::size_t(i)], pictures[std::size_t(i)]) << "frame " << i;
    const std::string& c = chunks[std::size_t(i)];
    EXPECT_TRUE(JPEGFitsFrame({reinterpret_cast<const std::uint8_t*>(c.data()), c.size()}, 40, 30)) << "frame " << i;
  }

  ASSERT_TRUE(make(0));
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(requested_, (std::vector<int>{0, 1, 2, 3, 4}));
  avitest::ExpectValidAvi(Path(), 5, "00db");
}

}  // namespace
