// The main window after the picture it shows is deleted, by "Effacer toutes les images pour la
// webcam sélectionnée" or on the "Disque" page: its footer no longer describes that file and
// Ctrl+D no longer hands out its path.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "tests/ui/whole_program_fixture.h"

namespace {

namespace fs = std::filesystem;

class DeletedPicture : public mainformtest::StartedMainWindowTest {
protected:
    // A picture of webcam i saved minutesAgo minutes ago; its path.
    fs::path SavePicture(int webcam, int squares, int minutesAgo) {
        const fs::path folder = dataDir() / ("Cam" + std::to_string(webcam));
        fs::create_directories(folder);
        const fs::path path = folder / wholeprogram::SavedPictureName(std::time(nullptr) - 60 * minutesAgo);
        testsupport::WriteFile(path, testpictures::SquaresPicture(squares));
        return path;
    }
    std::string Footer() { return dialogtest::Child<QLabel>(*form_, "Label9").text().toStdString(); }
    // What Ctrl+D puts on the clipboard (kept is what was there before).
    std::string CopiedFileName(const std::string& kept) {
        QApplication::clipboard()->setText(QString::fromStdString(kept));
        Item("CopyPictureFilenametoClipboard1").trigger();
        return QApplication::clipboard()->text().toStdString();
    }
};

TEST_F(DeletedPicture, TheViewNeverDescribesNorHandsOutADeletedFile) {
    // Each on a webcam of its own, whose folder the Disque page has not listed yet.
    const struct {
        const char* what;
        int webcam;
        std::function<void()> remove;
    } deletions[] = {
        {"every picture of the selected webcam (Maj+Suppr, Oui)", 2,
         [&] {
             form_->MarkCurrentWebcam(2);
             prompts_.answers = {true};
             Item("DeleteAllPicturesforcurrentwebcam1").trigger();
         }},
        {"the newest picture, selected on the Disque page", 3, [&] { Item("DeleteSelectedPictures1").trigger(); }},
    };
    ASSERT_TRUE(dialogtest::ShowExposed(*form_));
    for (const auto& [what, webcam, remove] : deletions) {
        SCOPED_TRACE(what);
        SavePicture(webcam, 1, 20);
        const fs::path newest = SavePicture(webcam, 2, 10);
        form_->ShowWebcam(webcam);  // shows the newest picture, and selects it on the Disque page
        ASSERT_EQ(Footer().rfind("Enregistré à", 0), 0u) << Footer();
        ASSERT_EQ(CopiedFileName("avant"), newest.string());
        remove();
        ASSERT_FALSE(fs::exists(newest));
        EXPECT_EQ(Footer(), "");
        EXPECT_EQ(CopiedFileName("avant"), "avant");
    }
}

}  // namespace
