// Handing widths down the tree (SetElementRect). The layout pass gives each
// child its area as it lays it out; SetElementRect gives a whole subtree
// its areas at once, without recursion, for callers that change an
// element's width outside a layout pass (the document's width, a table's
// columns).

#include "element/Element.h"
#include "style/layout/LayoutBox.h"

#include <algorithm>
#include <vector>

namespace {

// Each child of e gets its area in e's content: the content width, less a
// block's positive horizontal margins.
void GiveChildrenAreas(CElement* e, std::vector<CElement*>& pending)
{
    const int width = std::max<int>(0, e->Lay().m_availRect.right - e->Lay().m_availRect.left);
    const int height = std::max<int>(0, e->Lay().m_availRect.bottom - e->Lay().m_availRect.top);
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindText)
            continue;
        const int margins = c->m_block
            ? std::max<int>(0, c->Lay().m_marginLeftTop.x) + std::max<int>(0, c->Lay().m_marginRightBottom.x)
            : 0;
        GiveArea(c, std::max(0, width - margins), height, width, height);
        pending.push_back(c);
    }
}

} // namespace

// Modes: 4 the rectangle becomes the content rectangle; 0 the element's
// content (the rectangle less its edges) becomes its content and available
// rectangle; 1 its available rectangle; 3 as 1 with no height, the
// element's own available rectangle left as it was. With 0, 1 and 3 every
// descendant then gets its area in its parent's content. Text runs take
// nothing.
bool CElement::SetElementRect(CRect& rect, int mode)
{
    if (m_kind == kKindText)
        return false;
    if (mode == 4) {
        Lay().m_contentRect = rect;
        return true;
    }
    const CRect keep = Lay().m_availRect;
    const CRect container = Lay().m_containerRect;
    GiveArea(this, rect.right - rect.left, mode == 3 ? 0 : rect.bottom - rect.top, container.right,
        container.bottom);
    Lay().m_containerRect = container;
    if (mode == 0)
        Lay().m_contentRect = Lay().m_availRect;
    std::vector<CElement*> pending;
    GiveChildrenAreas(this, pending);
    if (mode == 3)
        Lay().m_availRect = keep;
    while (!pending.empty()) {
        CElement* e = pending.back();
        pending.pop_back();
        GiveChildrenAreas(e, pending);
    }
    return true;
}
