#pragma once
// The GUI thread's side of the platform layer, over Qt's event loop. The main-thread
// dispatcher (calls of other threads, Synchronize) and the GUI thread's own message loop
// (sockets, timers and tasks of components that live on the GUI thread) are both served from
// Qt's loop through socket notifiers on their descriptors. A wait on the GUI thread (a
// dispatcher WaitUntil, or a component's synchronous action) processes Qt's pending events,
// so the window stays alive while it waits.
//
// GUI thread only. Create one after the QApplication and keep it for the life of the loop.

#include <QObject>

class QSocketNotifier;

namespace platform {

class GuiEventBridge : public QObject {
    Q_OBJECT
public:
    explicit GuiEventBridge(QObject* parent = nullptr);
    ~GuiEventBridge() override;
    GuiEventBridge(const GuiEventBridge&) = delete;
    GuiEventBridge& operator=(const GuiEventBridge&) = delete;

    // Processes Qt's pending events once. It never re-enters itself and does nothing inside the
    // bridge's own draining: a wait that begins there still serves other threads' calls, but
    // Qt's events wait until it ends, so the nesting of event processing stays bounded.
    void PumpQtEvents();

    // Items handled per notification before Qt's loop gets its turn again; the descriptors stay
    // readable while work is left, so the rest follows at the next round.
    static constexpr int kLoopItemsPerRound = 256;

private:
    class Busy;
    void DrainDispatcher();
    void DrainLoop();
    void SetNotifiersEnabled(bool enabled);

    QSocketNotifier* dispatcherNotifier_;
    QSocketNotifier* loopNotifier_;
    bool busy_ = false;  // inside Pump or a drain
};

}  // namespace platform
