#pragma once
// CPointerSet: a set of addresses in one flat table (open addressing with
// linear probing), so that adding and removing an address allocates nothing
// but the table, which doubles when half full. The addresses are never
// dereferenced. Null is never a member.
//
// A table of kHugePageBytes or more is mapped on huge pages (HugePages.h):
// its addresses are spread over all of it, and with 4 KB pages a set of a
// million members would miss the address translation cache at nearly every
// access, a cost that grows faster than the set.

#include <cstddef>
#include <cstdint>
#include <vector>

class CPointerSet
{
public:
    CPointerSet() = default;
    ~CPointerSet();
    CPointerSet(const CPointerSet&) = delete;
    CPointerSet& operator=(const CPointerSet&) = delete;

    // False when p is null or already a member. Growing the table may throw
    // std::bad_alloc; the set is unchanged then.
    bool Insert(const void* p);
    // Adds p, which the caller knows is neither null nor a member, without
    // waiting for its slot: a large table misses the cache once an address
    // (they are spread over all of it), so the slot's line is asked for and
    // p waits among the last few added, entering the table kPending
    // additions later, when the line has come. It is a member at once
    // (Contains, Erase and Count see it). Growing the table may throw
    // std::bad_alloc; p is no member then, and the rest are unchanged.
    void Add(const void* p);
    // False when p was not a member.
    bool Erase(const void* p);
    // Erases each of the addresses (those that are not members are passed
    // over). Many at once are taken in the order of their places in the
    // table, so that a large set is walked through once and not at random;
    // addresses is reordered.
    void EraseMany(std::vector<const void*>& addresses);
    bool Contains(const void* p) const;
    size_t Count() const { return m_count + m_pendingCount; }
    // Makes room for count members in all, so that adding up to that many
    // grows the table no more (a table grown step by step is rebuilt at
    // every doubling). Throws std::bad_alloc when the table cannot be had;
    // the set is unchanged then.
    void Reserve(size_t count);
    // Empties the set and frees the table.
    void Clear();
    // Empties the set and keeps the table, for a set that fills again to
    // about the size it had.
    void RemoveAll();

private:
    static constexpr size_t kPending = 8; // a power of two
    // Fibonacci hashing of the address: neighbouring addresses (objects
    // allocated one after another) land far apart. The slot is the top bits
    // of the product, which every bit of the address stirs; lower bits
    // follow a regular spacing of the addresses and leave longer runs.
    size_t Home(const void* p) const
    {
        const std::uint64_t v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
        const std::uint64_t mixed = (v >> 4) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(mixed >> m_shift);
    }
    // Moves the members into a new table of capacity slots (a power of two).
    void Rehash(size_t capacity);
    // A zeroed table of capacity slots; throws std::bad_alloc.
    static const void** NewTable(size_t capacity);
    static void FreeTable(const void** table, size_t capacity);
    // Puts p, no member, into the table (grown first when half full).
    void Place(const void* p);
    // The index of p among the pending, or kPending.
    size_t PendingIndex(const void* p) const;

    const void** m_slots = nullptr; // null: an empty slot
    size_t m_capacity = 0;          // the slots of m_slots: 0 or a power of two
    unsigned m_shift = 63;          // 64 - log2(m_capacity): Home's top bits
    size_t m_count = 0;             // members in m_slots
    // Members added but not yet in the table: a ring, oldest first.
    const void* m_pending[kPending] = {};
    size_t m_pendingStart = 0;
    size_t m_pendingCount = 0;
};
