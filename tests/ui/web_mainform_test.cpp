// The main window's wiring of the web features: "Tout démarrer" without webcams offers the list
// import, and a Yes opens the list manager, whose webcams then fill the grid; the commands that
// open a web page say so when no browser can be started.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include "engine/webcam_manager.h"
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/main/main_menus.h"
#include "ui/web/browser.h"
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
    EXPECT_EQ(prompts_.shown, (QStringList{ui::Message(65244), "1 " + ui::Message(65294)}));
    ASSERT_EQ(manager->Count(), 1);
    EXPECT_EQ(form_->CurrentWebcam(), 1);
    EXPECT_EQ(manager->RunningCount(), 0);  // the command only offered the import
    EXPECT_EQ(form_->Config.ListFile.str(), list);
}

class WebPagesWithoutBrowser : public mainformtest::StartedMainWindowTest {};

// The offscreen platform can start no browser, as a desktop without one.
TEST_F(WebPagesWithoutBrowser, CommandsSayItWithTheAddressOnTheClipboard) {
    const std::vector<std::pair<const char*, QString>> cases = {
        {"Contents1", ui::Message(65093)},
        {"NewinVersion31", ui::Message(65096)},
        {"BrowsetoOrvellohomepage1", ui::Message(65094)},
        {"Browsetocurrentwebcampicture1", "http://127.0.0.1:9/a.jpg"},
    };
    for (const auto& [command, url] : cases) {
        SCOPED_TRACE(command);
        prompts_.shown.clear();
        QGuiApplication::clipboard()->clear();
        Item(command).trigger();
        ASSERT_EQ(prompts_.shown.size(), 1);
        EXPECT_TRUE(prompts_.shown[0].startsWith("Aucun navigateur n'a pu être lancé")) << prompts_.shown[0].toStdString();
        EXPECT_TRUE(prompts_.shown[0].endsWith("\n" + url)) << prompts_.shown[0].toStdString();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), url);
    }
}

TEST(OpenInBrowser, OpensOnlyWebAddressesAndSaysNothingWhenTheBrowserStarts) {
    platform::ScriptedPrompts prompts;
    QStringList opened;
    const ui::UrlOpener browser = [&](const QUrl& url) {
        opened << url.toString();
        return true;
    };
    for (const char* url : {"https://www.orvello.example/", "file:///etc/passwd", "javascript:x", ""})
        ui::OpenInBrowser(url, browser);
    EXPECT_EQ(opened, QStringList{"https://www.orvello.example/"});
    EXPECT_EQ(prompts.shown, QStringList{});
}

}  // namespace
