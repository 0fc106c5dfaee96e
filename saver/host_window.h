#pragma once
// The window a screen-saver daemon hands to the programs it runs: xscreensaver names it in
// XSCREENSAVER_WINDOW (decimal, or hexadecimal with 0x).

#include <QObject>
#include <QWindow>

#include <sys/types.h>

class QTimer;
struct xcb_connection_t;

namespace saver {

// The window id, or 0 when the variable is unset or not a number.
WId HostWindowFromEnvironment();

// The application's connection to the X server, or null when it does not run on X.
xcb_connection_t* XConnection();

// The window's size as the X server has it (Qt does not ask for a foreign window's); empty when
// it cannot be had.
QSize HostWindowSize(WId window);

// Ends the application (as a SIGTERM would) once the host window is gone or the process that
// started the saver has died: the daemon's graphics process killed or crashed, or the window
// closed, must not leave a saver running behind a black screen. A look twice a second, which
// costs next to nothing while the saver has nothing else to do.
class HostWatch : public QObject {
    Q_OBJECT
public:
    explicit HostWatch(WId window, QObject* parent = nullptr);

private:
    void Look();

    const WId window_;
    const pid_t parent_;
    QTimer* timer_;
};

}  // namespace saver
