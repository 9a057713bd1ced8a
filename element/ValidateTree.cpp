// Flattening blocks inside a paragraph, dt or heading.

#include "element/ValidateTree.h"

#include "element/Element.h"

bool ValidateTree(CElement* e)
{
    if (!e || !(e->m_kind == kKindP || e->m_kind == kKindDt || IsHeadingKind(e->m_kind)))
        return false;
    bool changed = false;
    for (bool again = true; again;) {
        again = false;
        for (CElement* c = e->m_firstChild; c;) {
            CElement* next = c->m_nextSibling;
            if (c->m_block && e->RemoveChildNodeOnly(c->GetID()))
                again = true;
            c = next;
        }
        changed |= again;
    }
    if (changed)
        e->StyleChanged(0);
    return changed;
}
