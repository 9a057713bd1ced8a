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
};
