#pragma once
// The processor time the process has used, in milliseconds: the clock of the
// benchmarks' own counters, which stays true on a machine whose cores are
// shared with other work (the wall clock then counts the waits as well).

#include <ctime>

inline double BenchCpuMillis()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return 1000.0 * static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e6;
}
