#include "ui/forms/loadingwc.h"

#include <QCoreApplication>
#include <QWindow>

#include "platform/termination_request.h"
#include "ui/dialogs/dialog_instance.h"

namespace ui {
namespace {

// A load of thousands of webcams repaints the window this often at most.
constexpr qint64 kRepaintEveryMs = 40;
// How long the window may take to be mapped by the window manager.
constexpr int kExposeLimitMs = 1000;

}  // namespace

Tloadingwc::Tloadingwc(QWidget* parent)
    : ProgressForm("loadingwc", QStringLiteral("Chargement de vos webcams ..."),
                   QStringLiteral("Chargement de la webcam ..."), parent) {
    setMinimumWidth(320);
}

void Tloadingwc::SetProgress(int Done, int Total) {
    ShowCount(Done, Total);
    if (!isVisible()) {
        show();
        WaitUntilExposed();
        sincePaint_.invalidate();
    }
    if (sincePaint_.isValid() && sincePaint_.elapsed() < kRepaintEveryMs) return;
    repaint();
    sincePaint_.start();
}

// The load runs on this thread without returning to the event loop, so the window is painted
// here: once the window system has shown it (only its own events are handled meanwhile: no
// input, no timers, no other thread's calls; a termination signal ends the wait), then directly
// on every step.
void Tloadingwc::WaitUntilExposed() {
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < kExposeLimitMs &&
           !platform::TerminationRequested())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                            QEventLoop::X11ExcludeTimers,
                                        10);
}

Tloadingwc& loadingwc() { return DialogInstance<Tloadingwc>::Get(); }

}  // namespace ui
