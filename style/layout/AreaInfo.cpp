// Recording the geometry of the last paint before an edit (GetAreaInfo).

#include "element/Element.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutLimits.h"
#include "style/paint/PaintWalk.h"

void CElement::GetAreaInfo(CPoint origin)
{
    // The records below are rewritten whole: none may lag behind.
    qm::paint::SettleRecords(this);
    // Document order without recursion; each element's position comes from
    // its parent's, recorded just before.
    for (CElement* e = this; e;) {
        CPoint at = e == this ? origin : e->m_parent->Lay().m_prevDocPos;
        if (e->IsFloatType() && e != this) {
            at = DocumentPosition(e);
        } else {
            at.x = AddCoord(at.x, e->Lay().m_position.x);
            at.y = AddCoord(at.y, e->Lay().m_position.y);
        }
        e->Lay().m_prevRect = e->Lay().m_sizeRect;
        e->Lay().m_prevDocPos = at;
        e->m_forceRepaint = 0;
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != this && !e->m_nextSibling)
            e = e->m_parent;
        e = e == this ? nullptr : e->m_nextSibling;
    }
}
