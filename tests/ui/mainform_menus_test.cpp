// The main window's menus, tool bars and pop-ups: every item present once with its caption,
// shortcut and handler; items whose commands this window does not run yet are disabled.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QSet>

#include "ui/main/main_menus.h"

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

}  // namespace
