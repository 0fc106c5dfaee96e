#pragma once
// TPageControl1: a page control whose key events can be handled from outside. The control takes
// the keyboard focus through its row of tabs, so its handlers see the keys the tabs receive; a
// handler that sets the key to 0 consumes it (the tabs do not switch pages on it).

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
};

}  // namespace ui
