#pragma once
// CTRElement: the table row "tr". Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CTRElement : public CElement
{
public:
    explicit CTRElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTr; }
};
