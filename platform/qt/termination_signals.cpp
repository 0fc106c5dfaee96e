#include "platform/qt/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>
#include <stdexcept>

namespace platform {
namespace {

int gPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void OnTerminationSignal(int) {
    const int saved = errno;
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
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("signal pipe failed");
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(gPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (onSignal_) onSignal_();
    });
    SetHandler(OnTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    SetHandler(SIG_DFL);
    close(gPipe[0]);
    close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

}  // namespace platform
