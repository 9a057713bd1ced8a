// Where an element is in the document: its position added to those of all
// its ancestors. A float is painted by the float pass, which does not add
// the x of inline ancestors, so neither does its document position.

#include "element/Element.h"

void CElement::ElementToScreen(CPoint& pt)
{
    const bool floats = IsFloatType();
    pt += m_position;
    for (const CElement* a = m_parent; a; a = a->m_parent) {
        pt.y += a->m_position.y;
        if (!(floats && a->m_inline))
            pt.x += a->m_position.x;
    }
}

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
    return pt.x >= m_sizeRect.left && pt.x <= m_sizeRect.right && pt.y >= m_sizeRect.top
        && pt.y <= m_sizeRect.bottom;
}
