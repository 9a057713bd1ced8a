// Structural edits that the tree repair needs: unlinking a child,
// dissolving one, and moving an element out of its inline ancestors.

#include "element/Element.h"

#include "editor/XHTML.h"

bool CElement::RemoveChild(long id, bool destroy, bool queue)
{
    CElement* c = GetChild(id, 0);
    if (!c || !RemoveCurrentChildFromList(c))
        return false;
    if (destroy) {
        if (queue && m_owner)
            m_owner->m_doc.QueueRemovedElement(c);
        else
            DeleteElement(c);
    }
    return true;
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
