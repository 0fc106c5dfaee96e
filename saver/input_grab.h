#pragma once
// The keyboard and the pointer taken by a full-screen saver while it shows, as a screen saver
// does: every key, click and pointer move then reaches it, whichever window had the focus or
// lies under the pointer. The grabs are asked of the X server directly and count only when
// its answer says they were taken (a toolkit's grab can report success without holding the
// pointer); the server refuses them while the window is not viewable yet or another client
// holds one, so each is tried again until held. Inside a daemon's window the daemon grabs,
// never the saver.

#include <QAbstractNativeEventFilter>
#include <QObject>

class QTimer;
class QWidget;

namespace saver {

class InputGrab : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit InputGrab(QWidget& window);
    ~InputGrab() override;

    // Grabs now, or as soon as the server allows.
    void Start();
    bool Held() const { return keyboard_ && pointer_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A key pressed, or a button pressed or released, while the grab holds.
    void pressed();
    // The pointer moved, to this position on the screen.
    void moved(QPoint global);

private:
    void Try();

    QWidget& window_;
    QTimer* retry_;
    bool keyboard_ = false;
    bool pointer_ = false;
};

}  // namespace saver
