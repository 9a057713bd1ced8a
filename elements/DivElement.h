#pragma once
// CDivElement: the block containers "div", "form" and "fieldset". Made only by the element factory,
// which stores the final kind code.

#include "element/Element.h"

class CDivElement : public CElement
{
public:
    explicit CDivElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindDiv;
        m_selectable = 1;
    }

    // Slot 41: only a selected element paints anything of its own: its box
    // (widened to one pixel short of the available area's right edge, one
    // pixel taller at the top, not above 0, and at the bottom) tinted as a
    // selected area, so that its content stays readable.
    bool SelfPaint(void* dc, CPoint origin) override;
};
