#pragma once
// The main window's stored size, made to fit the screen: a width or height of 0 or less, or one
// larger than the screen's available area, becomes the screen's.

#include <QSize>

namespace ui {

QSize ClampWindowSize(QSize stored, QSize screen);

// Whether the settings store holds the window's size (the CONFIG record) yet: not on the first
// start.
bool WindowSizeStored();

}  // namespace ui
