#pragma once
// COtherElement: the centring block "center". Made only by the element factory, which stores the final
// kind code.

#include "element/Element.h"

class COtherElement : public CElement
{
public:
    explicit COtherElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindCenter; }
};
