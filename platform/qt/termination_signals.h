#pragma once
// SIGTERM and SIGINT (the session ending, kill, Ctrl+C in a terminal) become an ordinary
// close request on the GUI thread, so the program shuts down in order and writes its settings
// instead of dying with them unsaved. Open modal dialogs and pop-up menus are cancelled first,
// and the close comes only once their loops have returned: the code that opened them goes on
// as after a cancel, never after the window has shut down. A long operation stops between its
// steps once TerminationRequested() (platform/termination_request.h) says so.

#include <QObject>

#include <functional>

class QSocketNotifier;
class QTimer;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One per process, on the GUI thread, made outside any event loop: onSignal runs there, in
    // the program's own event loop (one level below where this was made), for each signal.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    // Cancels what is modal; true once nothing modal is left and only the program's loop runs.
    bool CancelModalWindows();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_;
    QTimer* settle_;     // looks again until the modal loops have returned
    int programLoop_;    // the event loop level of the program's own loop
};

}  // namespace platform
