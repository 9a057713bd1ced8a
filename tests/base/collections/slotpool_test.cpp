// The slot pool under element records: slots never overlap, stay aligned,
// and a freed slot goes back only to requests of its own size.

#include "base/collections/SlotPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kRecord = 3544; // about the size of an element record

TEST(SlotPool, SlotsSpanSlabsWithoutOverlapAndAreReusedBySize)
{
    CSlotPool pool;
    std::vector<unsigned char*> slots;
    // More slots than one slab holds.
    const size_t count = CSlotPool::kSlabBytes / kRecord + 50;
    for (size_t i = 0; i < count; ++i) {
        auto* p = static_cast<unsigned char*>(pool.Allocate(kRecord));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % CSlotPool::kGranule, 0u);
        std::memset(p, static_cast<int>(i & 0xFF), kRecord);
        slots.push_back(p);
    }
    EXPECT_EQ(pool.SlabCount(), 2u);

    // The last slot freed is the first handed out again, also for a request
    // that rounds to the same slot size; other sizes do not take it.
    pool.Free(slots[3], kRecord);
    pool.Free(slots[8], kRecord);
    void* small = pool.Allocate(100);
    EXPECT_NE(small, slots[8]);
    EXPECT_EQ(pool.Allocate(kRecord + 8), slots[8]);
    EXPECT_EQ(pool.Allocate(kRecord), slots[3]);
    std::memset(slots[3], 3, kRecord);
    std::memset(slots[8], 8, kRecord);
    std::memset(small, 0xEE, 100);

    // Requests above the largest slot come from the system allocator.
    void* large = pool.Allocate(CSlotPool::kLargestSlot + 1);
    ASSERT_NE(large, nullptr);
    std::memset(large, 0, CSlotPool::kLargestSlot + 1);
    pool.Free(large, CSlotPool::kLargestSlot + 1);
    pool.Free(nullptr, kRecord);

    // Every slot still holds what was written into it: nothing overlapped.
    for (size_t i = 0; i < count; ++i) {
        const unsigned char fill = i == 3 ? 3 : i == 8 ? 8 : static_cast<unsigned char>(i & 0xFF);
        for (size_t k = 0; k < kRecord; k += 97)
            ASSERT_EQ(slots[i][k], fill) << i;
    }
}

} // namespace
