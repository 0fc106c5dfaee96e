#pragma once
// TPageControl1: a page control whose key events can be handled from outside, whether the key
// reaches the control itself or its row of tabs. A handler that sets the key to 0 consumes it.

#include <QTabWidget>

#include "ui/controls/key_handlers.h"

namespace ui {

class TPageControl1 : public QTabWidget {
    Q_OBJECT
public:
    explicit TPageControl1(QWidget* parent = nullptr);

    KeyHandler onkeydown;
    KeyHandler onkeyup;
    KeyPressHandler onkeypress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Runs the handlers; true when they consumed the key.
    bool HandleKey(QKeyEvent& event);
};

}  // namespace ui
