#pragma once
// Event-loop timers as the editor's code installs them, in seconds, over the
// virtual clock of the process (Services::Clock()): a timer fires only when
// the host advances time, never inside the call that installs it (see
// platform/clock/Clock.h). A timer first fires after its delay, then every
// interval; with an interval of 0 it fires once and is then gone. Times are
// rounded to whole milliseconds.
//
// A timer belongs to the clock that was installed when it was made; remove
// and re-arm it before installing another clock.

#include "platform/clock/Clock.h"

namespace qm::events {

typedef double EventTimerInterval; // seconds
typedef clock::TimerId EventLoopTimerRef;
typedef void (*EventLoopTimerProcPtr)(EventLoopTimerRef timer, void* userData);

constexpr int kParamErr = -50;

// Answers kNoErr with the timer in *outTimer (when given), or kParamErr for
// a null procedure or a negative or non-finite time.
int InstallTimer(EventTimerInterval fireDelay, EventTimerInterval interval, EventLoopTimerProcPtr proc,
    void* userData, EventLoopTimerRef* outTimer);
// kParamErr when the timer is not installed.
int RemoveTimer(EventLoopTimerRef timer);
// Re-arms the timer to fire nextFire seconds from now.
int SetNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire);

} // namespace qm::events
