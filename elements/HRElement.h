#pragma once
// CHRElement: the horizontal rule "hr". Made only by the element factory, which stores the final kind
// code.

#include "element/Element.h"

class CHRElement : public CElement
{
public:
    explicit CHRElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindHr;
        m_selectable = 1;
        m_block = 1;
    }
};
