#pragma once
// CLIElement: the list item "li". Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CLIElement : public CElement
{
public:
    explicit CLIElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindLi;
        m_drawColor = RGB(0, 0, 0);
    }
};
