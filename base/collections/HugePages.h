#pragma once
// Memory for large tables and slabs that are reached at random: mapped in
// aligned runs of kHugePageBytes that the system may back with huge pages.
// With 4 KB pages a table of many megabytes costs a miss of the address
// translation cache at almost every access, on top of the cache miss; with
// huge pages a few entries cover all of it.

#include <cstddef>

constexpr size_t kHugePageBytes = size_t(2) << 20;

// At least bytes of zeroed memory (the size rounded up to a multiple of
// kHugePageBytes), aligned to kHugePageBytes; null when the system gives no
// memory.
void* MapHugePages(size_t bytes);
// p came from MapHugePages(bytes) (null does nothing).
void UnmapHugePages(void* p, size_t bytes);
