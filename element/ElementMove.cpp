// Moving children and elements between parents. A moved element inherits
// from its new parent; the order of moved children never changes.

#include "element/Element.h"

#include <vector>

int CElement::MoveChildrenTo(CElement* target, long refId, bool forward, int range, long markId)
{
    if (!target || target == this || target->IsOneOfParent(this))
        return 0;
    CElement* mark = range != 0 ? GetChild(markId, 0) : nullptr;
    if (range != 0 && !mark)
        return 0;
    // The run to move, from its first to its last child.
    CElement* first = range == 2 ? mark : m_firstChild;
    CElement* last = range == 1 ? mark->m_prevSibling : m_lastChild;
    if (!first || !last)
        return 0;
    std::vector<CElement*> run;
    for (CElement* c = first;; c = c->m_nextSibling) {
        if (c != target)
            run.push_back(c);
        if (c == last)
            break;
    }
    int moved = 0;
    const size_t n = run.size();
    for (size_t i = 0; i < n; ++i) {
        CElement* c = run[forward ? i : n - 1 - i];
        RemoveCurrentChildFromList(c);
        target->InsertChild(c, refId, forward);
        c->CopyFromParent(target, 1);
        refId = c->m_id;
        ++moved;
    }
    return moved;
}

bool CElement::MoveCurrentElementTo(CElement* target, long refId, bool after)
{
    if (!target || target == this || target->IsOneOfParent(this))
        return false;
    if (m_parent)
        m_parent->RemoveCurrentChildFromList(this);
    target->InsertChild(this, refId, after);
    CopyFromParent(target, 1);
    return true;
}
