// Splitting an element in two after one of its children (BreakElement), and
// splitting the ancestors on the way up as well (SplitUntilParent). The
// halves of an inline element become pieces of one wrap-piece group, as the
// pieces of an element wrapped across lines do.

#include "element/Element.h"
#include "element/factory/ElementFactory.h"

namespace {

// The top-most half holds nothing a reader would miss: no text, no picture,
// rule or line break, no block below it (the half itself may be a block).
bool IsEmptyHalf(const CElement* half)
{
    for (const CElement* c = half->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindImg || c->m_kind == kKindHr || c->m_kind == kKindBr || !c->IsEmptyTag(true)
            || !IsEmptyHalf(c))
            return false;
    }
    return true;
}

} // namespace

CElement* CElement::BreakElement(long childId, bool force)
{
    if (!childId || !m_parent || (!m_container && !m_firstChild && !force))
        return nullptr;
    CElement* after = GetChild(childId, 0);
    if (!after)
        return nullptr;
    CElement* half = CreateElement(m_tagName, m_rules, m_root, m_owner);
    if (!half)
        return nullptr;
    half->CopyFromParent(this, 3);
    half->m_style = m_style;
    m_parent->InsertChild(half, m_id, true);
    while (CElement* c = after->m_nextSibling) {
        RemoveCurrentChildFromList(c);
        half->AddToTail(c);
    }
    if (m_inline) {
        InlineIDInfo(1, 0);
        half->m_inlineGroup = m_inlineGroup;
    }
    return half;
}

bool CElement::SplitUntilParent(CElement** rest, long stopId, long childId)
{
    CElement* half = BreakElement(childId, false);
    if (rest)
        *rest = half;
    if (m_id != stopId)
        return m_parent ? m_parent->SplitUntilParent(rest, stopId, m_id) : false;
    // A top-most half without content (nothing came after the child, or
    // only empty runs did) is dropped.
    if (half && IsEmptyHalf(half)) {
        if (CElement* parent = half->m_parent) {
            parent->RemoveCurrentChildFromList(half);
            parent->DeleteElement(half);
        }
        if (rest)
            *rest = nullptr;
    }
    return true;
}
