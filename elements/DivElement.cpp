// Divisions, forms and field sets: a selected one marks its box.

#include "elements/DivElement.h"

#include "style/draw/DrawPrimitives.h"

#include <algorithm>

bool CDivElement::SelfPaint(void* dc, CPoint origin)
{
    if (!m_selected)
        return true;
    CRect box = Lay().m_sizeRect;
    const int availableRight = Lay().m_availRect.right - 1;
    if (box.right < availableRight)
        box.right = availableRight;
    box.top = std::max<LONG>(box.top - 1, 0);
    box.bottom += 1;
    box.OffsetRect(origin.x, origin.y);
    xInvertRect(dc, box, this);
    return true;
}
