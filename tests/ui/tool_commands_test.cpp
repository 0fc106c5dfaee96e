// The main window's tray, log and status-lamp commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <filesystem>

#include "desktop/tray_icon.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/main/main_menus.h"
#include "ui/tools/tray_hint.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class ToolCommandsTest : public mainformtest::MainWindowTest {
protected:
    void Run(const char* item) {
        QAction* action = ui::FindCommand(*form_, item);
        ASSERT_NE(nullptr, action) << item;
        ASSERT_TRUE(action->isEnabled()) << item;
        action->trigger();
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
};

TEST(TrayHintTest, TheCountRunsIntoTheText) {
    const struct {
        int running;
        const char* hint;
    } cases[] = {
        {3, "Orvello : 3WebCam en fonctionnement"},
        {12, "Orvello : 12WebCam en fonctionnement"},
        {0, "Orvello : Pas de webcam en fonctionnement"},
    };
    for (const auto& c : cases) EXPECT_EQ(QString::fromUtf8(c.hint), ui::TrayHintText(c.running));
}

TEST_F(ToolCommandsTest, WithTheTraySwitchedOffTheHintStaysAndAClickDoesNothing) {
    ui::Tsupamain& form = FormWithIdleManager();
    auto* menu = form.findChild<QMenu*>(QStringLiteral("traypopup"));
    ASSERT_NE(nullptr, menu);

    form.DiskMan.TrayIcon = 0;
    form.UpdateTrayHint();
    EXPECT_EQ(QStringLiteral("OVL"), form.TrayIcon().Hint());
    form.TrayIcon().OnClick(form.TrayIcon());
    EXPECT_FALSE(menu->isVisible());

    form.DiskMan.TrayIcon = 1;
    form.UpdateTrayHint();
    EXPECT_EQ(ui::TrayHintText(0), form.TrayIcon().Hint());
    form.TrayIcon().OnClick(form.TrayIcon());
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(ToolCommandsTest, SendToTrayAndRestore) {
    ui::Tsupamain& form = FormWithIdleManager();
    form.DiskMan.TrayIcon = 1;
    form.show();
    // No notification area here: the window is minimised instead, and comes back.
    Run("Sendtosystemtray1");
    EXPECT_TRUE(form.isMinimized() || !form.isVisible());
    Run("ShowOrvello1");
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());

    // Hidden to the tray, the double click brings it back.
    form.hide();
    form.TrayIcon().OnDblClick(form.TrayIcon());
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ToolCommandsTest, StoppingTheDebugLogRewritesItsFileWithWhatWasCollected) {
    ui::Tsupamain& form = FormWithIdleManager();
    engine::tdebuglog& log = *form.DebugLog;
    EXPECT_TRUE(log.FEnabled);  // on at every start
    const std::filesystem::path file = programDir() / "debug.txt";
    EXPECT_EQ(file.string(), log.FFileName);

    WriteFile(file, "an older session\n");
    log.FLines = {"first", "second"};
    Run("StopLogging1");
    EXPECT_FALSE(log.FEnabled);
    EXPECT_EQ("first\nsecond\n", ReadFile(file));
    EXPECT_TRUE(log.FLines.empty());
    Run("StopLogging1");  // nothing collected: an empty file
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ("", ReadFile(file));
    Run("Startlogging1");
    EXPECT_TRUE(log.FEnabled);
    Run("Writemessage1");  // has no effect
    EXPECT_TRUE(log.FLines.empty());

    // Another file, chosen in the save dialog; a cancelled choice keeps it.
    const std::string other = (programDir() / "autre.txt").string();
    prompts_.paths.push_back(QString::fromStdString(other));
    Run("SpecifyLogfile1");
    EXPECT_EQ(other, log.FFileName);
    Run("SpecifyLogfile1");
    EXPECT_EQ(other, log.FFileName);

    // Deleting: the file goes; a file that is not there is no error.
    prompts_.shown.clear();
    WriteFile(other, "x");
    Run("DeleteLogfile1");
    EXPECT_FALSE(std::filesystem::exists(other));
    Run("DeleteLogfile1");
    EXPECT_TRUE(prompts_.shown.isEmpty());
}

TEST_F(ToolCommandsTest, TheErrorLogIsOffAtEveryStartAndTheMenuSwitchesIt) {
    ui::Tsupamain& form = FormWithIdleManager();
    QAction* item = ui::FindCommand(form, "Errorlogging1");
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(form.ErrorLog->FEnabled);
    Run("Errorlogging1");
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(form.ErrorLog->FEnabled);
    Run("Errorlogging1");
    EXPECT_FALSE(form.ErrorLog->FEnabled);

    WriteFile(form.ErrorLog->FFileName, "entry\n");
    Run("Deleteerrorlog1");
    EXPECT_FALSE(std::filesystem::exists(form.ErrorLog->FFileName));
    Run("Deleteerrorlog1");
    EXPECT_TRUE(prompts_.shown.isEmpty());
}

TEST_F(ToolCommandsTest, EveryCommandOfTheseMenusIsBound) {
    ui::Tsupamain& form = FormWithIdleManager();
    for (const char* item : {"ShowOrvello1", "Startallwebcams2", "Stopallwebcams2", "Exit2", "Sendtosystemtray1",
                             "Startlogging1", "StopLogging1", "Writemessage1", "SpecifyLogfile1", "ViewLog1",
                             "DeleteLogfile1", "importwct1", "Errorlogging1", "Viewerrorlog1", "Deleteerrorlog1",
                             "StatusLEDs1", "StatusLEDColors1", "JoinMailingList1", "Leavemailinglist1",
                             "Sendusacomment1"})
        EXPECT_TRUE(ui::FindCommand(form, item)->isEnabled()) << item;
}

}  // namespace
