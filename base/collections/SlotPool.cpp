// Slabs, size classes and free lists of CSlotPool.

#include "base/collections/SlotPool.h"

#include <cstdint>
#include <new>

#include <sys/mman.h>

bool CSlotPool::NewSlab()
{
    // Twice the size is mapped so that an aligned slab lies inside; the rest
    // is given back. Aligned slabs can be backed by huge pages.
    const size_t span = 2 * kSlabBytes;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return false;
    char* base = static_cast<char*>(mapped);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(base);
    char* slab = base + ((kSlabBytes - address % kSlabBytes) % kSlabBytes);
    if (slab > base)
        munmap(base, static_cast<size_t>(slab - base));
    char* tail = slab + kSlabBytes;
    if (tail < base + span)
        munmap(tail, static_cast<size_t>(base + span - tail));
#ifdef MADV_HUGEPAGE
    madvise(slab, kSlabBytes, MADV_HUGEPAGE);
#endif
    m_cursor = slab;
    m_end = tail;
    ++m_slabs;
    return true;
}

void* CSlotPool::Allocate(size_t size)
{
    if (size == 0)
        size = 1;
    if (size > kLargestSlot)
        return ::operator new(size, std::nothrow);
    const size_t sizeClass = ClassOf(size);
    if (FreeSlot* slot = m_free[sizeClass]) {
        m_free[sizeClass] = slot->next;
        // The next slot of the list is read when it is handed out, and a
        // new object writes all of its lines: the memory of a tree
        // destroyed a while ago has left the caches, and is brought back
        // while the caller fills this slot.
        if (slot->next) {
            const char* next = reinterpret_cast<const char*>(slot->next);
            const size_t lines = sizeClass < kPrefetchedLines ? sizeClass : kPrefetchedLines;
            for (size_t i = 0; i < lines; ++i)
                __builtin_prefetch(next + i * kGranule, 1);
        }
        return slot;
    }
    const size_t bytes = sizeClass * kGranule;
    // What is left of the current slab when a slot does not fit is unused.
    if (static_cast<size_t>(m_end - m_cursor) < bytes && !NewSlab())
        return nullptr;
    void* slot = m_cursor;
    m_cursor += bytes;
    return slot;
}

void CSlotPool::Free(void* p, size_t size)
{
    if (!p)
        return;
    if (size == 0)
        size = 1;
    if (size > kLargestSlot) {
        ::operator delete(p);
        return;
    }
    const size_t sizeClass = ClassOf(size);
    FreeSlot* slot = static_cast<FreeSlot*>(p);
    slot->next = m_free[sizeClass];
    m_free[sizeClass] = slot;
}
