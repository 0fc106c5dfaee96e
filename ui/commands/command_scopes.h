#pragma once
// Scopes of the commands: a flag set for the duration of a command, the hourglass cursor and
// the wait form, all undone however the command ends, so an exception never leaves the window "starting",
// "stopping" or busy for good.

#include "ui/commands/webcam_commands_host.h"

namespace ui {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// A switch of the window that is on for the scope: the hourglass cursor, the wait form.
class SwitchScope {
public:
    using Switch = void (WebcamCommandsHost::*)(bool on);
    SwitchScope(WebcamCommandsHost& host, Switch turn) : host_(host), turn_(turn) { (host_.*turn_)(true); }
    ~SwitchScope() { (host_.*turn_)(false); }
    SwitchScope(const SwitchScope&) = delete;
    SwitchScope& operator=(const SwitchScope&) = delete;

private:
    WebcamCommandsHost& host_;
    const Switch turn_;
};

}  // namespace ui
