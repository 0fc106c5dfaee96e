#pragma once
// The keyboard shift state as the handlers of the controls see it: Shift 1, Alt 2, Ctrl 4.

#include <Qt>

class QKeyEvent;

namespace ui {

using TShiftState = int;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);

// The state after a key event: a Shift, Alt or Ctrl key itself counts as held while it is down
// and as released once it is up, whatever the window system put in the event's modifiers.
TShiftState ShiftStateAfter(const QKeyEvent& event);

}  // namespace ui
