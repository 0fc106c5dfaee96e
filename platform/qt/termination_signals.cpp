#include "platform/qt/termination_signals.h"

#include "platform/termination_request.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <stdexcept>

namespace platform {
namespace {

int gPipe[2] = {-1, -1};

// Only async-signal-safe work here: the request raised for long operations, one byte into the
// pipe for the close.
void OnTerminationSignal(int) {
    const int saved = errno;
    RequestTermination();
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(gPipe[1], &byte, 1);
    errno = saved;
}

void SetHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)), programLoop_(QThread::currentThread()->loopLevel() + 1) {
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("signal pipe failed");
    settle_ = new QTimer(this);
    settle_->setInterval(10);
    connect(settle_, &QTimer::timeout, this, [this] {
        if (!CancelModalWindows()) return;
        settle_->stop();
        if (onSignal_) onSignal_();
    });
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(gPipe[0], bytes, sizeof bytes) > 0) {
        }
        // The close itself runs from the program's loop, after every modal loop has returned.
        CancelModalWindows();
        settle_->start();
    });
    SetHandler(OnTerminationSignal);
}

bool TerminationSignals::CancelModalWindows() {
    bool open = false;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (popup == QApplication::activePopupWidget()) break;  // it refused: look again later
    }
    // The innermost first: each cancel lets the next one be the active modal window.
    for (QWidget* modal = QApplication::activeModalWidget(); modal; modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
        if (modal == QApplication::activeModalWidget()) {
            open = true;  // it refused: look again later
            break;
        }
    }
    return !open && !QApplication::activePopupWidget() && QThread::currentThread()->loopLevel() <= programLoop_;
}

TerminationSignals::~TerminationSignals() {
    SetHandler(SIG_DFL);
    close(gPipe[0]);
    close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

}  // namespace platform
