// An element's box and a point against its document position
// (ElementToScreen, style/layout/ElementPosition.cpp).

#include "element/Element.h"

void CElement::ElementToDocument(CRect& rect)
{
    CPoint at;
    ElementToScreen(at);
    const long width = rect.right - rect.left, height = rect.bottom - rect.top;
    rect = CRect(at.x, at.y, at.x + width, at.y + height);
}

bool CElement::PointToElement(CPoint& pt)
{
    CPoint at;
    ElementToScreen(at);
    pt -= at;
    return pt.x >= Lay().m_sizeRect.left && pt.x <= Lay().m_sizeRect.right && pt.y >= Lay().m_sizeRect.top
        && pt.y <= Lay().m_sizeRect.bottom;
}
