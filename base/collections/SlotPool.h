#pragma once
// CSlotPool: memory for many objects of a few large sizes that are made and
// destroyed by the tens of thousands, as the records of an element tree are.
//
// Slots are carved from slabs of kSlabBytes that the pool keeps for the life
// of the process (the system may back them with huge pages). A slot's size
// is the request rounded up to kGranule bytes; a freed slot goes on the free
// list of its size and is the next one handed out for that size. The system
// allocator would give the memory of a destroyed tree back to the system and
// fault every page in again for the next tree; here the next tree takes the
// same memory. The cost: the memory of the largest set of live slots stays
// with the process.
//
// Requests above kLargestSlot bytes go to the system allocator. Not safe for
// use from several threads at once.

#include "base/collections/HugePages.h"

#include <cstddef>

class CSlotPool
{
public:
    static constexpr size_t kSlabBytes = kHugePageBytes;
    static constexpr size_t kGranule = 64; // one cache line
    static constexpr size_t kLargestSlot = 16384;

    CSlotPool() = default;
    // The slabs stay mapped: slots may still be in use by objects that
    // outlive the pool (a pool normally lives as long as the process).
    ~CSlotPool() = default;
    CSlotPool(const CSlotPool&) = delete;
    CSlotPool& operator=(const CSlotPool&) = delete;

    // At least size bytes, aligned to kGranule (to 16 above kLargestSlot);
    // null when no memory can be had. A size of 0 counts as 1.
    void* Allocate(size_t size);
    // p came from Allocate with the same size (null does nothing).
    void Free(void* p, size_t size);

    // Slabs taken from the system so far.
    size_t SlabCount() const { return m_slabs; }

private:
    struct FreeSlot
    {
        FreeSlot* next;
    };
    // The lines of the next free slot asked for when a slot is handed out
    // (all of them, up to this many).
    static constexpr size_t kPrefetchedLines = 8;
    static size_t ClassOf(size_t size) { return (size + kGranule - 1) / kGranule; }
    bool NewSlab();

    FreeSlot* m_free[kLargestSlot / kGranule + 1] = {};
    char* m_cursor = nullptr; // the part of the newest slab not handed out yet
    char* m_end = nullptr;
    size_t m_slabs = 0;
};
