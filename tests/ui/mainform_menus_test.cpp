// The main window's menus, tool bars and pop-ups: every item present once with its caption,
// shortcut and handler; items whose commands this window does not run yet are disabled.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "engine/jpeg_picture.h"
#include "engine/webcam_manager.h"
#include "tests/support/idle_fetch_worker.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "ui/main/main_menus.h"
#include "ui/main/tsupamain.h"

namespace {

struct MenuFixture : ::testing::Test {
    QMainWindow window;
    ui::MainMenus menus = ui::BuildMainMenus(window);
};

TEST_F(MenuFixture, ItemsCarryTheirCaptionShortcutAndHandler) {
    struct Case {
        const char* name;
        const char* caption;
        const char* shortcut;
        const char* handler;
    };
    const Case cases[] = {
        {"Exit1", "Q&uitter", "", "Exit1Click"},
        {"Editwebcamcategories1", "Editer la ca&tégorie de la caméra actuelle...", "F5", "Editwebcamcategories1Click"},
        {"AddselectedwebcamstoFavorites2", "Ajouter les webcams sélectionnées à mes favoris", "Ctrl+T",
         "AddselectedwebcamstoFavorites2Click"},
        {"Startallwebcams1", "Démarrer &toutes les webcams", "", "ToolButton8Click"},
        {"ToolButton8", "Tout démarrer", "", "ToolButton8Click"},
        {"Browsetocurrentwebcampicture1", "Ouvrir la &webcam dans mon navigateur", "Ctrl+P", "Refreshclick"},
        {"DeleteAllPicturesforcurrentwebcam1", "Effacer &toutes les images pour la webcam sélectionnée", "Shift+Del",
         "DeleteAllPicturesforcurrentwebcam1Click"},
        {"Exit2", "Quitter", "", "Exit2Click"},
        {"InvertSelection1", "Inverser la sélection", "", "InvertSelection1Click"},
    };
    for (const Case& c : cases) {
        QAction* action = ui::FindCommand(window, c.name);
        ASSERT_NE(action, nullptr) << c.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut))) << c.name;
        EXPECT_EQ(action->property("handler").toString(), QString::fromLatin1(c.handler)) << c.name;
    }
    EXPECT_TRUE(menus.trayPopup->actions().contains(ui::FindCommand(window, "Exit2")));
    EXPECT_TRUE(menus.gridPopup->actions().contains(ui::FindCommand(window, "SelectNone1")));
}

TEST_F(MenuFixture, NamesAreUniqueAndShortcutsDoNotClash) {
    QSet<QString> names, shortcuts;
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName().isEmpty()) continue;
        EXPECT_FALSE(names.contains(action->objectName())) << action->objectName().toStdString();
        names.insert(action->objectName());
        const QString keys = action->shortcut().toString();
        if (keys.isEmpty()) continue;
        EXPECT_FALSE(shortcuts.contains(keys)) << keys.toStdString();
        shortcuts.insert(keys);
    }
    EXPECT_GT(names.size(), 100);
}

TEST_F(MenuFixture, BindingEnablesOnlyCommandsWithHandlers) {
    int exits = 0;
    ui::BindCommands(window, {{"Exit1Click", [&] { ++exits; }}, {"Exit2Click", [&] { ++exits; }}});
    QAction* exit1 = ui::FindCommand(window, "Exit1");
    QAction* check = ui::FindCommand(window, "Checkfornewversion1");
    EXPECT_TRUE(exit1->isEnabled());
    EXPECT_FALSE(check->isEnabled());
    exit1->trigger();
    ui::FindCommand(window, "Exit2")->trigger();
    check->trigger();
    EXPECT_EQ(exits, 2);
    // Binding again replaces the connections: one run per trigger.
    ui::BindCommands(window, {{"Exit1Click", [&] { ++exits; }}});
    exit1->trigger();
    EXPECT_EQ(exits, 3);
    EXPECT_FALSE(ui::FindCommand(window, "Exit2")->isEnabled());
}

// Alt+A opens "&Affichage"; pressed again it moves on to "&Aide", the next menu of that letter,
// then back to the first, as menus usually do with a repeated mnemonic.
TEST_F(MenuFixture, ARepeatedMnemonicMovesToTheNextMenuOfItsLetter) {
    window.resize(600, 400);
    ASSERT_TRUE(dialogtest::ShowExposed(window));
    QApplication::setActiveWindow(&window);
    std::vector<std::string> opened;
    for (int press = 0; press < 3; ++press) {
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : &window;
        QTest::keyClick(target, Qt::Key_A, Qt::AltModifier);
        QApplication::processEvents();
        QWidget* popup = QApplication::activePopupWidget();
        opened.push_back(popup ? popup->objectName().toStdString() : std::string("none"));
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"View1", "Help1", "View1"}));
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

