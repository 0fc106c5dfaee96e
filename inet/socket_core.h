#pragma once
// The head of every connection object: its notification target on the owning thread's
// loop, the last error text, the time-out and deadline, the interrupt request and the
// synchronous wait step on which every blocking action rests.
//
// A connection belongs to the thread that created it. The only call another thread may
// make is through InterruptHandle(); everything else asserts the owning thread in debug
// builds.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/message_loop.h"
#include "platform/message_loop_interrupt.h"

namespace inet {

// The message id of socket notifications at a connection's target.
constexpr std::uint32_t kSocketMessage = 0x465;

class SocketCore {
public:
    explicit SocketCore(bool loadWinsock = true);
    virtual ~SocketCore();
    SocketCore(const SocketCore&) = delete;
    SocketCore& operator=(const SocketCore&) = delete;

    // 0 changes nothing; 301 and 200 set their fixed texts; any other code, when no text is
    // stored yet, stores the Winsock text of the code. Returns the code.
    int SetError(int code);
    // The last error text, empty when none is stored.
    std::string LastError() const { return lastError_.value_or(std::string()); }
    bool HasLastError() const { return lastError_.has_value(); }
    void SetLastError(std::string text) { lastError_ = std::move(text); }
    void ClearLastError() { lastError_.reset(); }

    // The local address when one is set, else the machine's host name.
    virtual std::string GetLocalHost();
    // Empty: no local address. Otherwise a dotted address or a name that is looked up
    // (blocking); a failed look-up answers its Winsock code. The address is only reported.
    int SetLocalHost(const std::string& host);

    bool WinsockLoaded() const { return winsockHeld_; }
    void SetWinsockLoaded(bool on);

    // Milliseconds, 0 = none. SetDeadline arms the deadline from it (0 clears it).
    void SetTimeout(std::uint32_t ms) { timeoutMs_ = ms; }
    std::uint32_t Timeout() const { return timeoutMs_; }
    void SetDeadline();
    // A time that SetDeadline never arms past (the end of a bounded exchange); none clears it.
    void SetDeadlineCap(std::optional<std::chrono::steady_clock::time_point> cap) { deadlineCap_ = cap; }

    // One step of a synchronous wait: handles one item of the thread's loop, or waits up
    // to ms for one. False when the caller should stop waiting: an interrupt (text
    // "Interrupted"), a quit request (which stays pending), the target gone, or the
    // deadline passed (text "Timeout."). With ms 0 it is a drain step: false as well when
    // nothing was pending, since looking again at once would only poll an empty loop.
    bool WaitStep(int ms);

    // Asks the running action to end with 301 at its next wait step.
    void Interrupt();
    // What another thread keeps to interrupt this connection's action.
    std::shared_ptr<platform::LoopInterrupt> InterruptHandle() const { return interrupt_; }
    // Set when a wait step ended on an interrupt.
    bool Interrupted() const { return interrupted_; }
    void ClearInterrupted() { interrupted_ = false; }
    // Forgets interrupt requests made so far, unless an action is running: an action's
    // requests count from its start (see ActionScope).
    void ClearInterruptRequest();
    bool InterruptPending() const { return interrupt_->Serial() != interruptBase_; }

    // Marks the run of one action. Requests made before it do not end it; requests made
    // during it are not forgotten by a nested action that a handler starts.
    class ActionScope {
    public:
        explicit ActionScope(SocketCore& core);
        ~ActionScope();
        ActionScope(const ActionScope&) = delete;
        ActionScope& operator=(const ActionScope&) = delete;

    private:
        SocketCore& core_;
        std::uint32_t outerBase_;
    };

protected:
    // Messages for this connection's target.
    virtual void HandleMessage(const platform::Message&) {}
    platform::MessageLoop& Loop() const { return loop_; }
    platform::TargetId Target() const { return target_; }
    bool OnOwnerThread() const { return loop_.OnOwnerThread(); }
    // address := the look-up of host (0 for an empty host or a failed look-up).
    static int ResolveInto(const std::string& host, std::uint32_t& address);

private:
    platform::MessageLoop& loop_;
    platform::TargetId target_ = 0;
    std::optional<std::string> lastError_;
    std::uint32_t timeoutMs_ = 0;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::optional<std::chrono::steady_clock::time_point> deadlineCap_;
    std::uint32_t localAddress_ = 0;  // network order, 0 = none
    bool winsockHeld_ = false;
    std::shared_ptr<platform::LoopInterrupt> interrupt_;
    std::uint32_t interruptBase_ = 0;
    int actionDepth_ = 0;
    bool interrupted_ = false;
};

}  // namespace inet
