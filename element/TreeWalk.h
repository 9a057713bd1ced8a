#pragma once
// The step of a walk over a subtree in document order, written inline for
// the walks that take it for every element of a large tree (the writer's
// prefetch lanes); NextInSubtree (TreeQueries.h) is the same step.

#include "element/Element.h"

// The next element of root's subtree after e in document order, or null.
template <class Element>
Element* StepInSubtree(Element* e, const CElement* root)
{
    if (e->m_firstChild)
        return e->m_firstChild;
    for (; e && e != root; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}
