#pragma once
// The locks that keep savers from fighting. A full-screen saver or the settings dialog is one
// of a kind: it holds "OVLSaver" and runs only when it made it, and when no saver draws into a
// daemon's window. Savers in daemon windows (one per screen) hold "OVLSaverHosted" together
// and draw unless a full-screen saver or the dialog holds "OVLSaver". Each takes its own lock
// before asking about the other, so of two starting at once one sees the other at least. A
// lock that cannot be taken counts as held, with a line on stderr.

#include "platform/lock_file.h"

namespace saver {

class SaverInstance {
public:
    // hosted: the saver draws into a window a screen-saver daemon made.
    explicit SaverInstance(bool hosted);

    // False when another saver runs that this one would fight; it then holds nothing.
    bool alone() const { return alone_; }

private:
    platform::LockFile single_{"OVLSaver"};
    platform::LockFile hosted_{"OVLSaverHosted"};
    bool alone_ = false;
};

// Whether the answer of lock's Acquire or Probe means nobody else holds it; a lock that could
// not be taken is reported on stderr and counts as held.
bool NobodyElseHolds(platform::LockFile::Result result, const platform::LockFile& lock);

}  // namespace saver
