// Aligned mappings advised for huge pages.

#include "base/collections/HugePages.h"

#include <cstdint>

#include <sys/mman.h>

namespace {

size_t Rounded(size_t bytes) { return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }

} // namespace

void* MapHugePages(size_t bytes)
{
    bytes = Rounded(bytes == 0 ? 1 : bytes);
    // One huge page more is mapped so that an aligned run lies inside; the
    // rest is given back.
    const size_t span = bytes + kHugePageBytes;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    char* base = static_cast<char*>(mapped);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(base);
    char* run = base + ((kHugePageBytes - address % kHugePageBytes) % kHugePageBytes);
    if (run > base)
        munmap(base, static_cast<size_t>(run - base));
    char* tail = run + bytes;
    if (tail < base + span)
        munmap(tail, static_cast<size_t>(base + span - tail));
#ifdef MADV_HUGEPAGE
    madvise(run, bytes, MADV_HUGEPAGE);
#endif
    return run;
}

void UnmapHugePages(void* p, size_t bytes)
{
    if (p)
        munmap(p, Rounded(bytes == 0 ? 1 : bytes));
}
