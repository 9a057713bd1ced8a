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

// For a walk along a list of siblings, at c: the element after the next
// one, and the next one's text, which lies outside its record. The next one
// was asked for at the step before, so its record is there to read the
// text's address from.
inline void PrefetchAhead(const CElement* c)
{
    const CElement* next = c->m_nextSibling;
    if (!next)
        return;
    PrefetchElement(next->m_nextSibling);
    __builtin_prefetch(static_cast<const unsigned short*>(next->m_text));
}
