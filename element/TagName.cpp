// The table of tag names.

#include "element/TagName.h"

#include "style/cascade/DefaultStyle.h"

#include <cstring>
#include <unordered_set>

namespace {

using Entry = CTagName::Entry;

struct EntryHash
{
    size_t operator()(const Entry* e) const
    {
        size_t h = 14695981039346656037ull;
        for (int i = 0; i < e->length; ++i)
            h = (h ^ e->text[i]) * 1099511628211ull;
        return h;
    }
};

struct EntryEqual
{
    bool operator()(const Entry* a, const Entry* b) const
    {
        return a->length == b->length
            && std::memcmp(a->text, b->text, sizeof(unsigned short) * a->length) == 0;
    }
};

using Table = std::unordered_set<Entry*, EntryHash, EntryEqual>;

// Made once and never destroyed: elements destroyed while the process ends
// still find it.
Table& Names()
{
    static Table* table = new Table;
    return *table;
}

} // namespace

const unsigned short CTagName::kEmpty[1] = {0};

void CTagName::Drop(Entry* e)
{
    if (--e->refs != 0)
        return;
    Names().erase(e);
    delete e;
}

void CTagName::Assign(const unsigned short* text, int n)
{
    Entry key;
    key.length = 0;
    key.defaultStyle = 0;
    while (text && key.length < n && key.length < kTagNameUnits - 1 && text[key.length]) {
        key.text[key.length] = text[key.length];
        ++key.length;
    }
    key.text[key.length] = 0;
    Entry* entry = nullptr;
    if (key.length > 0) {
        Table& names = Names();
        auto found = names.find(&key);
        if (found != names.end()) {
            entry = *found;
        } else {
            entry = new Entry(key);
            entry->refs = 0;
            entry->defaultStyle = ::DefaultStyleClass(entry->text);
            names.insert(entry);
        }
        ++entry->refs;
    }
    if (m_entry)
        Drop(m_entry);
    m_entry = entry;
}

unsigned long CTagName::NameCount() { return static_cast<unsigned long>(Names().size()); }
