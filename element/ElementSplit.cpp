// Splitting an element in two after one of its children (BreakElement),
// splitting the ancestors on the way up as well (SplitUntilParent), and
// splitting around a range of elements so that it consists of whole
// children of one ancestor (ReunionElements). The halves of an inline
// element become pieces of one wrap-piece group, as the pieces of an element
// wrapped across lines do.

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"

#include <algorithm>
#include <vector>

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

// e's ancestor (or e) that is a child of top; null when top is not above e.
CElement* ChildOnPath(CElement* e, const CElement* top)
{
    while (e && e->m_parent != top)
        e = e->m_parent;
    return e;
}

// Splits e's ancestors below top before e: at the lowest level where the
// path from e up has an element before it, and at every level above. Each
// second half holds the path, so none is dropped (an empty first entry of a
// range stays in the tree).
void SplitBefore(CElement* e, const CElement* top)
{
    CElement* x = e;
    while (x->m_parent != top && !x->m_prevSibling)
        x = x->m_parent;
    if (x->m_parent == top)
        return;
    CElement* after = x->m_prevSibling;
    for (CElement* p = x->m_parent; p && p != top; p = p->m_parent) {
        CElement* half = p->BreakElement(after->GetID(), true);
        if (!half || half->m_parent != p->m_parent)
            return;
        after = p;
    }
}

// Splits e's ancestors below top after e, from the lowest level where the
// path from e up has an element after it; a top-most half that holds no
// content is dropped (SplitUntilParent).
void SplitAfter(CElement* e, const CElement* top)
{
    CElement* x = e;
    while (x->m_parent != top && !x->m_nextSibling)
        x = x->m_parent;
    if (x->m_parent == top)
        return;
    CElement* rest = nullptr;
    x->m_parent->SplitUntilParent(&rest, ChildOnPath(x, top)->GetID(), x->GetID());
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

bool CElement::ReunionElements(CPtrList* list)
{
    if (!list || list->GetCount() < 2)
        return false;
    std::vector<CElement*> entries;
    bool nullEntry = false;
    list->ForEachItem([&](void* item) {
        entries.push_back(static_cast<CElement*>(item));
        nullEntry = nullEntry || !item;
    });
    if (nullEntry)
        return false;
    CElement* common = entries.front();
    bool oneParent = true;
    for (CElement* e : entries) {
        common = common ? FindSameParent(common, e) : nullptr;
        oneParent = oneParent && e->m_parent == entries.front()->m_parent;
    }
    if (!common || oneParent || std::find(entries.begin(), entries.end(), common) != entries.end())
        return false;
    SplitBefore(entries.front(), common);
    SplitAfter(entries.back(), common);
    std::vector<CElement*> tops;
    for (CElement* e : entries) {
        CElement* top = ChildOnPath(e, common);
        if (top && std::find(tops.begin(), tops.end(), top) == tops.end())
            tops.push_back(top);
    }
    list->RemoveAll();
    for (CElement* top : tops)
        list->AddTail(top);
    return true;
}
