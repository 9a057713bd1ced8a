#pragma once
// CTableElement: the table. Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CTableElement : public CElement
{
public:
    explicit CTableElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTable; }
};
