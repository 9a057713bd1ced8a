#pragma once
// CTBodyElement: the row groups "tbody", "thead" and "tfoot". Made only by the element factory, which
// stores the final kind code.

#include "element/Element.h"

class CTBodyElement : public CElement
{
public:
    explicit CTBodyElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTbody; }
};
