// Where an element stands in its block: first or last at every level up to
// an ancestor, and the first or last text run where typing can go.

#include "element/Element.h"

namespace {

bool IsEmptyRun(const CElement* e) { return e->IsTextElement() && e->m_text.IsEmpty(); }

// The first (or last) sibling in the parent's list, empty runs passed over
// with skipEmptyText.
const CElement* EndChild(const CElement* parent, bool first, bool skipEmptyText)
{
    const CElement* c = first ? parent->m_firstChild : parent->m_lastChild;
    while (c && skipEmptyText && IsEmptyRun(c))
        c = first ? c->m_nextSibling : c->m_prevSibling;
    return c;
}

bool EndsBlock(const CElement* e, bool divCounts)
{
    const long k = e->m_kind;
    return e->m_tablePart || e->m_list || e->m_heading || k == kKindAddress || k == kKindP
        || k == kKindBlockquote || k == kKindLi || k == kKindBody || (divCounts && k == kKindDiv);
}

} // namespace

CElement* CElement::IsLastElementInBlock(bool skipEmptyText, bool divCounts)
{
    for (CElement* e = this; e->m_parent; e = e->m_parent) {
        if (EndChild(e->m_parent, false, skipEmptyText) != e)
            return nullptr;
        if (EndsBlock(e->m_parent, divCounts))
            return e->m_parent;
    }
    return nullptr;
}

bool CElement::IsFirstOrLastElementInParent(bool first, bool skipEmptyText) const
{
    return m_parent && EndChild(m_parent, first, skipEmptyText) == this;
}

bool CElement::IsFirstOrLastElementOf(const CElement* ancestor, bool first, bool skipEmptyText) const
{
    if (!ancestor || !IsOneOfParent(ancestor))
        return false;
    for (const CElement* e = this; e != ancestor; e = e->m_parent) {
        if (!e->IsFirstOrLastElementInParent(first, skipEmptyText))
            return false;
    }
    return true;
}

bool CElement::IsFirstValidAreaElement(const CElement* e) const
{
    if (!e)
        return false;
    // Document order below this element, each element before its children.
    for (const CElement* c = m_firstChild; c;) {
        if (c == e)
            return true;
        // The blocks around e come before it but hold it: they count not.
        if (!c->m_inline && !IsEmptyRun(c) && !c->IsFloatType() && !e->IsOneOfParent(c))
            return false;
        if (c->m_firstChild) {
            c = c->m_firstChild;
            continue;
        }
        while (c != this && !c->m_nextSibling)
            c = c->m_parent;
        c = c == this ? nullptr : c->m_nextSibling;
    }
    return false;
}

CElement* CElement::GetFirstOrLastInputElement(bool first) const
{
    // Document order (or its reverse), without recursion.
    const CElement* c = first ? m_firstChild : m_lastChild;
    while (c) {
        if (c->IsTextElement())
            return const_cast<CElement*>(c);
        const CElement* inner = first ? c->m_firstChild : c->m_lastChild;
        if (inner) {
            c = inner;
            continue;
        }
        while (c != this && !(first ? c->m_nextSibling : c->m_prevSibling))
            c = c->m_parent;
        c = c == this ? nullptr : (first ? c->m_nextSibling : c->m_prevSibling);
    }
    return nullptr;
}
