#include "media/qt/avi_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "tests/media_qt/avi_modal_driver.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

TEST(AVIDialogsTest, TheOpenAndSaveDialogsTheirTitlesFiltersAndOptions) {
  TMMAVIOpenDialog open;
  EXPECT_EQ(open.Title(), "Open AVI File");
  EXPECT_EQ(open.DefaultExt(), "avi");
  EXPECT_EQ(open.Filter(), "AVI-Files(*.avi)|*.avi|Wave-Files(*.wav)|*.wav");
  EXPECT_EQ(open.Options(), TOpenOptions(ofHideReadOnly | ofNoNetworkButton));

  TMMAVISaveDialog save;
  EXPECT_EQ(save.Title(), "Enregistrer le fichier AVI");
  EXPECT_EQ(save.DefaultExt(), "avi");
  EXPECT_EQ(save.Filter(), "AVI-Files(*.avi)|*.avi");
  EXPECT_TRUE(save.HasOption(ofOverwritePrompt));
}

TEST(AVIDialogsTest, TheSaveDialogAsksBeforeItOverwritesAFile) {
  testsupport::TempDir temp;
  testsupport::WriteFile(temp.path() / "old.avi", "keep");
  TMMAVISaveDialog save;
  save.SetInitialDir(QString::fromStdString(temp.folder()));
  QString asked;
  avitest::ModalScript script({
      [](QWidget* d) { avitest::TypeFileName(d, "old.avi"); },
      [&](QWidget* box) {
        asked = box->windowTitle();
        auto* question = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(question, nullptr);
        question->button(QMessageBox::No)->click();
      },
      avitest::Reject,  // still open: the user gives up
  });
  EXPECT_FALSE(save.Execute());
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(asked.isEmpty()) << "a question came";
  EXPECT_EQ(testsupport::ReadFile(temp.path() / "old.avi"), "keep");
}

TEST(AVIDialogsTest, ANewNameGetsTheDefaultExtension) {
  testsupport::TempDir temp;
  TMMAVISaveDialog save;
  save.SetInitialDir(QString::fromStdString(temp.folder()));
  avitest::ModalScript script({[](QWidget* d) { avitest::TypeFileName(d, "new"); }});
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), QString::fromStdString((temp.path() / "new.avi").string()));
}

}  // namespace
