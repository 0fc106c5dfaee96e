#pragma once
// The keyboard and the pointer taken by a full-screen saver while it shows, as a screen saver
// does: a key or a click then reaches it whichever window had the focus before. The X server
// refuses a grab while the window is not viewable yet or another client holds one, so each is
// tried again until held. Inside a daemon's window the daemon grabs, never the saver.

#include <QObject>

class QTimer;
class QWidget;

namespace saver {

class InputGrab : public QObject {
    Q_OBJECT
public:
    explicit InputGrab(QWidget& window);

    // Grabs now, or as soon as the server allows.
    void Start();
    bool Held() const { return keyboard_ && pointer_; }

private:
    void Try();

    QWidget& window_;
    QTimer* retry_;
    bool keyboard_ = false;
    bool pointer_ = false;
};

}  // namespace saver
