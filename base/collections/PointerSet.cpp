// The flat address table of CPointerSet. Removal moves later members of the
// same run back, so no tombstones are left and look-ups stop at the first
// empty slot.

#include "base/collections/PointerSet.h"

#include "base/collections/HugePages.h"

#include <algorithm>
#include <cstdint>
#include <new>

CPointerSet::~CPointerSet() { FreeTable(m_slots, m_capacity); }

const void** CPointerSet::NewTable(size_t capacity)
{
    const size_t bytes = capacity * sizeof(const void*);
    if (bytes >= kHugePageBytes) {
        if (void* mapped = MapHugePages(bytes))
            return static_cast<const void**>(mapped);
        throw std::bad_alloc();
    }
    return new const void*[capacity]();
}

void CPointerSet::FreeTable(const void** table, size_t capacity)
{
    const size_t bytes = capacity * sizeof(const void*);
    if (bytes >= kHugePageBytes)
        UnmapHugePages(table, bytes);
    else
        delete[] table;
}

void CPointerSet::Rehash(size_t capacity)
{
    const void** old = m_slots;
    const size_t oldCapacity = m_capacity;
    m_slots = NewTable(capacity);
    m_capacity = capacity;
    m_shift = 64 - static_cast<unsigned>(__builtin_ctzll(capacity));
    for (size_t k = 0; k < oldCapacity; ++k) {
        const void* p = old[k];
        if (!p)
            continue;
        size_t i = Home(p);
        while (m_slots[i])
            i = (i + 1) & (m_capacity - 1);
        m_slots[i] = p;
    }
    FreeTable(old, oldCapacity);
}

bool CPointerSet::Insert(const void* p)
{
    if (!p || PendingIndex(p) != kPending)
        return false;
    // One probe finds p or the empty slot that ends its run, where p goes
    // unless the table must grow first.
    if (m_capacity != 0) {
        const size_t mask = m_capacity - 1;
        size_t i = Home(p);
        for (; m_slots[i]; i = (i + 1) & mask) {
            if (m_slots[i] == p)
                return false;
        }
        if (2 * (m_count + 1) <= m_capacity) {
            m_slots[i] = p;
            ++m_count;
            return true;
        }
    }
    Place(p);
    return true;
}

// Inline: Add places every address of a large tree.
inline void CPointerSet::Place(const void* p)
{
    if (2 * (m_count + 1) > m_capacity)
        Rehash(m_capacity == 0 ? 64 : 2 * m_capacity);
    size_t i = Home(p);
    while (m_slots[i])
        i = (i + 1) & (m_capacity - 1);
    m_slots[i] = p;
    ++m_count;
}

void CPointerSet::Reserve(size_t count)
{
    if (count == 0)
        return;
    // Half full at most, as Place keeps it.
    size_t capacity = m_capacity == 0 ? 64 : m_capacity;
    while (capacity < 2 * count)
        capacity *= 2;
    if (capacity != m_capacity)
        Rehash(capacity);
}

void CPointerSet::Add(const void* p)
{
    if (m_pendingCount == kPending) {
        // The oldest goes into the table: its line was asked for kPending
        // additions ago.
        Place(m_pending[m_pendingStart]);
        m_pendingStart = (m_pendingStart + 1) & (kPending - 1);
        --m_pendingCount;
    }
    if (m_capacity != 0)
        __builtin_prefetch(&m_slots[Home(p)], 1);
    m_pending[(m_pendingStart + m_pendingCount) & (kPending - 1)] = p;
    ++m_pendingCount;
}

size_t CPointerSet::PendingIndex(const void* p) const
{
    for (size_t n = 0; n < m_pendingCount; ++n) {
        const size_t i = (m_pendingStart + n) & (kPending - 1);
        if (m_pending[i] == p)
            return i;
    }
    return kPending;
}

bool CPointerSet::Contains(const void* p) const
{
    if (!p)
        return false;
    if (PendingIndex(p) != kPending)
        return true;
    if (m_capacity == 0)
        return false;
    for (size_t i = Home(p); m_slots[i]; i = (i + 1) & (m_capacity - 1)) {
        if (m_slots[i] == p)
            return true;
    }
    return false;
}

bool CPointerSet::Erase(const void* p)
{
    if (!p)
        return false;
    const size_t pending = PendingIndex(p);
    if (pending != kPending) {
        // The newest pending takes its place in the ring.
        const size_t last = (m_pendingStart + m_pendingCount - 1) & (kPending - 1);
        m_pending[pending] = m_pending[last];
        --m_pendingCount;
        return true;
    }
    if (m_capacity == 0)
        return false;
    const size_t mask = m_capacity - 1;
    size_t i = Home(p);
    while (m_slots[i] != p) {
        if (!m_slots[i])
            return false;
        i = (i + 1) & mask;
    }
    // Backward shift: a member after the hole moves into it unless its home
    // lies cyclically after the hole (it would then be unreachable).
    size_t hole = i;
    for (size_t j = (hole + 1) & mask; m_slots[j]; j = (j + 1) & mask) {
        const size_t home = Home(m_slots[j]);
        const bool between = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (between)
            continue;
        m_slots[hole] = m_slots[j];
        hole = j;
    }
    m_slots[hole] = nullptr;
    --m_count;
    return true;
}

void CPointerSet::EraseMany(std::vector<const void*>& addresses)
{
    // A few go one by one: ordering them would cost more than it saves.
    constexpr size_t kOrdered = 64;
    if (addresses.size() >= kOrdered && m_capacity != 0) {
        std::sort(addresses.begin(), addresses.end(),
            [this](const void* a, const void* b) { return Home(a) < Home(b); });
    }
    for (const void* p : addresses)
        Erase(p);
}

void CPointerSet::Clear()
{
    FreeTable(m_slots, m_capacity);
    m_slots = nullptr;
    m_capacity = 0;
    m_shift = 63;
    m_count = 0;
    m_pendingCount = 0;
}

void CPointerSet::RemoveAll()
{
    std::fill(m_slots, m_slots + m_capacity, nullptr);
    m_count = 0;
    m_pendingCount = 0;
}
