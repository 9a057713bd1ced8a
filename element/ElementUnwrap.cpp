// Merging pieces back together: after an edit the pieces a wrap or a split
// left side by side (text runs of one wrapped run, for instance) become one
// element again where the first piece accepts the second (CombineWrap).

#include "element/Element.h"

bool CElement::UnwrapElement()
{
    bool merged = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        merged |= c->UnwrapElement();
    CElement* first = m_firstChild;
    while (first && first->m_nextSibling) {
        CElement* second = first->m_nextSibling;
        if (first->m_kind == second->m_kind && first->IsCanWrap() && first->CombineWrap(second)) {
            RemoveChild(second->m_id, true, false);
            merged = true;
            continue;
        }
        first = second;
    }
    return merged;
}
