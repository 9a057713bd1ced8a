#pragma once
// CAElement: the anchor "a". Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CAElement : public CElement
{
public:
    explicit CAElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindA; }
};
