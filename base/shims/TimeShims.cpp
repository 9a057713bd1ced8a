#include "base/shims/TimeShims.h"

#include "platform/clock/Clock.h"
#include "platform/clock/LocalTime.h"
#include "platform/events/Services.h"
#include "platform/sys/SystemInfo.h"

unsigned long TicksToMilliseconds(unsigned long long ticks)
{
    return static_cast<unsigned long>((ticks % 60) * 16 + (ticks / 60) * 1000);
}

unsigned long GetTickCount() { return TicksToMilliseconds(qm::events::Services::Get().Clock().Ticks()); }

void GetLocalTime(SYSTEMTIME* time)
{
    if (time == nullptr)
        return;
    const qm::clock::LocalDateTime now = qm::clock::LocalNow();
    time->wYear = static_cast<WORD>(now.year);
    time->wMonth = static_cast<WORD>(now.month);
    time->wDayOfWeek = static_cast<WORD>(now.dayOfWeek);
    time->wDay = static_cast<WORD>(now.day);
    time->wHour = static_cast<WORD>(now.hour);
    time->wMinute = static_cast<WORD>(now.minute);
    time->wSecond = static_cast<WORD>(now.second);
}

void TimeMacToWin(const DateTimeRec* mac, SYSTEMTIME* win)
{
    if (mac == nullptr || win == nullptr)
        return;
    win->wYear = static_cast<WORD>(mac->year);
    win->wMonth = static_cast<WORD>(mac->month);
    win->wDay = static_cast<WORD>(mac->day);
    win->wHour = static_cast<WORD>(mac->hour);
    win->wMinute = static_cast<WORD>(mac->minute);
    win->wSecond = static_cast<WORD>(mac->second);
    win->wDayOfWeek = static_cast<WORD>(mac->dayOfWeek);
}

void TimeWinToMac(const SYSTEMTIME* win, DateTimeRec* mac)
{
    if (mac == nullptr || win == nullptr)
        return;
    mac->year = static_cast<short>(win->wYear);
    mac->month = static_cast<short>(win->wMonth);
    mac->day = static_cast<short>(win->wDay);
    mac->hour = static_cast<short>(win->wHour);
    mac->minute = static_cast<short>(win->wMinute);
    mac->second = static_cast<short>(win->wSecond);
    mac->dayOfWeek = static_cast<short>(win->wDayOfWeek);
}

unsigned long GetCurrentThreadId() { return qm::sys::CurrentThreadId(); }
