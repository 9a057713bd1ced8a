#include "style/layout/LayoutPass.h"

#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

void SetLayoutWidth(CElement* root, int width)
{
    if (!root)
        return;
    width = ClampLength(width < 0 ? 0 : width);
    root->m_position = CPoint(0, 0);
    root->m_cssRect.right = width;
    // The root's margins are known once its lengths are resolved.
    root->CalcForAll(nullptr, false, false);
    GiveArea(root, width, 0, width, 0);
    root->m_contentRect = root->m_availRect;
}

bool LayoutDocument(CElement* root, int width)
{
    if (!root || width < 0)
        return false;
    try {
        SetLayoutWidth(root, width);
        root->BuildCDC(nullptr);
        root->CalculateReg(nullptr, nullptr);
    } catch (...) {
        return false;
    }
    return true;
}
