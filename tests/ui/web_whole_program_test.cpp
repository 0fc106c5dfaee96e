// The web features of ovl as a whole, driven with the keyboard and the mouse as a person would,
// on a private Xvfb display with local nginx as the product's web site: the list index, a list
// downloaded and its webcams added through the list manager and seen running; then the proxy,
// preferences and automatic-creation commands of the Outils menu and the records they write.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/regconfig.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

class WebWholeProgram : public WholeProgramTest {
protected:
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The version file and the index come from the local site.
        setenv("ORVELLO_SITE_ROOT", nginx_->Url("").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ORVELLO_SITE_ROOT");
        WholeProgramTest::TearDown();
    }
    // Opens an item of the menu that key opens: downs from its first enabled item, or (negative)
    // ups from there, which wrap to its last.
    void MenuItem(const std::string& key, int downs) {
        ASSERT_TRUE(desktop_->Focus(mainWindow_));
        std::vector<std::string> keys{key};
        keys.insert(keys.end(), static_cast<std::size_t>(std::abs(downs)), downs >= 0 ? "Down" : "Up");
        keys.push_back("Return");
        ASSERT_TRUE(desktop_->Keys(keys));
    }
    // The window whose title matches, focused.
    std::string Window(const std::string& title) {
        const std::string window = desktop_->WaitForWindow(title, 20000, mainWindow_);
        EXPECT_FALSE(window.empty()) << "no window " << title << "\n" << OvlLog();
        if (window.empty()) Shot("missing");
        if (!window.empty()) {
            EXPECT_TRUE(desktop_->Focus(window));
        }
        return window;
    }
    // Confirms the message box that comes up with its default button.
    void ConfirmMessage(const std::string& step) {
        const std::string box = Window("^Orvello$");
        ASSERT_FALSE(box.empty());
        Shot(step);
        ASSERT_TRUE(desktop_->Keys({"Return"}));
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(box); }, 10s));
    }
    static engine::TExtra1Rec StoredExtra1() {
        engine::TExtra1Rec extra1{};
        engine::TExtra2Rec extra2{};
        engine::tregconfig().ReadExtra12(extra1, extra2);
        return extra1;
    }
};

