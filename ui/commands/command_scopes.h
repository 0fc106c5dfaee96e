#pragma once
// Scopes of the commands: a flag set for the duration of a command and the hourglass cursor,
// both undone however the command ends, so an exception never leaves the window "starting",
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

class HourglassScope {
public:
    explicit HourglassScope(WebcamCommandsHost& host) : host_(host) { host_.SetHourglass(true); }
    ~HourglassScope() { host_.SetHourglass(false); }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;

private:
    WebcamCommandsHost& host_;
};

class WaitFormScope {
public:
    explicit WaitFormScope(WebcamCommandsHost& host) : host_(host) { host_.ShowWaitForm(true); }
    ~WaitFormScope() { host_.ShowWaitForm(false); }
    WaitFormScope(const WaitFormScope&) = delete;
    WaitFormScope& operator=(const WaitFormScope&) = delete;

private:
    WebcamCommandsHost& host_;
};

}  // namespace ui
