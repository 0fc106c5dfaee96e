#include "ui/controls/shift_state.h"

#include <QKeyEvent>

namespace ui {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
    TShiftState state = 0;
    if (modifiers & Qt::ShiftModifier) state |= ssShift;
    if (modifiers & Qt::AltModifier) state |= ssAlt;
    if (modifiers & Qt::ControlModifier) state |= ssCtrl;
    return state;
}

TShiftState ShiftStateAfter(const QKeyEvent& event) {
    TShiftState own = 0;
    switch (event.key()) {
        case Qt::Key_Shift: own = ssShift; break;
        case Qt::Key_Alt: own = ssAlt; break;
        case Qt::Key_Control: own = ssCtrl; break;
        default: break;
    }
    const TShiftState state = ShiftStateOf(event.modifiers());
    return event.type() == QEvent::KeyRelease ? state & ~own : state | own;
}

}  // namespace ui
