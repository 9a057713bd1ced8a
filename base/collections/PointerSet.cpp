// The flat address table of CPointerSet. Removal moves later members of the
// same run back, so no tombstones are left and look-ups stop at the first
// empty slot.

#include "base/collections/PointerSet.h"

#include <algorithm>
#include <cstdint>

size_t CPointerSet::Home(const void* p) const
{
    // Fibonacci hashing of the address: neighbouring addresses (objects
    // allocated one after another) land far apart.
    const std::uint64_t v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
    const std::uint64_t mixed = (v >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(mixed >> 32) & (m_slots.size() - 1);
}

void CPointerSet::Rehash(size_t capacity)
{
    std::vector<const void*> old(capacity, nullptr);
    old.swap(m_slots);
    for (const void* p : old) {
        if (!p)
            continue;
        size_t i = Home(p);
        while (m_slots[i])
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = p;
    }
}

bool CPointerSet::Insert(const void* p)
{
    if (!p || PendingIndex(p) != kPending)
        return false;
    // One probe finds p or the empty slot that ends its run, where p goes
    // unless the table must grow first.
    if (!m_slots.empty()) {
        const size_t mask = m_slots.size() - 1;
        size_t i = Home(p);
        for (; m_slots[i]; i = (i + 1) & mask) {
            if (m_slots[i] == p)
                return false;
        }
        if (2 * (m_count + 1) <= m_slots.size()) {
            m_slots[i] = p;
            ++m_count;
            return true;
        }
    }
    Place(p);
    return true;
}

void CPointerSet::Place(const void* p)
{
    if (2 * (m_count + 1) > m_slots.size())
        Rehash(m_slots.empty() ? 64 : 2 * m_slots.size());
    size_t i = Home(p);
    while (m_slots[i])
        i = (i + 1) & (m_slots.size() - 1);
    m_slots[i] = p;
    ++m_count;
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
    if (!m_slots.empty())
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
    if (m_slots.empty())
        return false;
    for (size_t i = Home(p); m_slots[i]; i = (i + 1) & (m_slots.size() - 1)) {
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
    if (m_slots.empty())
        return false;
    const size_t mask = m_slots.size() - 1;
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
    if (addresses.size() >= kOrdered && !m_slots.empty()) {
        std::sort(addresses.begin(), addresses.end(),
            [this](const void* a, const void* b) { return Home(a) < Home(b); });
    }
    for (const void* p : addresses)
        Erase(p);
}

void CPointerSet::Clear()
{
    std::vector<const void*>().swap(m_slots);
    m_count = 0;
    m_pendingCount = 0;
}

void CPointerSet::RemoveAll()
{
    std::fill(m_slots.begin(), m_slots.end(), nullptr);
    m_count = 0;
    m_pendingCount = 0;
}
