#pragma once
// The key-down, key-press and key-up handlers of a control, run for one key event the way the
// controls publish them: key-down (and then key-press for a key that gives a character) on a
// press, key-up on a release. A handler consumes the key by setting it to 0.

#include <QChar>

#include <functional>

#include "ui/controls/shift_state.h"

class QKeyEvent;

namespace ui {

using KeyHandler = std::function<void(int& key, TShiftState shift)>;
using KeyPressHandler = std::function<void(QChar& key)>;

// True when a handler consumed the key (the event is then accepted).
bool RunKeyHandlers(QKeyEvent& event, const KeyHandler& down, const KeyHandler& up, const KeyPressHandler& press);

}  // namespace ui
