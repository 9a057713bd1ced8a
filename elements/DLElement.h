#pragma once
// CDLElement: the definition list "dl". Made only by the element factory, which stores the final kind
// code.

#include "element/Element.h"

class CDLElement : public CElement
{
public:
    explicit CDLElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindDl; }
};
