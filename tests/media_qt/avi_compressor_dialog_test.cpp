#include "media/qt/avi_compressor_dialog.h"

#include <QComboBox>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "tests/media_qt/avi_modal_driver.h"

namespace {

using namespace media;

std::vector<AVICompressOptions> VideoDefaults() { return {DefaultCompressOptions(streamtypeVIDEO, {})}; }

TEST(AVICompressorDialogTest, TheDefaultsShowNoCompressorAndNoQuality) {
  TMMAVICompressorDialog dialog;
  dialog.Load(VideoDefaults()[0]);
  EXPECT_EQ(dialog.Compressor()->currentIndex(), 0);
  EXPECT_FALSE(dialog.Quality()->isEnabled());
  dialog.Compressor()->setCurrentIndex(1);
  EXPECT_TRUE(dialog.Quality()->isEnabled());
}

TEST(AVICompressorDialogTest, ConfirmingStoresTheChoiceInEveryVideoRecord) {
  std::vector<AVICompressOptions> options = VideoDefaults();
  options.push_back(DefaultCompressOptions(streamtypeAUDIO, {1, 2}));
  avitest::ModalScript script({[](QWidget* d) {
    if (auto* box = avitest::Child<QComboBox>(d, "Compressor")) box->setCurrentIndex(1);
    if (auto* quality = avitest::Child<QSpinBox>(d, "Quality")) quality->setValue(60);
    avitest::Accept(d);
  }});
  ASSERT_TRUE(ChooseAVICompression(nullptr, options, 0));
  EXPECT_EQ(options[0].fccHandler, kMotionJPEG);
  EXPECT_EQ(options[0].dwQuality, 6000);
  EXPECT_EQ(options[1].fccHandler, 0u) << "audio untouched";
}

TEST(AVICompressorDialogTest, CancellingLeavesTheRecordsAsTheyWere) {
  std::vector<AVICompressOptions> options = VideoDefaults();
  options[0].fccHandler = kMotionJPEG;
  options[0].dwQuality = 3000;
  avitest::ModalScript script({[](QWidget* d) {
    auto* box = avitest::Child<QComboBox>(d, "Compressor");
    auto* quality = avitest::Child<QSpinBox>(d, "Quality");
    EXPECT_EQ(box->currentIndex(), 1);
    EXPECT_EQ(quality->value(), 30);
    box->setCurrentIndex(0);
    avitest::Reject(d);
  }});
  EXPECT_FALSE(AVICompressionChooser(nullptr)(options, 0));
  EXPECT_EQ(options[0].fccHandler, kMotionJPEG);
  EXPECT_EQ(options[0].dwQuality, 3000);
}

}  // namespace
