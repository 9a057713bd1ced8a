#pragma once
// CTDElement: the table cells "td" and "th". Made only by the element factory, which stores the final
// kind code.

#include "element/Element.h"

class CTDElement : public CElement
{
public:
    explicit CTDElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTd; }
};
