#include "platform/qt/gui_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/dispatch.h"
#include "platform/message_loop.h"

namespace {

using namespace std::chrono_literals;

// Runs a function when a posted event of its own reaches it.
class EventProbe : public QObject {
public:
    explicit EventProbe(std::function<void()> onEvent) : onEvent_(std::move(onEvent)) {}
    void PostOne() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        onEvent_();
        return true;
    }

private:
    std::function<void()> onEvent_;
};

bool WaitPumping(const std::function<bool()>& done) {
    return platform::Dispatcher::Main().WaitUntil(done, 10ms, std::chrono::steady_clock::now() + 10s);
}

// Runs Qt's loop until quit is called on it or ten seconds passed.
void RunQtLoop(QEventLoop& loop) {
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(GuiEventBridge, ThreadCallsRunOnTheGuiThreadWhileQtsLoopRuns) {
    platform::GuiEventBridge bridge;
    QEventLoop loop;
    const std::thread::id gui = std::this_thread::get_id();
    std::atomic<bool> ranOnGui{false}, taskRan{false};

    std::thread worker([&] {
        // A call of the dispatcher and a task of the GUI thread's own message loop.
        platform::Synchronize([&] { ranOnGui = std::this_thread::get_id() == gui; });
        platform::MessageLoop* guiLoop = nullptr;
        platform::Synchronize([&] { guiLoop = &platform::MessageLoop::Current(); });
        guiLoop->remote()->PostTask([&] {
            taskRan = true;
            loop.quit();
        });
    });
    RunQtLoop(loop);
    worker.join();
    EXPECT_TRUE(ranOnGui);
    EXPECT_TRUE(taskRan);
}

TEST(GuiEventBridge, WaitOnTheGuiThreadProcessesQtEvents) {
    platform::GuiEventBridge bridge;
    bool handled = false;
    EventProbe probe([&] { handled = true; });
    probe.PostOne();
    EXPECT_TRUE(WaitPumping([&] { return handled; }));
}

TEST(GuiEventBridge, ComponentWaitOnTheGuiLoopProcessesQtEventsAndThreadCalls) {
    platform::GuiEventBridge bridge;
    platform::MessageLoop& loop = platform::MessageLoop::Current();
    bool handled = false;
    EventProbe probe([&] { handled = true; });
    probe.PostOne();
    std::atomic<bool> synchronized{false};
    std::thread worker([&] { platform::Synchronize([&] { synchronized = true; }); });

    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((!handled || !synchronized) && std::chrono::steady_clock::now() < deadline) loop.WaitForWork(10);
    worker.join();
    EXPECT_TRUE(handled);
    EXPECT_TRUE(synchronized);
}

// A wait inside an event handler that runs during a wait still serves other threads, but does
// not process Qt's events a second time over: the nesting stays one level deep.
TEST(GuiEventBridge, NestedWaitServesThreadsWithoutReenteringQtEvents) {
    platform::GuiEventBridge bridge;
    bool secondHandled = false, secondSeenByInnerWait = true, innerDone = false;
    EventProbe second([&] { secondHandled = true; });
    EventProbe first([&] {
        second.PostOne();
        std::atomic<bool> synchronized{false};
        std::thread worker([&] { platform::Synchronize([&] { synchronized = true; }); });
        innerDone = WaitPumping([&] { return synchronized.load(); });
        worker.join();
        secondSeenByInnerWait = secondHandled;
    });
    first.PostOne();
    EXPECT_TRUE(WaitPumping([&] { return secondHandled; }));
    EXPECT_TRUE(innerDone);
    EXPECT_FALSE(secondSeenByInnerWait);
}

TEST(GuiEventBridge, QuitOfTheGuiLoopEndsQtsLoop) {
    platform::GuiEventBridge bridge;
    platform::MessageLoop& guiLoop = platform::MessageLoop::Current();
    guiLoop.PostQuit(0);
    QEventLoop loop;
    // The request ends every running Qt loop; the time-out would leave exec only after 10 s.
    const auto started = std::chrono::steady_clock::now();
    RunQtLoop(loop);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 9s);
    guiLoop.Run();  // takes the sticky request, so later tests see a clean loop
}

}  // namespace
