#include "ui/controls/key_handlers.h"

#include <QKeyEvent>

namespace ui {

bool RunKeyHandlers(QKeyEvent& event, const KeyHandler& down, const KeyHandler& up, const KeyPressHandler& press) {
    const TShiftState shift = ShiftStateAfter(event);
    int key = event.key();
    bool consumed = false;
    if (event.type() == QEvent::KeyRelease) {
        if (up) up(key, shift);
        consumed = key == 0;
    } else {
        if (down) down(key, shift);
        consumed = key == 0;
        if (!consumed && press && !event.text().isEmpty()) {
            QChar character = event.text().front();
            press(character);
            consumed = character.isNull();
        }
    }
    if (consumed) event.accept();
    return consumed;
}

}  // namespace ui
