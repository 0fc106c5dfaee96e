#pragma once
// The program's pictures: its icon, the splash picture, and the images of the tool buttons.
// A tool button shows the desktop's icon theme where the theme has a drawable icon for it,
// else one of our own small set, drawn here so that it is sharp at any size. Main thread only.

#include <QIcon>
#include <QImage>

namespace ui {

QIcon ProgramIcon();

// The picture the splash window shows when the program folder has no "splash.jpg".
QImage SplashPicture();

// The image of a tool button of the main window by its name ("ToolButton8"); a null icon for
// a name that has none.
QIcon ToolButtonIcon(const char* buttonName);

// The two images of the stop-all button ToolButton9: 0 while webcams run, 1 when none does.
QIcon StopAllIcon(int imageIndex);

}  // namespace ui
