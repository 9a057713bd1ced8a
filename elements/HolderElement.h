#pragma once
// CHolderElement: the place holder of "map", "object" and the form controls, shown as an icon. Made
// only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CHolderElement : public CElement
{
public:
    explicit CHolderElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindFormControl;
        m_selectable = 1;
    }
};
