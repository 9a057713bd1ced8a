#include "style/layout/LayoutPass.h"

#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

namespace {

// The pieces a pass made (wrapped runs and inline elements) take their
// style from their element and edit it: shared here, the laid-out tree
// holds a style record of its own only where an element's style is unlike
// any other.
void ShareStyles(CElement* root)
{
    for (CElement* e = root; e;) {
        e->m_style.Share();
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e == root ? nullptr : e->m_nextSibling;
    }
}

} // namespace

void SetLayoutWidth(CElement* root, int width)
{
    if (!root)
        return;
    width = ClampLength(width < 0 ? 0 : width);
    root->Lay().m_position = CPoint(0, 0);
    root->Lay().m_cssRect.right = width;
    // The root's margins are known once its lengths are resolved.
    root->CalcForAll(nullptr, false, false);
    GiveArea(root, width, 0, width, 0);
    root->Lay().m_contentRect = root->Lay().m_availRect;
}

bool LayoutDocument(CElement* root, int width)
{
    if (!root || width < 0)
        return false;
    try {
        SetLayoutWidth(root, width);
        root->BuildCDC(nullptr);
        root->CalculateReg(nullptr, nullptr);
        ShareStyles(root);
    } catch (...) {
        return false;
    }
    return true;
}
