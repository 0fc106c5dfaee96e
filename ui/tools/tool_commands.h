#pragma once
// The main window's commands around the tray icon, the debug and error logs, the status lamps,
// the mailing list and the debug menu's list conversion, as rows of the window's handler table.
// Main thread only.

#include "ui/main/main_menus.h"

namespace ui {

class Tsupamain;

// Adds the handlers of these commands to handlers, and points the tray icon's click and double
// click at them.
void AddToolCommands(Tsupamain& form, CommandHandlers& handlers);

}  // namespace ui
