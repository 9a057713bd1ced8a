// Moving an element out of an ancestor (JumpOut), for instance an image out
// of the bold element around it, and exchanging an element's nesting with its
// parent's (SwitchParent).
//
// JumpOut splits every element from the parent up to the ancestor after the
// element's branch, so what came after it stays where it was; the element
// then stands just after the ancestor's first half, wrapped (with keep) in
// copies of the elements it was inside below the ancestor, so it keeps that
// formatting. Elements the move left without children are destroyed.

#include "element/Element.h"

#include <vector>

bool CElement::JumpOut(long ancestorId, bool keep)
{
    CElement* ancestor = m_parent;
    while (ancestor && ancestor->m_id != ancestorId)
        ancestor = ancestor->m_parent;
    if (!ancestor || !ancestor->m_parent)
        return false;
    if (ancestor->m_kind == kKindB)
        EditStyle().fontWeight = 100;
    else if (ancestor->m_kind == kKindI)
        EditStyle().italic = 0;

    CElement* formerParent = m_parent;
    CElement* rest = nullptr;
    formerParent->SplitUntilParent(&rest, ancestor->m_id, m_id);
    if (rest)
        RemoveIfEmpty(rest);

    // The elements between this one and the ancestor, innermost first.
    std::vector<CElement*> between;
    if (keep) {
        for (CElement* e = formerParent; e != ancestor; e = e->m_parent)
            between.push_back(e);
    }
    CElement* outer = this;
    CElement* inner = nullptr;
    for (CElement* e : between) {
        CElement* copy = e->Duplicate();
        if (!copy)
            break;
        if (outer != this)
            copy->AppendChild(outer);
        else
            inner = copy;
        outer = copy;
    }
    formerParent->RemoveCurrentChildFromList(this);
    if (inner)
        inner->AppendChild(this);
    CElement* top = ancestor->m_parent;
    top->InsertChild(outer, ancestor->m_id, true);
    if (outer != this)
        outer->CopyFromParent(top, 1);
    else
        CopyFromParent(top, 1);

    for (CElement* e = formerParent; e && e->m_parent && !e->m_firstChild;) {
        CElement* up = e->m_parent;
        up->RemoveChild(e->m_id, true, false);
        e = up;
    }
    return true;
}

bool CElement::SwitchParent()
{
    CElement* parent = m_parent;
    if (!parent || !parent->m_parent)
        return false;
    CElement* copy = parent->Duplicate();
    if (!copy)
        return false;
    MoveOutUntil(nullptr, true);
    MoveChildrenTo(copy, 0, true, 0, 0);
    AppendChild(copy);
    StyleChanged(1);
    return true;
}
