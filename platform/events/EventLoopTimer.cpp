#include "platform/events/EventLoopTimer.h"

#include "platform/events/EventTarget.h"
#include "platform/events/Services.h"

#include <cmath>

namespace qm::events {

namespace {

// Seconds to whole milliseconds; false for a time the clock cannot hold.
bool ToMillis(EventTimerInterval seconds, clock::Millis& out)
{
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e12)
        return false;
    out = static_cast<clock::Millis>(std::llround(seconds * 1000.0));
    return true;
}

} // namespace

int InstallTimer(EventTimerInterval fireDelay, EventTimerInterval interval, EventLoopTimerProcPtr proc,
    void* userData, EventLoopTimerRef* outTimer)
{
    clock::Millis delay = 0, every = 0;
    if (!proc || !ToMillis(fireDelay, delay) || !ToMillis(interval, every))
        return kParamErr;
    try {
        const clock::TimerId id = Services::Get().Clock().InstallTimer(
            delay, every, [proc, userData](clock::TimerId timer) { proc(timer, userData); });
        if (id == 0)
            return kParamErr;
        if (outTimer)
            *outTimer = id;
        return kNoErr;
    } catch (...) {
        return kParamErr;
    }
}

int RemoveTimer(EventLoopTimerRef timer)
{
    return Services::Get().Clock().RemoveTimer(timer) ? kNoErr : kParamErr;
}

int SetNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire)
{
    clock::Millis delay = 0;
    if (!ToMillis(nextFire, delay))
        return kParamErr;
    return Services::Get().Clock().SetNextFireTime(timer, delay) ? kNoErr : kParamErr;
}

} // namespace qm::events
