#pragma once
// The elements below a fuzzed document's root, in document order, for the
// targets that pick one of them to edit.

#include "element/Element.h"

#include <vector>

namespace qmfuzz {

inline std::vector<CElement*> ElementsBelow(CElement* root)
{
    std::vector<CElement*> out;
    for (CElement* e = root->m_firstChild; e;) {
        out.push_back(e);
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e && e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e && e != root ? e->m_nextSibling : nullptr;
    }
    return out;
}

} // namespace qmfuzz
