#pragma once
// Time that a test decides: a fixed local date and time in place of the wall
// clock, and a virtual clock of the test's own in place of the process clock.
// Both are taken away again when the scope ends.

#include "platform/clock/Clock.h"
#include "platform/clock/LocalTime.h"
#include "platform/events/Services.h"

namespace qmtest {

// A local date and time; the day of the week counts from 1 for Sunday.
inline qm::clock::LocalDateTime LocalTime(
    int year, int month, int day, int hour, int minute, int second, int dayOfWeek = 0, int millisecond = 0)
{
    qm::clock::LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = millisecond;
    t.dayOfWeek = dayOfWeek;
    return t;
}

// Answers a fixed local time until the scope ends (or Reset).
class FixedLocalTime
{
public:
    FixedLocalTime() = default;
    explicit FixedLocalTime(const qm::clock::LocalDateTime& time) { Set(time); }
    ~FixedLocalTime() { Reset(); }
    FixedLocalTime(const FixedLocalTime&) = delete;
    FixedLocalTime& operator=(const FixedLocalTime&) = delete;

    void Set(const qm::clock::LocalDateTime& time)
    {
        qm::clock::SetLocalTimeSource([time] { return time; });
    }
    // The system clock again.
    void Reset() { qm::clock::SetLocalTimeSource(nullptr); }
};

// A virtual clock, starting at 0, installed in the services for the scope.
class ScopedClock
{
public:
    ScopedClock() { qm::events::Services::Get().SetClock(&m_clock); }
    ~ScopedClock() { qm::events::Services::Get().SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    qm::clock::Clock& Clock() { return m_clock; }
    void Advance(qm::clock::Millis ms) { m_clock.Advance(ms); }

private:
    qm::clock::Clock m_clock;
};

} // namespace qmtest
