// The main window's wiring of the list import: "Tout démarrer" without webcams offers it, and a
// Yes opens the list manager, whose webcams then fill the grid.
#include <gtest/gtest.h>

#include <QAction>

#include "engine/webcam_manager.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/main/main_menus.h"
#include "ui/web/wclistman.h"

namespace {

class WebMainForm : public mainformtest::MainWindowTest {};

TEST_F(WebMainForm, StartAllWithoutWebcamsOffersTheListManager) {
    const std::string list = (programDir() / "europe.txt").string();
    testsupport::WriteFile(list, "ENCODE\nSTART\nPREF=http://cams/a.jpg\nNAME=Alpha\nENDWC\n");
    testsupport::WriteFile(programDir() / "downloaded.txt", "Europe - " + list + "\n");
    FormWithIdleManager().StartUp();
    form_->Timer3Timer();
    engine::twebcammanager* manager = form_->WebcamManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->Count(), 0);

    prompts_.answers = {true};
    ui::Twclistman& dialog = ui::wclistman();
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::Click(dialog, "Button3");
        dialog.accept();
    });
    ui::FindCommand(*form_, "Startallwebcams1")->trigger();
    EXPECT_EQ(prompts_.shown, (QStringList{ui::Message(65244), "1" + ui::Message(65294)}));
    ASSERT_EQ(manager->Count(), 1);
    EXPECT_EQ(form_->CurrentWebcam(), 1);
    EXPECT_EQ(manager->RunningCount(), 0);  // the command only offered the import
    EXPECT_EQ(form_->Config.ListFile.str(), list);
}

}  // namespace
