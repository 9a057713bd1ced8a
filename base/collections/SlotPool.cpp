// Slabs, size classes and free lists of CSlotPool.

#include "base/collections/SlotPool.h"

#include <new>

bool CSlotPool::NewSlab()
{
    // Slabs are one aligned huge page each (HugePages.h).
    char* slab = static_cast<char*>(MapHugePages(kSlabBytes));
    if (!slab)
        return false;
    m_cursor = slab;
    m_end = slab + kSlabBytes;
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
