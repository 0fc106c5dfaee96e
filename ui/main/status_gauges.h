#pragma once
// The four status gauges of the main window in percent: the queued and waiting shares of the
// running webcams, and the shares of the fetch threads fetching a picture or checking a header.

namespace ui {

struct StatusGaugeInput {
    int running = 0;         // running webcams
    int queued = 0;          // both fetch queues
    int waiting = 0;         // the wait list
    int fetchingPicture = 0; // fetch threads in state 2
    int checkingHeader = 0;  // fetch threads in state 1
    int threadCount = 0;     // fetch threads the engine really has
};

struct StatusGaugeValues {
    int queued = 0;   // MMLEDGauge1
    int waiting = 0;  // MMLEDGauge2
    int picture = 0;  // MMLEDGauge3
    int header = 0;   // MMLEDGauge4
};

// All 0 when nothing runs. Rounded to the nearest integer; a thread share of 1..19 shows as 20
// so that one busy thread is visible. The thread shares divide by the real thread count (0 when
// there are none), never by a stored setting.
StatusGaugeValues StatusGauges(const StatusGaugeInput& in);

}  // namespace ui
