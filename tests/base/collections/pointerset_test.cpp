// The flat address set against std::set, through long runs of insertions and
// removals over a few hundred addresses, some added without waiting for
// their slots: runs of neighbouring slots form, wrap around the table's end
// and are closed up again by removals; the set emptied on the way fills
// again in the table it kept.

#include "base/collections/PointerSet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

TEST(PointerSet, AgreesWithAModelThroughGrowthAndRemovals)
{
    std::vector<char> memory(4096);
    CPointerSet set;
    std::set<const void*> model;
    unsigned state = 7;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    for (int step = 0; step < 40000; ++step) {
        // Emptied once on the way, keeping its table: it fills again.
        if (step == 15000) {
            set.RemoveAll();
            for (const void* q : model)
                ASSERT_FALSE(set.Contains(q));
            model.clear();
        }
        // Few addresses, some of them neighbours 16 bytes apart (records of
        // the system allocator), so that probing runs are long.
        const void* p = &memory[next(300) * 16 + (step % 7 == 0 ? 8 : 0)];
        // Mostly insertions first, mostly removals later.
        const bool insert = next(100) < (step < 20000 ? 70u : 30u);
        // Every third new address is added without waiting for its slot:
        // it is a member at once, and may be erased or inserted again
        // before it enters the table.
        if (insert && step % 3 == 0 && model.count(p) == 0) {
            set.Add(p);
            model.insert(p);
        } else if (insert)
            EXPECT_EQ(set.Insert(p), model.insert(p).second);
        else
            EXPECT_EQ(set.Erase(p), model.erase(p) == 1);
        if (step % 97 == 0) {
            for (const void* q : model)
                ASSERT_TRUE(set.Contains(q)) << step;
        }
        ASSERT_EQ(set.Count(), model.size());
        ASSERT_EQ(set.Contains(p), model.count(p) == 1);
    }
    EXPECT_FALSE(set.Insert(nullptr));
    EXPECT_FALSE(set.Contains(nullptr));
    EXPECT_FALSE(set.Erase(nullptr));
    set.Clear();
    EXPECT_EQ(set.Count(), 0u);
    EXPECT_FALSE(set.Contains(&memory[0]));
    EXPECT_TRUE(set.Insert(&memory[0]));
}

// Many addresses erased at once leave the set as erasing them one by one
// would: a few, many (taken in table order), all of them, and lists with
// addresses that are no members or come twice.
TEST(PointerSet, ErasingManyAtOnceAgreesWithAModel)
{
    std::vector<char> memory(16 * 3000);
    const struct
    {
        const char* name;
        int members; // addresses 0 .. members - 1 inserted
        int step;    // every step-th of them erased
        int strays;  // addresses beyond the members in the list
        bool twice;  // each erased address listed twice
    } cases[] = {
        {"a few", 500, 100, 0, false},
        {"many", 2000, 3, 0, false},
        {"all", 2000, 1, 0, false},
        {"with strays and repeats", 1500, 2, 200, true},
        {"nothing of an empty set", 0, 1, 100, false},
    };
    for (const auto& c : cases) {
        CPointerSet set;
        std::set<const void*> model;
        for (int i = 0; i < c.members; ++i) {
            // The last few still wait to enter the table.
            if (i + 5 >= c.members)
                set.Add(&memory[i * 16]);
            else
                set.Insert(&memory[i * 16]);
            model.insert(&memory[i * 16]);
        }
        std::vector<const void*> erased;
        for (int i = 0; i < c.members; i += c.step) {
            erased.push_back(&memory[i * 16]);
            if (c.twice)
                erased.push_back(&memory[i * 16]);
            model.erase(&memory[i * 16]);
        }
        for (int i = 0; i < c.strays; ++i)
            erased.push_back(&memory[(c.members + i) * 16]);
        set.EraseMany(erased);
        EXPECT_EQ(set.Count(), model.size()) << c.name;
        for (int i = 0; i < c.members + c.strays; ++i)
            ASSERT_EQ(set.Contains(&memory[i * 16]), model.count(&memory[i * 16]) == 1) << c.name << " " << i;
    }
}