TEST_F(WebWholeProgram, ListDownloadedItsWebcamsAddedAndSeenThenTheSettingsCommandsWriteTheirRecords) {
    ServePicture("harbour.jpg", kRed);
    ServePicture("beach.jpg", kBlue);
    testsupport::WriteFile(nginx_->root() / "ovlver.txt", "20030225");
    std::string list = "ENCODE\r\n";
    for (const auto& [picture, name] : {std::pair{"harbour.jpg", "Harbour"}, std::pair{"beach.jpg", "Beach"}})
        list += "START\r\nPREF=" + Url(picture) + "\r\nNAME=" + name + "\r\nDESC=" + name + "\r\nREFR=1\r\nENDWC\r\n";
    testsupport::WriteFile(nginx_->root() / "lists" / "eu.txt", list);
    testsupport::WriteFile(nginx_->root() / "wclist24url.txt", "Europe - 2 webcams," + Url("lists/eu.txt") + "\r\n");
    ASSERT_TRUE(StartOvl());

    // Fichier, "Télécharger les listes de Webcams" (above "Exporter...", "Envoyer dans le systray"
    // and "Quitter"): the version check, then the index.
    MenuItem("alt+f", -4);
    const std::string download = Window("^Télécharger la list des Webcams$");
    ASSERT_FALSE(download.empty());
    ASSERT_TRUE(testsupport::WaitFor([&] { return Requests("wclist24url.txt") >= 1; }, 20s)) << OvlLog();
    EXPECT_GE(Requests("ovlver.txt?"), 1);
    // A double click on the first list (its line is the first of the list box, below the label)
    // downloads it; on a slow machine the index may be listed a moment after it was served, so
    // the double click is repeated until the saved list's message comes.
    std::string box;
    for (int attempt = 0; attempt < 5 && box.empty(); ++attempt) {
        std::this_thread::sleep_for(500ms);
        if (attempt == 0) Shot("index");
        ASSERT_TRUE(desktop_->Focus(download));
        ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", download, "60", "38", "click", "--repeat", "2",
                                   "--delay", "80", "1"}));
        box = desktop_->WaitForWindow("^Orvello$", 5000, mainWindow_);
    }
    ASSERT_FALSE(box.empty()) << OvlLog();
    ConfirmMessage("saved");
    EXPECT_EQ(testsupport::ReadFile(programDir() / "europe.txt"), list);
    EXPECT_NE(testsupport::ReadFile(programDir() / "downloaded.txt").find("Europe - 2 webcams - "), std::string::npos);

    // "Ajouter webcam à partir de la liste", then "Rajouter toutes les webcams" in the manager.
    ASSERT_TRUE(desktop_->Focus(download));
    ASSERT_TRUE(desktop_->Keys({"Tab", "space"}));
    const std::string manager = Window("^Gestionnaire de liste webcams$");
    ASSERT_FALSE(manager.empty());
    std::this_thread::sleep_for(300ms);
    Shot("manager");
    ASSERT_TRUE(desktop_->Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"}));
    ConfirmMessage("added");
    ASSERT_TRUE(desktop_->Focus(manager));
    ASSERT_TRUE(desktop_->Keys({"Escape"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(manager); }, 10s));
    ASSERT_TRUE(desktop_->Focus(download));
    ASSERT_TRUE(desktop_->Keys({"Escape"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(download); }, 10s));
    EXPECT_TRUE(std::filesystem::is_directory(dataDir() / "Harbour"));
    EXPECT_TRUE(std::filesystem::is_directory(dataDir() / "Beach"));

    // Started, both thumbnails show.
    MenuItem("alt+w", 0);
    EXPECT_TRUE(ScreenShows("running", [](const testsupport::Screenshot& shot) {
        return shot.CountNear(kRed) >= kThumbnailPixels && shot.CountNear(kBlue) >= kThumbnailPixels;
    })) << OvlLog();
    MenuItem("alt+w", 1);  // stop all: the proxy may not change while webcams run
    std::this_thread::sleep_for(1s);

    // Outils, "Paramètres du proxy" (on by default): a host, a port and a login; EXTRA1 is
    // written at once, CONFIG at shutdown.
    MenuItem("alt+o", 1);
    ASSERT_FALSE(Window("^Paramètres du proxy$").empty());
    ASSERT_TRUE(desktop_->Keys({"Tab"}));
    ASSERT_TRUE(desktop_->Type("proxy.lan"));
    ASSERT_TRUE(desktop_->Keys({"Tab", "ctrl+a"}));
    ASSERT_TRUE(desktop_->Type("3128"));
    ASSERT_TRUE(desktop_->Keys({"Tab"}));
    ASSERT_TRUE(desktop_->Type("me"));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    ConfirmMessage("proxy");
    EXPECT_EQ(StoredExtra1().ProxyUser.str(), "me");

    // "Préferences...": a new weather address, written whatever the dialog returns.
    MenuItem("alt+o", 0);
    ASSERT_FALSE(Window("^Préférences$").empty());
    ASSERT_TRUE(desktop_->Keys({"Tab", "ctrl+a"}));
    ASSERT_TRUE(desktop_->Type("http://meteo.example/"));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    ConfirmMessage("preferences");
    ASSERT_TRUE(testsupport::WaitFor([] { return StoredExtra1().WeatherURL.str() == "http://meteo.example/"; }, 10s));

    // "Création automatique des préférences": kept by the window, saved at shutdown.
    MenuItem("alt+o", 2);
    ASSERT_FALSE(Window("^Créer automatiquement les paramètres par defaut ainsi que les options$").empty());
    ASSERT_TRUE(desktop_->Keys({"ctrl+a"}));
    ASSERT_TRUE(desktop_->Type("77"));
    ASSERT_TRUE(desktop_->Keys({"Return"}));
    std::this_thread::sleep_for(500ms);
    EXPECT_NE(StoredExtra1().AutoRefresh, 77);
    EXPECT_EQ(StopOvl(), 0);
    EXPECT_EQ(StoredExtra1().AutoRefresh, 77);
    engine::TConfigRec config{};
    engine::tregconfig().ReadConfig(config);
    EXPECT_EQ(config.ProxyHost.str(), "proxy.lan");
    EXPECT_EQ(config.ProxyPort, 3128);
    EXPECT_EQ(config.UseProxy, 1);
    EXPECT_EQ(testsupport::ReadFile(programDir() / "europe.txt"), list);
}

}  // namespace
}  // namespace wholeprogram
