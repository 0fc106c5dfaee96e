#pragma once
// A window wide enough for its whole title: the title's width in the application's font plus
// what a window manager's title bar puts beside it (the window's icon and three buttons, or only
// some padding for a window that asks for a bare title bar).

class QWidget;

namespace ui {

// The width window's title bar needs to show its title whole.
int TitleBarWidth(const QWidget& window);

// Raises window's minimum width to TitleBarWidth, never below what its layout needs, and a
// fixed width with it. Called once the title, the layout and the window's own size are set.
void FitTitle(QWidget& window);

}  // namespace ui
