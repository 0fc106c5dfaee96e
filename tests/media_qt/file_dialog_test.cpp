#include "media/qt/file_dialog.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include "tests/media_qt/avi_modal_driver.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;

TEST(FileDialogTest, InitialDirLosesItsTrailingSeparatorExceptAtARoot) {
  const struct {
    const char* given;
    const char* stored;
  } cases[] = {
      {"C:\\Pictures\\", "C:\\Pictures"}, {"C:\\", "C:\\"},   {"/home/me/films/", "/home/me/films"},
      {"/", "/"},                         {"/tmp", "/tmp"},   {"", ""},
  };
  for (const auto& c : cases) {
    TMMCustomOpenDialog dialog;
    dialog.SetInitialDir(c.given);
    EXPECT_EQ(dialog.InitialDir(), c.stored) << c.given;
  }
}

TEST(FileDialogTest, FilterPairsBecomeNameFilters) {
  EXPECT_EQ(NameFiltersOf("Microsoft AVI Files|*.AVI"), QStringList{"Microsoft AVI Files (*.AVI)"});
  EXPECT_EQ(NameFiltersOf("AVI-Files(*.avi)|*.avi|Wave-Files(*.wav)|*.wav"),
            (QStringList{"AVI-Files(*.avi)", "Wave-Files(*.wav)"}));
  EXPECT_EQ(NameFiltersOf("Pictures|*.jpg;*.jpeg|All|*.*"), (QStringList{"Pictures (*.jpg *.jpeg)", "All (*.*)"}));
  EXPECT_EQ(NameFiltersOf(""), QStringList{});
}

TEST(FileDialogTest, TheDialogIsCentredAcrossAndAtAThirdOfTheFreeHeight) {
  EXPECT_EQ(DialogPosition(QRect(0, 0, 1024, 768), QSize(500, 400)), QPoint(262, 122));
  EXPECT_EQ(DialogPosition(QRect(1024, 0, 1280, 1024), QSize(600, 424)), QPoint(1024 + 340, 200));
}

// Runs a dialog whose show step inspects the configured QFileDialog and answers it.
class FileDialogRunTest : public ::testing::Test {
 protected:
  // Types Answer into the file name box and confirms, as the user would.
  static bool Answer(QFileDialog& dialog, const QString& answer) {
    QLineEdit* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (edit == nullptr) return false;
    edit->setText(answer);
    static_cast<QDialog&>(dialog).accept();  // QFileDialog's own accept, as the OK button does
    return dialog.result() == QDialog::Accepted;
  }
  testsupport::TempDir temp_;
};

class OpenDialog : public TMMCustomOpenDialog {
 public:
  using TMMCustomOpenDialog::OnFileNameOK;
  bool Save() { return Run(QFileDialog::AcceptSave); }
};

TEST_F(FileDialogRunTest, TheSettingsReachTheDialogAndTheAnswerComesBack) {
  OpenDialog d;
  d.SetFilter("AVI|*.avi|Pictures|*.jpg;*.jpeg");
  d.SetFilterIndex(2);
  d.SetInitialDir(QString::fromStdString(temp_.folder()));
  d.SetTitle(QString(90, 't'));
  d.SetDefaultExt("avi");
  d.SetHistoryList({"/tmp"});
  d.SetShowFunction([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString(79, 't'));
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"AVI (*.avi)", "Pictures (*.jpg *.jpeg)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "Pictures (*.jpg *.jpeg)");
    EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(temp_.path().string()));
    EXPECT_EQ(dialog.defaultSuffix(), "avi");
    EXPECT_EQ(dialog.history().value(0), "/tmp");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite)) << "no ofOverwritePrompt";
    dialog.selectNameFilter("AVI (*.avi)");
    return Answer(dialog, "film.jpg");
  });
  ASSERT_TRUE(d.Save());
  const QString expected = QString::fromStdString((temp_.path() / "film.jpg").string());
  EXPECT_EQ(d.FileName(), expected);
  EXPECT_EQ(d.Files(), QStringList{expected});
  EXPECT_EQ(d.FilterIndex(), 1);
  EXPECT_TRUE(d.HasOption(ofExtensionDifferent));

  d.SetShowFunction([](QFileDialog& dialog) { return Answer(dialog, "film.avi"); });
  ASSERT_TRUE(d.Save());
  EXPECT_FALSE(d.HasOption(ofExtensionDifferent));
}

TEST_F(FileDialogRunTest, AMultipleSelectionGivesFullPathsInTheFolder) {
  testsupport::WriteFile(temp_.path() / "x.avi", "x");
  testsupport::WriteFile(temp_.path() / "y.avi", "y");
  OpenDialog d;
  d.SetOptions(ofAllowMultiSelect);
  d.SetInitialDir(QString::fromStdString(temp_.folder()));
  d.SetShowFunction([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    return Answer(dialog, "\"x.avi\" \"y.avi\"");
  });
  ASSERT_TRUE(d.Execute());
  const QString folder = QString::fromStdString(temp_.path().string());
  EXPECT_EQ(d.Files(), (QStringList{folder + "/x.avi", folder + "/y.avi"}));
  EXPECT_EQ(d.FileName(), folder + "/x.avi");
}

TEST_F(FileDialogRunTest, CancellingClearsTheChosenFiles) {
  OpenDialog d;
  d.SetInitialDir(QString::fromStdString(temp_.folder()));
  d.SetShowFunction([](QFileDialog& dialog) { return Answer(dialog, "a.avi"); });
  ASSERT_TRUE(d.Save());
  ASSERT_EQ(d.Files().size(), 1);
  d.SetShowFunction([](QFileDialog&) { return false; });
  EXPECT_FALSE(d.Save());
  EXPECT_TRUE(d.Files().isEmpty());
}

TEST_F(FileDialogRunTest, TheFileNameCheckCanKeepTheDialogOpen) {
  OpenDialog d;
  d.SetInitialDir(QString::fromStdString(temp_.folder()));
  QStringList offered;
  d.OnFileNameOK = [&](const QStringList& files) {
    offered = files;
    return files.value(0).endsWith("good.avi");
  };
  d.SetShowFunction([](QFileDialog& dialog) {
    EXPECT_FALSE(Answer(dialog, "bad.avi"));
    return Answer(dialog, "good.avi");
  });
  ASSERT_TRUE(d.Save());
  EXPECT_TRUE(offered.value(0).endsWith("/good.avi"));
}

}  // namespace
