// The selection question typing asks before it types over a selection,
// answered here until the pointer and selection code brings its own.

#include "document/XDoc.h"

#include "element/Element.h"

CElement* CXDoc::IsSelectionUnderSameTag(int kind)
{
    if (!m_root)
        return nullptr;
    CPtrList selected;
    m_root->GetAllChildren(&selected, 0, true, 0, 0);
    CElement* holder = nullptr;
    for (void* pos = selected.GetHeadPosition(); pos;) {
        auto* e = static_cast<CElement*>(selected.GetNext(pos));
        if (e->IsTextElement() && (e->m_selStart > 0 || e->m_selEnd < e->m_text.Length() - 1))
            return nullptr;
        CElement* own = e->m_kind == kind ? e : e->IsElementUnderTag(int(kind));
        if (!own || (holder && own != holder && !own->IsOneOfParent(holder)))
            return nullptr;
        if (!holder)
            holder = own;
    }
    return holder;
}
