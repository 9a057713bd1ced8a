// The process-wide table of interned style texts.

#include "style/records/StyleText.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace {

// A text under lookup or in the table: units and their count (the
// terminator that stored texts carry is not counted).
struct Key
{
    const unsigned short* units;
    size_t length;
};

struct KeyHash
{
    size_t operator()(const Key& k) const
    {
        std::uint64_t h = 0xcbf29ce484222325ull;
        for (size_t i = 0; i < k.length; ++i)
            h = (h ^ k.units[i]) * 0x100000001b3ull;
        return static_cast<size_t>(h ^ (h >> 32));
    }
};

struct KeyEqual
{
    bool operator()(const Key& a, const Key& b) const
    {
        return a.length == b.length && std::memcmp(a.units, b.units, a.length * sizeof(unsigned short)) == 0;
    }
};

using Table = std::unordered_set<Key, KeyHash, KeyEqual>;

// Made once and never destroyed: records destroyed while the process ends
// still point into it.
Table& Interned()
{
    static Table* table = new Table;
    return *table;
}

const unsigned short* Intern(const Key& key)
{
    if (key.length == 0)
        return nullptr;
    Table& table = Interned();
    auto found = table.find(key);
    if (found != table.end())
        return found->units;
    unsigned short* copy = new unsigned short[key.length + 1];
    std::memcpy(copy, key.units, key.length * sizeof(unsigned short));
    copy[key.length] = 0;
    table.insert(Key{copy, key.length});
    return copy;
}

} // namespace

const unsigned short* InternStyleText(const unsigned short* text, int maxUnits)
{
    size_t n = 0;
    if (text) {
        while (n < static_cast<size_t>(maxUnits > 0 ? maxUnits : 0) && text[n])
            ++n;
    }
    return Intern(Key{text, n});
}

const unsigned short* InternStyleText(const char* text, int maxUnits)
{
    std::vector<unsigned short> units;
    for (int n = 0; text && n < maxUnits && text[n]; ++n)
        units.push_back(static_cast<unsigned char>(text[n]));
    return Intern(Key{units.data(), units.size()});
}

unsigned long InternedStyleTextCount() { return static_cast<unsigned long>(Interned().size()); }
