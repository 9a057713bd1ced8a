#pragma once
// CPointerSet: a set of addresses in one flat table (open addressing with
// linear probing), so that adding and removing an address allocates nothing
// but the table, which doubles when half full. The addresses are never
// dereferenced. Null is never a member.

#include <cstddef>
#include <vector>

class CPointerSet
{
public:
    // False when p is null or already a member. Growing the table may throw
    // std::bad_alloc; the set is unchanged then.
    bool Insert(const void* p);
    // False when p was not a member.
    bool Erase(const void* p);
    // Erases each of the addresses (those that are not members are passed
    // over). Many at once are taken in the order of their places in the
    // table, so that a large set is walked through once and not at random;
    // addresses is reordered.
    void EraseMany(std::vector<const void*>& addresses);
    bool Contains(const void* p) const;
    // Asks for the line of p's home slot, ahead of an Insert of p: the
    // addresses are spread over the whole table, so a large set misses the
    // cache once a call unless the line was asked for a while before.
    void Prefetch(const void* p) const;
    size_t Count() const { return m_count; }
    // Empties the set and frees the table.
    void Clear();
    // Empties the set and keeps the table, for a set that fills again to
    // about the size it had.
    void RemoveAll();

private:
    size_t Home(const void* p) const;
    void Rehash(size_t capacity);

    std::vector<const void*> m_slots; // null: an empty slot; the size is a power of two
    size_t m_count = 0;
};