// The real window binds every handler its menus, tool bars and pop-ups name: a handler renamed
// on one side would otherwise switch its items off without a word.
class MainWindowBinding : public testsupport::IsolatedTest {};

TEST_F(MainWindowBinding, EveryItemIsBoundToItsHandler) {
    static const char* const kHandlers[] = {
        "About1Click", "Addcurrentwebcamtoscreensaverlist1Click", "AddselectedwebcamstoFavorites2Click",
        "AutoCreatePreferences1Click", "Autoupdate1Click", "BrowseWeatherInformation1Click",
        "BrowsetoOrvellohomepage1Click", "Button2Click", "Changerefreshrateforselectedwebcams1Click",
        "Changesavesettingsforselectedwebcams1Click", "Checkfornewversion1Click", "ClearFavorites1Click",
        "Contents1Click", "CopyPictureFilenametoClipboard1Click", "CopyPicturetoClipboard1Click",
        "CopySelectedPictures1Click", "Createwebcamfromwebcamlist1Click", "DeleteAllPicturesforcurrentwebcam1Click",
        "DeleteLogfile1Click", "DeleteSelectedDiskPictures1Click", "Deleteallwebcams1Click",
        "Deletecurrentwebcam1Click", "Deletedisabledwebcams1Click", "Deleteerrorlog1Click",
        "Deleteselectedwebcams1Click", "Disableallwebcams1Click", "Disableselectedwebcams1Click",
        "Downloadwebcamlist1Click", "Edit2Click", "Editwebcamcategories1Click", "Enableallwebcams1Click",
        "Enableselectedwebcams1Click", "Errorlogging1Click", "Exit1Click", "Exit2Click", "GlobalSaveControl1Click",
        "InvertSelection1Click", "JoinMailingList1Click", "Leavemailinglist1Click", "MotionDetectionSettings1Click",
        "MoveSelectedPictures1Click", "New1Click", "NewinVersion31Click", "Preferences1Click",
        "PreferencesforFavorites1Click", "ProxySetup1Click", "Refreshclick",
        "RemoveselectedwebcamsfromFavorites1Click", "SaveCurrentPicture1Click", "SaveWebcamList1Click",
        "SaveselectedpicturesasAVIfile1Click", "Screensaverwebcamlist1Click", "SelectAll1Click", "SelectNone1Click",
        "SelectWebcam1Click", "SelectWebcamFolder1Click", "Selectthumbnailsize1Click", "Sendtosystemtray1Click",
        "Sendusacomment1Click", "ShowFavorites1Click", "ShowMapforcurrentwebcam1Click", "ShowOrvello1Click",
        "Showlastheader1Click", "SlowScanInactiveWebcams1Click", "SpecifyLogfile1Click", "StartFavorites1Click",
        "Startallwebcams2Click", "Startlogging1Click", "Startselectedwebcams1Click", "StatusLEDColors1Click",
        "StatusLEDs1Click", "StopLogging1Click", "Stopallwebcams2Click", "Stopselectedwebcams1Click",
        "ToolButton10Click", "ToolButton11Click", "ToolButton13Click", "ToolButton14Click", "ToolButton16Click",
        "ToolButton17Click", "ToolButton19Click", "ToolButton1Click", "ToolButton20Click", "ToolButton25Click",
        "ToolButton2Click", "ToolButton7Click", "ToolButton8Click", "ToolButton9Click", "ViewLog1Click",
        "Viewerrorlog1Click", "WebcamHints1Click", "Writemessage1Click", "importwct1Click",
    };
    ui::Tsupamain form(ui::Tsupamain::Services{
        ui::ManagerEngineFactory([](const ui::MainEngineSettings&) {
            return engine::WebcamManagerServices{testsupport::IdleFetchWorkers(), {}, engine::MakeJpegPicture};
        }),
        {}});
    QSet<QString> named;
    for (QAction* action : form.findChildren<QAction*>()) {
        const QVariant handler = action->property("handler");
        if (!handler.isValid()) continue;
        named.insert(handler.toString());
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString() << " has no " << handler.toString().toStdString();
    }
    for (const char* handler : kHandlers) EXPECT_TRUE(named.contains(QString::fromLatin1(handler))) << handler;
    EXPECT_EQ(named.size(), static_cast<int>(std::size(kHandlers)));
}

}  // namespace
