#pragma once
// The main window's menu bar, tool bars and pop-up menus, built once from one table. Every item
// is a QAction whose objectName is the control's name and whose "handler" property names the
// form's handler it runs; several controls may share a handler. BindCommands connects the
// handlers the window has and disables every item whose handler it does not have yet.

#include <QString>

#include <functional>
#include <map>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace ui {

struct MainMenus {
    QMenu* gridPopup = nullptr;  // PopupMenu1, the thumbnail grid's pop-up
    QMenu* trayPopup = nullptr;  // traypopup, the tray icon's pop-up
    QToolBar* toolBar = nullptr;        // ToolBar1, the window's commands
    QToolBar* webcamToolBar = nullptr;  // ToolBar2, the current webcam's panel
};

// Builds the menu bar and tool bars into window and the two pop-ups (owned by window).
MainMenus BuildMainMenus(QMainWindow& window);

using CommandHandlers = std::map<std::string, std::function<void()>>;

// Connects each item of window (menus, pop-ups, tool bars) to the handler its "handler"
// property names; items without a handler in the map are disabled.
void BindCommands(QWidget& window, const CommandHandlers& handlers);

// The item named name, or null.
QAction* FindCommand(QWidget& window, const char* name);

}  // namespace ui
