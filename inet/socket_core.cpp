#include "inet/socket_core.h"

#include <cassert>

#include "inet/engine_errors.h"
#include "inet/winsock_binding.h"
#include "inet/winsock_errors.h"
#include "platform/socket_resolver.h"

namespace inet {

SocketCore::SocketCore(bool loadWinsock)
    : loop_(platform::MessageLoop::Current()),
      interrupt_(std::make_shared<platform::LoopInterrupt>(loop_.remote())) {
    target_ = loop_.CreateTarget([this](const platform::Message& m) { HandleMessage(m); });
    interruptBase_ = interrupt_->Serial();
    if (loadWinsock) SetWinsockLoaded(true);
}

SocketCore::~SocketCore() {
    assert(OnOwnerThread());
    SetWinsockLoaded(false);
    loop_.DestroyTarget(target_);
}

int SocketCore::SetError(int code) {
    switch (code) {
    case 0:
        return 0;
    case kErrInterrupted:
        lastError_ = kTextInterrupted;
        return code;
    case kErrOutOfMemory:
        lastError_ = kTextOutOfMemory;
        return code;
    default:
        if (!lastError_) lastError_ = ErrorText(code);
        return code;
    }
}

std::string SocketCore::GetLocalHost() {
    if (localAddress_ != 0) return platform::DottedAddress(localAddress_);
    std::string name;
    int code = platform::LocalHostName(name);
    return code ? ErrorText(code) : name;
}

int SocketCore::SetLocalHost(const std::string& host) {
    assert(OnOwnerThread());
    return ResolveInto(host, localAddress_);
}

int SocketCore::ResolveInto(const std::string& host, std::uint32_t& address) {
    address = 0;
    if (host.empty()) return 0;
    std::uint32_t found = 0;
    int code = platform::ResolveHost(host, found);
    if (code == 0) address = found;
    return code;
}

void SocketCore::SetWinsockLoaded(bool on) {
    if (on && !winsockHeld_) {
        winsockHeld_ = winsock::Acquire();
    } else if (!on && winsockHeld_) {
        winsock::Release();
        winsockHeld_ = false;
    }
}

void SocketCore::SetDeadline() {
    if (timeoutMs_ == 0)
        deadline_.reset();
    else
        deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
    if (deadlineCap_ && (!deadline_ || *deadlineCap_ < *deadline_)) deadline_ = deadlineCap_;
}

bool SocketCore::WaitStep(int ms) {
    assert(OnOwnerThread());
    auto takeInterrupt = [this] {
        interruptBase_ = interrupt_->Serial();
        interrupted_ = true;
        lastError_ = "Interrupted";
        return false;
    };
    if (InterruptPending()) return takeInterrupt();
    bool drained = false;
    switch (loop_.ProcessOne()) {
    case platform::MessageLoop::Step::Quit:
        return false;
    case platform::MessageLoop::Step::Dispatched:
        if (!loop_.IsTarget(target_)) return false;
        break;
    case platform::MessageLoop::Step::Idle:
        if (ms != 0) loop_.WaitForWork(ms);
        drained = ms == 0;
        break;
    }
    if (InterruptPending()) return takeInterrupt();
    if (drained) return false;
    if (deadline_ && std::chrono::steady_clock::now() > *deadline_) {
        lastError_ = "Timeout.";
        return false;
    }
    return loop_.IsTarget(target_);
}

void SocketCore::Interrupt() {
    assert(OnOwnerThread());
    interrupted_ = false;
    interrupt_->Request();
}

void SocketCore::ClearInterruptRequest() {
    if (actionDepth_ == 0) interruptBase_ = interrupt_->Serial();
}

SocketCore::ActionScope::ActionScope(SocketCore& core) : core_(core), outerBase_(core.interruptBase_) {
    ++core_.actionDepth_;
    core_.interruptBase_ = core_.interrupt_->Serial();
}

SocketCore::ActionScope::~ActionScope() {
    // Back in the interrupted outer action, its requests still count; after the outermost
    // action nothing is left to interrupt.
    core_.interruptBase_ = --core_.actionDepth_ > 0 ? outerBase_ : core_.interrupt_->Serial();
}

}  // namespace inet
