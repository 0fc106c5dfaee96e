#pragma once
// The window a screen-saver daemon hands to the programs it runs: xscreensaver names it in
// XSCREENSAVER_WINDOW (decimal, or hexadecimal with 0x).

#include <QWindow>

namespace saver {

// The window id, or 0 when the variable is unset or not a number.
WId HostWindowFromEnvironment();

// The window's size as the X server has it (Qt does not ask for a foreign window's); empty when
// it cannot be had.
QSize HostWindowSize(WId window);

}  // namespace saver
