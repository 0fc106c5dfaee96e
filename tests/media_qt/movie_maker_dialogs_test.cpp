// The movie maker through its real dialogs: the save dialog, the compression dialog, and frames
// drawn into the caller's picture.

#include "media/qt/movie_maker_dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/media_qt/avi_modal_driver.h"
#include "tests/support/riff_reader.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

const MovieTexts kTexts{"Enregistrement de l'image", "de", "Prêt"};

class MovieMakerDialogsTest : public ::testing::Test {
 protected:
  bool Make(int count) {
    return MakeAVIFromFrames(
        nullptr, count,
        [&](int index, QImage& frame) {
          drawn_.push_back(index);
          QPainter painter(&frame);
          painter.fillRect(frame.rect(), QColor(index * 30, 100, 200));
        },
        [&](int, const std::string& text, bool&) { texts_.push_back(text); }, 2, frame_, kTexts);
  }

  testsupport::TempDir temp_;
  QImage frame_{48, 32, QImage::Format_RGB32};
  std::vector<int> drawn_;
  std::vector<std::string> texts_;
};

TEST_F(MovieMakerDialogsTest, TheChosenFileAndCompressorMakeTheMovie) {
  const QString path = QString::fromStdString((temp_.path() / "film").string());
  QStringList filters;
  avitest::ModalScript script({
      [&](QWidget* d) {
        if (auto* files = qobject_cast<QFileDialog*>(d)) filters = files->nameFilters();
        avitest::TypeFileName(d, path);
      },
      [](QWidget* d) {
        avitest::Child<QComboBox>(d, "Compressor")->setCurrentIndex(1);
        avitest::Accept(d);
      },
  });
  ASSERT_TRUE(Make(3));
  EXPECT_EQ(filters, QStringList{"Microsoft AVI Files (*.AVI)"});
  EXPECT_EQ(drawn_, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(texts_.back(), "Prêt");

  const testsupport::RiffChunk riff = testsupport::ReadRiff(path.toStdString() + ".avi");
  const testsupport::RiffChunk* movi = riff.Find("movi");
  ASSERT_NE(movi, nullptr);
  ASSERT_EQ(movi->children.size(), 3u);
  EXPECT_EQ(movi->children[0].id, "00dc");
  EXPECT_EQ(riff.Find("hdrl")->Find("avih")->U32(32), 48u);
}

TEST_F(MovieMakerDialogsTest, CancellingTheSaveDialogDoesNothing) {
  avitest::ModalScript script({avitest::Reject});
  EXPECT_FALSE(Make(3));
  EXPECT_TRUE(drawn_.empty());
  EXPECT_TRUE(texts_.empty());
  EXPECT_TRUE(std::filesystem::is_empty(temp_.path()));
}

TEST_F(MovieMakerDialogsTest, AFramePictureInAnotherLayoutIsStillWritten) {
  frame_ = QImage(20, 10, QImage::Format_RGB16);
  const QString path = QString::fromStdString((temp_.path() / "f.avi").string());
  avitest::ModalScript script({[&](QWidget* d) { avitest::TypeFileName(d, path); },
                               avitest::Accept});
  ASSERT_TRUE(Make(2));
  const testsupport::RiffChunk riff = testsupport::ReadRiff(path.toStdString());
  ASSERT_EQ(riff.Find("movi")->children.size(), 2u);
  EXPECT_EQ(riff.Find("movi")->children[0].id, "00db");
  EXPECT_EQ(riff.Find("movi")->children[0].size, 60u * 10);
}

}  // namespace
