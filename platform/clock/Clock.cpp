#include "platform/clock/Clock.h"

#include <limits>

namespace qm::clock {

namespace {

Millis AddSaturated(Millis a, Millis b)
{
    const Millis max = std::numeric_limits<Millis>::max();
    return b > max - a ? max : a + b;
}

} // namespace

Clock& Clock::Process()
{
    static Clock clock;
    return clock;
}

void Clock::Arm(Timer& t, Millis delay)
{
    t.due = AddSaturated(m_now, delay);
    t.waitNextAdvance = m_advancing && delay == 0;
}

TimerId Clock::InstallTimer(Millis delay, Millis interval, TimerProc proc)
{
    if (!proc)
        return 0;
    const TimerId id = m_nextId++;
    Timer t;
    t.interval = interval;
    t.order = m_nextOrder++;
    t.proc = std::move(proc);
    Arm(t, delay);
    m_timers.emplace(id, std::move(t));
    return id;
}

bool Clock::RemoveTimer(TimerId id) { return m_timers.erase(id) != 0; }

bool Clock::SetNextFireTime(TimerId id, Millis delay)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    Arm(it->second, delay);
    return true;
}

Clock::Timer* Clock::NextDue(Millis target, TimerId& id)
{
    Timer* best = nullptr;
    for (auto& [key, t] : m_timers) {
        if (t.waitNextAdvance || t.due > target)
            continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) {
            best = &t;
            id = key;
        }
    }
    return best;
}

void Clock::Advance(Millis ms)
{
    if (m_advancing) {
        // A timer asked for more time: the running Advance goes on to the new end.
        m_target = AddSaturated(m_target, ms);
        return;
    }
    m_advancing = true;
    m_target = AddSaturated(m_now, ms);
    for (auto& entry : m_timers)
        entry.second.waitNextAdvance = false;

    TimerId id = 0;
    while (Timer* t = NextDue(m_target, id)) {
        if (t->due > m_now)
            m_now = t->due;
        // Re-arm (or retire) before the call, so the procedure may remove or
        // re-arm its own timer freely.
        TimerProc proc = t->proc;
        if (t->interval > 0) {
            t->due = AddSaturated(t->due, t->interval);
        } else {
            m_timers.erase(id);
        }
        try {
            proc(id);
        } catch (...) {
            // A failing timer procedure abandons its own work only.
        }
    }
    m_now = m_target;
    m_advancing = false;
}

void Clock::Reset()
{
    m_timers.clear();
    m_now = 0;
    m_target = 0;
    m_nextOrder = 1;
}

} // namespace qm::clock
