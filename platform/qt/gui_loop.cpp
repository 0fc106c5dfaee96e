#include "platform/qt/gui_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include "platform/dispatch.h"
#include "platform/message_loop.h"

namespace platform {

// Marks the bridge busy for a scope and keeps its notifiers quiet meanwhile, so that Qt's
// event processing inside never calls back into the same drain.
class GuiEventBridge::Busy {
public:
    explicit Busy(GuiEventBridge& bridge) : bridge_(bridge) {
        bridge_.busy_ = true;
        bridge_.SetNotifiersEnabled(false);
    }
    ~Busy() {
        bridge_.SetNotifiersEnabled(true);
        bridge_.busy_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    GuiEventBridge& bridge_;
};

GuiEventBridge::GuiEventBridge(QObject* parent)
    : QObject(parent),
      dispatcherNotifier_(new QSocketNotifier(Dispatcher::Main().EventFd(), QSocketNotifier::Read, this)),
      loopNotifier_(new QSocketNotifier(MessageLoop::Current().PollDescriptor(), QSocketNotifier::Read, this)) {
    connect(dispatcherNotifier_, &QSocketNotifier::activated, this, &GuiEventBridge::DrainDispatcher);
    connect(loopNotifier_, &QSocketNotifier::activated, this, &GuiEventBridge::DrainLoop);
    Dispatcher::Main().SetForeignPump([this] { PumpQtEvents(); });
    // A component's wait on the GUI thread's loop does not see the dispatcher's descriptor:
    // it serves other threads' calls here, so none of them waits for the component.
    MessageLoop::Current().SetForeignPump([this] {
        PumpQtEvents();
        Dispatcher::Main().ProcessMessages();
    });
}

GuiEventBridge::~GuiEventBridge() {
    Dispatcher::Main().SetForeignPump({});
    MessageLoop::Current().SetForeignPump({});
}

void GuiEventBridge::SetNotifiersEnabled(bool enabled) {
    dispatcherNotifier_->setEnabled(enabled);
    loopNotifier_->setEnabled(enabled);
}

void GuiEventBridge::PumpQtEvents() {
    if (busy_) return;
    Busy busy(*this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void GuiEventBridge::DrainDispatcher() {
    if (busy_) return;
    Busy busy(*this);
    Dispatcher::Main().ProcessMessages();
}

void GuiEventBridge::DrainLoop() {
    if (busy_) return;
    MessageLoop& loop = MessageLoop::Current();
    MessageLoop::Step step = MessageLoop::Step::Dispatched;
    {
        Busy busy(*this);
        for (int i = 0; i < kLoopItemsPerRound; ++i) {
            step = loop.ProcessOne();
            if (step != MessageLoop::Step::Dispatched) break;
        }
    }
    // The GUI thread's loop never runs its own Run(): a quit asked of it ends Qt's loop. The
    // request stays pending, so the notifier is left off instead of firing for it forever.
    if (step == MessageLoop::Step::Quit) {
        loopNotifier_->setEnabled(false);
        QCoreApplication::exit(0);
    }
}

}  // namespace platform
