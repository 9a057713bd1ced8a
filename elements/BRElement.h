#pragma once
// CBRElement: the line break "br". Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CBRElement : public CElement
{
public:
    explicit CBRElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindBr;
        m_selectable = 1;
    }
};
