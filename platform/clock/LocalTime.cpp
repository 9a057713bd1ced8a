#include "platform/clock/LocalTime.h"

#include "platform/events/Services.h"

#include <ctime>
#include <sys/time.h>

namespace qm::clock {

namespace {

// Kept in the services, which a module shares with its host.
LocalTimeSource& Source() { return events::Services::Get().LocalTime(); }

LocalDateTime FromTm(const std::tm& tm)
{
    LocalDateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec;
    d.dayOfWeek = tm.tm_wday + 1;
    return d;
}

} // namespace

LocalDateTime LocalNow()
{
    LocalTimeSource& source = Source();
    if (source) {
        try {
            return source();
        } catch (...) {
            // Fall back to the system clock.
        }
    }
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::time_t t = tv.tv_sec;
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return LocalDateTime();
    LocalDateTime d = FromTm(tm);
    d.millisecond = static_cast<int>(tv.tv_usec / 1000);
    return d;
}

void SetLocalTimeSource(LocalTimeSource source) { Source() = std::move(source); }

bool UtcFromEpochSeconds(long long seconds, LocalDateTime& out)
{
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!gmtime_r(&t, &tm))
        return false;
    out = FromTm(tm);
    return true;
}

} // namespace qm::clock
