// The memo of recent text-run restyles (RunStyleMemo.h).

#include "style/cascade/RunStyleMemo.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"

#include <cstring>

namespace {

constexpr int kEntries = 8;

struct Entry
{
    CSharedStyle parent;
    CSharedStyle result;
    bool rightToLeft = false;
    unsigned char noInherit = 0;
    bool used = false;
};

struct Memo
{
    Entry entries[kEntries];
    int next = 0;
    int depth = 0;
    bool on = true;
    size_t reuses = 0;
};

// Made once and never destroyed, as the table of shared records is.
Memo& TheMemo()
{
    static Memo* memo = new Memo;
    return *memo;
}

bool AllZero(const STYLE_TYPE& cell)
{
    static const unsigned char zero[sizeof(STYLE_TYPE)] = {};
    return std::memcmp(&cell, zero, sizeof cell) == 0;
}

bool Matches(const Entry& entry, const RunStyleKey& key)
{
    return entry.used && entry.parent.SameRecord(*key.parent) && entry.rightToLeft == key.rightToLeft
        && entry.noInherit == key.noInherit;
}

} // namespace

bool RunStyleKeyOf(const CElement* e, RunStyleKey& key)
{
    const CElement* parent = e->m_parent;
    if (!TheMemo().on || !e->IsTextElement() || e->m_tagName[0] || !e->m_attributes.IsEmpty() || !parent
        || !parent->m_style.IsShared() || !AllZero(e->Style().clear))
        return false;
    key.parent = &parent->m_style;
    key.rightToLeft = e->m_owner && e->m_owner->m_doc.m_rightToLeft;
    key.noInherit = e->m_noInherit;
    return true;
}

const CSharedStyle* FindRunStyle(const RunStyleKey& key)
{
    Memo& memo = TheMemo();
    for (const Entry& entry : memo.entries) {
        if (Matches(entry, key)) {
            ++memo.reuses;
            return &entry.result;
        }
    }
    return nullptr;
}

void RememberRunStyle(const RunStyleKey& key, const CSharedStyle& result)
{
    Memo& memo = TheMemo();
    if (memo.depth == 0 || !key.parent->IsShared() || !result.IsShared())
        return;
    for (Entry& entry : memo.entries) {
        if (Matches(entry, key)) {
            entry.result = result;
            return;
        }
    }
    Entry& entry = memo.entries[memo.next];
    memo.next = (memo.next + 1) % kEntries;
    entry.parent = *key.parent;
    entry.result = result;
    entry.rightToLeft = key.rightToLeft;
    entry.noInherit = key.noInherit;
    entry.used = true;
}

CRunStyleScope::CRunStyleScope() { ++TheMemo().depth; }

CRunStyleScope::~CRunStyleScope()
{
    Memo& memo = TheMemo();
    if (--memo.depth != 0)
        return;
    for (Entry& entry : memo.entries)
        entry = Entry{};
    memo.next = 0;
}

void SetRunStyleReuse(bool on) { TheMemo().on = on; }

size_t RunStyleReuseCount() { return TheMemo().reuses; }
