#pragma once
// CSpecialElement: the inline quotation "q". Made only by the element factory; it constructs with a
// provisional kind and the factory stores 60.

#include "element/Element.h"

class CSpecialElement : public CElement
{
public:
    explicit CSpecialElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindQuoteConstructed; }
};
