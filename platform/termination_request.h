#pragma once
// Whether the program has been asked to end (SIGTERM, SIGINT): raised by the signal handler,
// read by any thread. A long operation asks between its steps and stops there as after a
// cancel, so the shutdown that follows comes at once, whatever the program was doing.

namespace platform {

bool TerminationRequested();
// Async-signal-safe: the signal handler calls it.
void RequestTermination();

}  // namespace platform
