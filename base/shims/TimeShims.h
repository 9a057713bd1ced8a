#pragma once
// Time with Windows-style names over the platform clock.
//
// GetTickCount derives milliseconds from the 60-per-second tick count of the
// virtual clock: whole seconds count 1000 each and the ticks within a second
// count 16 each, so the part below one second steps by 16 and never exceeds
// 944.

#include "base/shims/WinTypes.h"

struct SYSTEMTIME
{
    WORD wYear;
    WORD wMonth;     // 1 to 12
    WORD wDayOfWeek; // as the platform gives it: 1 Sunday to 7 Saturday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The platform's date record.
struct DateTimeRec
{
    short year;
    short month;
    short day;
    short hour;
    short minute;
    short second;
    short dayOfWeek; // 1 Sunday to 7 Saturday
};

// (ticks mod 60) x 16 + (ticks div 60) x 1000.
unsigned long TicksToMilliseconds(unsigned long long ticks);

// Milliseconds since start-up from the clock's tick count.
unsigned long GetTickCount();

// Year, month, day, hour, minute, second and day of the week from the local
// date; the milliseconds are left as they are. Null does nothing.
void GetLocalTime(SYSTEMTIME* time);

// Field-by-field copies (year, month, day, hour, minute, second, day of the
// week), values unchanged; the milliseconds of the target are left as they
// are. Null on either side does nothing.
void TimeMacToWin(const DateTimeRec* mac, SYSTEMTIME* win);
void TimeWinToMac(const SYSTEMTIME* win, DateTimeRec* mac);

// The identifier of the calling thread.
unsigned long GetCurrentThreadId();
