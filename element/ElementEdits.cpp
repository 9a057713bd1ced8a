// Unlinking and destroying children: at once, or queued on the document's
// removed list when a caller up the stack may still hold the element; the
// test for an element an edit left empty; moving an element out of its
// inline ancestors.
//
// A queued element is taken off the root's float list with its subtree
// first: the document destroys it later, possibly after the tree it came
// from, and its destruction must not reach back into that tree.

#include "element/Element.h"

#include "element/services/XHTMLServices.h"

namespace {

void ForgetFloats(CElement* root, CElement* e)
{
    if (e->m_floating) {
        if (root) {
            if (void* pos = root->m_floatList.Find(e))
                root->m_floatList.RemoveAt(pos);
        }
        e->m_floating = 0;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        ForgetFloats(root, c);
}

// The innermost element reached through only children holds content.
bool HoldsContent(const CElement* e)
{
    while (e->m_childCount == 1)
        e = e->m_firstChild;
    if (e->m_childCount > 1)
        return true;
    switch (e->m_kind) {
    case kKindImg:
    case kKindHr:
    case kKindBr: return true;
    case kKindText: return !e->m_text.IsEmpty();
    default: return false;
    }
}

} // namespace

bool CElement::RemoveChild(long id, bool destroy, bool queue)
{
    CElement* c = GetChild(id, 0);
    if (!c || !RemoveCurrentChildFromList(c))
        return false;
    if (destroy) {
        if (queue && m_owner) {
            ForgetFloats(m_root, c);
            if (!m_owner->m_doc.QueueRemovedElement(c))
                DeleteElement(c);
        } else {
            DeleteElement(c);
        }
    }
    return true;
}

bool CElement::RemoveElement(CElement* e, bool destroy)
{
    if (!e || !e->m_parent)
        return false;
    return e->m_parent->RemoveChild(e->m_id, destroy, false);
}

void CElement::RemoveAllChildren(bool destroy)
{
    while (CElement* c = m_firstChild) {
        RemoveCurrentChildFromList(c);
        if (destroy)
            DeleteElement(c);
    }
}

bool CElement::RemoveIfEmpty(CElement* e)
{
    if (!e || !IsElementExist(e) || !e->m_parent || HoldsContent(e))
        return false;
    return e->m_parent->RemoveChild(e->m_id, true, false);
}

bool CElement::RemoveChildNodeOnly(long id)
{
    CElement* c = GetChild(id, 0);
    if (!c)
        return false;
    while (CElement* g = c->m_firstChild) {
        c->RemoveCurrentChildFromList(g);
        InsertInto(g, c, false);
    }
    RemoveCurrentChildFromList(c);
    DeleteElement(c);
    return true;
}

void CElement::MoveOutUntil(CElement* stop, bool dissolve)
{
    // One level a turn, from the parent up; the walk goes on after this
    // element was moved to either end of its parent as well, so that it
    // always ends up outside stop.
    for (;;) {
        CElement* parent = m_parent;
        CElement* grand = parent ? parent->m_parent : nullptr;
        if (!grand)
            return;
        const bool last = !stop || stop == parent;
        if (this == parent->m_firstChild && this == parent->m_lastChild && dissolve) {
            grand->RemoveChildNodeOnly(parent->GetID());
        } else if (this == parent->m_firstChild) {
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, false);
        } else if (this == parent->m_lastChild) {
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, true);
        } else {
            CElement* before = parent->Duplicate();
            if (!before)
                return;
            grand->InsertInto(before, parent, false);
            while (parent->m_firstChild != this) {
                CElement* c = parent->m_firstChild;
                parent->RemoveCurrentChildFromList(c);
                before->AddToTail(c);
            }
            parent->RemoveCurrentChildFromList(this);
            grand->InsertInto(this, parent, false);
        }
        if (last)
            return;
    }
}
