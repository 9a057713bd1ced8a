#pragma once
// The virtual clock of the process. Time is a count of milliseconds since
// start-up that moves only when the host calls Advance; nothing here reads the
// wall clock. Ticks are the 60-per-second count derived from it.
//
// Timers: a timer is due at an absolute virtual time and fires only inside
// Advance, in order of due time (ties in order of installation), with the
// clock set to the moment it is due. A repeating timer is re-armed by its
// interval after each firing; an interval of 0 makes it fire once. A timer
// that is installed (or re-armed) with no delay fires on the next Advance,
// never inside the call that installed it: one armed with no delay while
// Advance is running waits for the following Advance, so a timer that keeps
// re-arming itself cannot keep one Advance from ending.

#include <cstdint>
#include <functional>
#include <map>

namespace qm::clock {

using Millis = std::uint64_t;
using TimerId = std::uint64_t; // 0 is never a valid timer

class Clock
{
public:
    using TimerProc = std::function<void(TimerId)>;

    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // The clock of the process, shared by everything that reads the time.
    static Clock& Process();

    Millis Now() const { return m_now; }
    // 60 ticks a second: floor(now * 60 / 1000).
    std::uint64_t Ticks() const { return m_now * 60 / 1000; }

    // Moves time forward by ms, firing every timer that falls due on the way.
    // Called again from inside a timer, it only moves the target further on.
    void Advance(Millis ms);

    // Installs a timer first due after delay ms, then every interval ms
    // (0: once). Answers its id, or 0 when no procedure was given.
    TimerId InstallTimer(Millis delay, Millis interval, TimerProc proc);
    // False when the id names no installed timer.
    bool RemoveTimer(TimerId id);
    // Re-arms an installed timer to be due delay ms from now.
    bool SetNextFireTime(TimerId id, Millis delay);
    bool HasTimer(TimerId id) const { return m_timers.count(id) != 0; }
    std::size_t TimerCount() const { return m_timers.size(); }

    // Back to time 0 with no timers (for a fresh start in tests).
    void Reset();

private:
    struct Timer
    {
        Millis due = 0;
        Millis interval = 0;
        std::uint64_t order = 0;      // installation order breaks ties
        bool waitNextAdvance = false; // armed with no delay during an Advance
        TimerProc proc;
    };

    void Arm(Timer& t, Millis delay);
    Timer* NextDue(Millis target, TimerId& id);

    Millis m_now = 0;
    Millis m_target = 0;
    bool m_advancing = false;
    TimerId m_nextId = 1;
    std::uint64_t m_nextOrder = 1;
    std::map<TimerId, Timer> m_timers;
};

} // namespace qm::clock
