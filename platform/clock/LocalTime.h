#pragma once
// The local date and time. This is the one place that reads the wall clock;
// tests install a source of their own so the answer is fixed. The source
// lives in the process's services (platform/events/Services.h), so a loaded
// module that shares them reads the time its host fixed.

#include <functional>

namespace qm::clock {

struct LocalDateTime
{
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 0; // 1 Sunday to 7 Saturday
};

using LocalTimeSource = std::function<LocalDateTime()>;

// The current local date and time, from the installed source or else from
// the system clock and time zone.
LocalDateTime LocalNow();

// Installs a source; an empty one brings back the system clock.
void SetLocalTimeSource(LocalTimeSource source);

// Seconds since 1970 (UTC) as a date in UTC; false when it cannot be converted.
bool UtcFromEpochSeconds(long long seconds, LocalDateTime& out);

} // namespace qm::clock
