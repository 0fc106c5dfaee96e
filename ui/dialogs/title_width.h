#pragma once
// A window wide enough for its whole title as a window manager draws it: the title in bold (as
// openbox and most others draw it, which is wider than the application's own font) plus what
// the title bar puts beside it (the window's icon and three buttons, or only the icon and some
// padding for a window that asks for a bare title bar).

class QWidget;

namespace ui {

// The width window's title bar needs to show its title whole.
int TitleBarWidth(const QWidget& window);

// Raises window's minimum width to TitleBarWidth, never below what its layout needs, and a
// fixed width with it; a message box, which sets its own size from its layout each time it
// lays itself out, is given a row that wide. Called once the title, the layout and the
// window's own size are set.
void FitTitle(QWidget& window);

}  // namespace ui
