#include "media/avi_compressor.h"

#include <gtest/gtest.h>

#include "media/avi_file.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

class AVICompressorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_.SetFileName((temp_.path() / "c.avi").string());
    file_.CreateFile();
    stream_ = AVIRef<TMMAVIStream>::Adopt(file_.CreateVideoStream(2, "s"));
  }
  testsupport::TempDir temp_;
  TMMAVIFile file_;
  AVIRef<TMMAVIStream> stream_;
};

TEST_F(AVICompressorTest, AVideoStreamGetsTheDefaultOptions) {
  TMMAVICompressor compressor;
  compressor.AddStream(*stream_);
  const AVICompressOptions* o = compressor.GetOptions(0);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->fccType, streamtypeVIDEO);
  EXPECT_EQ(o->fccHandler, 0u);
  EXPECT_EQ(o->dwKeyFrameEvery, 7u);
  EXPECT_EQ(o->dwQuality, -1);
  EXPECT_EQ(o->dwBytesPerSecond, 60000u);
  EXPECT_EQ(o->dwFlags, 15u);
  EXPECT_EQ(o->dwInterleaveEvery, 5u);
  EXPECT_EQ(compressor.GetOptions(1), nullptr);
  EXPECT_EQ(compressor.GetOptions(-1), nullptr);
}

TEST(AVICompressOptionsTest, AnAudioStreamKeepsItsFormat) {
  const std::vector<std::uint8_t> format = {1, 0, 2, 0};
  const AVICompressOptions o = DefaultCompressOptions(streamtypeAUDIO, format);
  EXPECT_EQ(o.dwFlags, 9u);
  EXPECT_EQ(o.dwInterleaveEvery, 5u);
  EXPECT_EQ(o.lpFormat, format);
  EXPECT_EQ(o.dwKeyFrameEvery, 0u);
}

TEST_F(AVICompressorTest, ChooseRunsTheDialogWithTheChoiceFlags) {
  TMMAVICompressor compressor;
  compressor.AddStream(*stream_);
  EXPECT_TRUE(compressor.Choose()) << "without a dialog the defaults are taken";

  unsigned seen_flags = 99;
  std::size_t seen_streams = 0;
  compressor.SetChooser([&](std::vector<AVICompressOptions>& options, unsigned flags) {
    seen_flags = flags;
    seen_streams = options.size();
    options[0].fccHandler = kMotionJPEG;
    return false;
  });
  compressor.SetChooseKeyFrame(true);
  compressor.SetChoosePreview(true);
  EXPECT_FALSE(compressor.Choose());
  EXPECT_EQ(seen_flags, ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_PREVIEW);
  EXPECT_EQ(seen_streams, 1u);
  EXPECT_EQ(compressor.GetOptions(0)->fccHandler, kMotionJPEG);
}

TEST_F(AVICompressorTest, AddedStreamsAreHeldUntilClose) {
  EXPECT_EQ(stream_->RefCount(), 2);  // ours and the file's
  TMMAVICompressor compressor;
  compressor.AddStream(*stream_);
  EXPECT_EQ(stream_->RefCount(), 3);
  compressor.Close();
  EXPECT_EQ(stream_->RefCount(), 2);
  EXPECT_EQ(compressor.GetOptions(0), nullptr);
}

}  // namespace
