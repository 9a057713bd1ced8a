// Document positions of elements (ElementToScreen and its helpers).

#include "style/layout/ElementPosition.h"

#include "element/Element.h"
#include "style/layout/LayoutLimits.h"

CPoint DocumentPosition(const CElement* e, const CElement** top)
{
    long long x = 0;
    long long y = 0;
    bool belowFloat = false;
    const CElement* last = e;
    for (const CElement* a = e; a; a = a->m_parent) {
        if (!(belowFloat && a->m_inline))
            x += a->Lay().m_position.x;
        y += a->Lay().m_position.y;
        if (a->IsFloatType())
            belowFloat = true;
        last = a;
    }
    if (top)
        *top = last;
    return CPoint(ClampLength(x, kMaxLayoutCoord), ClampLength(y, kMaxLayoutCoord));
}

CRect DocumentRect(const CElement* e) { return BoxAt(e, DocumentPosition(e)); }

CRect BoxAt(const CElement* e, CPoint at)
{
    return CRect(at.x, at.y, AddCoord(at.x, e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left),
        AddCoord(at.y, e->Lay().m_sizeRect.bottom - e->Lay().m_sizeRect.top));
}

void CElement::ElementToScreen(CPoint& pt)
{
    const CPoint p = DocumentPosition(this);
    pt.x = AddCoord(pt.x, p.x);
    pt.y = AddCoord(pt.y, p.y);
}