// Sets of hundreds of thousands of addresses, whose tables are mapped on
// huge pages: grown from small through the mapped sizes, or made room for
// at once with members already in, then thinned, emptied and filled again.
// The addresses are never dereferenced, so they need not be memory.
TEST(PointerSet, LargeTablesKeepTheirMembersThroughGrowthAndRemoval)
{
    constexpr size_t kMembers = 300000; // a table of 1M slots, 8 MB
    auto address = [](size_t i) { return reinterpret_cast<const void*>(0x10000 + i * 48); };
    for (const bool reserved : {false, true}) {
        CPointerSet set;
        for (size_t i = 0; i < 1000; ++i)
            set.Insert(address(i));
        if (reserved)
            set.Reserve(kMembers);
        for (size_t i = 1000; i < kMembers; ++i) {
            if (i % 2)
                set.Add(address(i));
            else
                ASSERT_TRUE(set.Insert(address(i))) << i;
        }
        ASSERT_EQ(set.Count(), kMembers) << reserved;
        std::vector<const void*> erased;
        for (size_t i = 0; i < kMembers; i += 3)
            erased.push_back(address(i));
        set.EraseMany(erased);
        EXPECT_EQ(set.Count(), kMembers - erased.size()) << reserved;
        for (size_t i = 0; i < kMembers + 100; i += 7)
            ASSERT_EQ(set.Contains(address(i)), i < kMembers && i % 3 != 0) << reserved << " " << i;
        set.RemoveAll();
        EXPECT_FALSE(set.Contains(address(1)));
        for (size_t i = 0; i < kMembers; i += 5)
            ASSERT_TRUE(set.Insert(address(i)));
        EXPECT_TRUE(set.Contains(address(kMembers - 5)));
        EXPECT_FALSE(set.Contains(address(kMembers - 4)));
        set.Clear();
        EXPECT_EQ(set.Count(), 0u);
        EXPECT_FALSE(set.Contains(address(0)));
    }
}

// Addresses spaced as the element pool and the system allocator hand them
// out (records of 16, 64, 256 and 4096 bytes) and as high in the address
// space as heap and mapped memory sit: the slot comes from the top bits of
// the hashed address, so a wrong shift for the table's size would lose
// members or reach beyond the table. Each set grows from empty through
// several doublings, loses every other member, is emptied and filled again.
TEST(PointerSet, RegularlySpacedAddressesThroughGrowthAndReuse)
{
    const struct
    {
        std::uintptr_t base;
        std::uintptr_t stride;
    } cases[] = {
        {0x10000, 16},
        {0x10000, 64},
        {0x7f3a12340000, 64},
        {0x55d0c0000000, 256},
        {0x7ffff0000000, 4096},
    };
    constexpr size_t kMembers = 20000; // 64 slots grown to 64K
    for (const auto& c : cases) {
        auto address = [&c](size_t i) { return reinterpret_cast<const void*>(c.base + i * c.stride); };
        CPointerSet set;
        for (int round = 0; round < 2; ++round) {
            for (size_t i = 0; i < kMembers; ++i) {
                if (i % 4 == 0)
                    set.Add(address(i));
                else
                    ASSERT_TRUE(set.Insert(address(i))) << c.stride << " " << i;
            }
            ASSERT_EQ(set.Count(), kMembers);
            for (size_t i = 0; i < kMembers; i += 2)
                ASSERT_TRUE(set.Erase(address(i))) << c.stride << " " << i;
            for (size_t i = 0; i < kMembers + 50; ++i)
                ASSERT_EQ(set.Contains(address(i)), i < kMembers && i % 2 == 1) << c.stride << " " << i;
            // The first round keeps its table, the second starts from none.
            if (round == 0)
                set.RemoveAll();
            else
                set.Clear();
            EXPECT_EQ(set.Count(), 0u);
            EXPECT_FALSE(set.Contains(address(1)));
        }
        EXPECT_TRUE(set.Insert(address(3)));
        EXPECT_TRUE(set.Contains(address(3)));
    }
}

} // namespace
