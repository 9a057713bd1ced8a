#pragma once
// A walk over a large tree waits mostly for element records to come from
// memory: a record spans ten or more cache lines, and the processor cannot
// guess which element comes next. A walk that knows the element it visits
// next (the next sibling, the first child) asks for it early with
// PrefetchElement, and the fields the walks read (links, kind and flags,
// attributes, text, tag name, style, owner) arrive while the walk works on
// the current element. (The text of the tag name and the style record are
// held once for many elements and stay in the cache.)

#include "element/Element.h"
#include "element/TreeQueries.h"

inline void PrefetchElement(const CElement* e)
{
    if (!e)
        return;
    // The fields lie close together (ElementFields.h): a line or two each.
    __builtin_prefetch(e); // the kind's table and the identifier
    __builtin_prefetch(&e->m_nextSibling);
    __builtin_prefetch(&e->m_kind);
    __builtin_prefetch(&e->m_text);
    __builtin_prefetch(&e->m_owner);
}

// A cursor that runs a fixed number of elements ahead of a walk in
// document order (an element, its subtree, then its next sibling) and asks
// for each element it reaches: its record, and its text, which lies apart
// from the record. Every step of the walk moves the cursor one element on.
// A walk over a large tree then waits for one record at a time at most (the
// cursor's own step), where it waited for the record's lines, its text and
// its children one after another. The cursor never leaves the subtree it
// starts at; the tree must not change while it runs.
class CPrefetchCursor
{
public:
    static constexpr int kDistance = 16;

    explicit CPrefetchCursor(const CElement* root) : m_root(root), m_cursor(root)
    {
        for (int i = 0; i < kDistance && m_cursor; ++i)
            Step();
    }

    void Step()
    {
        if (!m_cursor)
            return;
        m_cursor = NextInSubtree(const_cast<CElement*>(m_cursor), m_root);
        if (!m_cursor)
            return;
        PrefetchElement(m_cursor);
        // The elements that may come next.
        __builtin_prefetch(m_cursor->m_firstChild);
        __builtin_prefetch(m_cursor->m_nextSibling);
        const unsigned short* text = m_cursor->m_text;
        __builtin_prefetch(text);
        __builtin_prefetch(text + m_cursor->m_text.Length());
    }

private:
    const CElement* m_root;
    const CElement* m_cursor;
};
