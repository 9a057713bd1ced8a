// The root's float list: entering and leaving it, walking it, and the
// questions about floating ancestors and siblings.

#include "style/floats/FloatList.h"

#include "style/floats/FloatIndex.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutLimits.h"

#include <vector>

void ForEachFloat(CElement* root, const std::function<bool(CElement* f, const CRect& box)>& fn)
{
    if (!root || root->Rare().m_floatList.GetCount() == 0)
        return;
    const CXDocServices* doc = root->m_owner ? &root->m_owner->m_doc : nullptr;
    CPtrList& list = root->EditRare().m_floatList;
    // A copy, so that fn may change the list.
    std::vector<CElement*> floats;
    floats.reserve(static_cast<size_t>(list.GetCount()));
    list.ForEachItem([&floats](void* item) { floats.push_back(static_cast<CElement*>(item)); });
    for (CElement* f : floats) {
        // A destroyed float (or a new element in its memory) leaves the list.
        if ((doc && !doc->IsElementExist(f)) || !f->m_floating) {
            if (void* at = list.Find(f))
                list.RemoveAt(at);
            continue;
        }
        CRect box;
        if (!FloatMarginBox(f, root, box))
            continue;
        if (!fn(f, box))
            return;
    }
}

void ForEachCountingFloat(CElement* root, const std::function<bool(CElement* f, const CRect& box)>& fn)
{
    if (!FloatIndexCovers()) {
        ForEachFloat(root, fn);
        return;
    }
    std::vector<PlacedFloat> placed;
    PlacedFloats(root, placed);
    for (const PlacedFloat& p : placed) {
        if (!fn(p.element, p.box))
            return;
    }
}

int FloatSide(const CElement* f)
{
    return f->Style().floatSide.value == kFloatRight ? kFloatRight : kFloatLeft;
}

void CElement::UpdateFloatList()
{
    CElement* root = m_root;
    if (!root || root == this)
        return;
    const bool floats = IsFloatType();
    if (floats && !m_floating) {
        root->EditRare().m_floatList.AddTail(this);
        m_floating = 1;
    } else if (!floats && m_floating) {
        if (void* pos = root->EditRare().m_floatList.Find(this))
            root->EditRare().m_floatList.RemoveAt(pos);
        m_floating = 0;
    }
}

CElement* CElement::IsUnderFloat() const
{
    for (CElement* a = m_parent; a; a = a->m_parent) {
        if (a->IsFloatType())
            return a;
    }
    return nullptr;
}

bool CElement::IsBrotherFloatElement(bool next) const
{
    const CElement* s = next ? m_nextSibling : m_prevSibling;
    return s && s->IsFloatType();
}
