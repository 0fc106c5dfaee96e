#pragma once
// SIGTERM and SIGINT (the session ending, kill, Ctrl+C in a terminal) become an ordinary
// close request on the GUI thread, so the program shuts down in order and writes its settings
// instead of dying with them unsaved.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One per process, on the GUI thread; onSignal runs there for each signal that arrives.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_;
};

}  // namespace platform
