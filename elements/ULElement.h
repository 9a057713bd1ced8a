#pragma once
// CULElement: the lists "ul" and "ol". Made only by the element factory, which stores the final kind
// code.

#include "element/Element.h"

class CULElement : public CElement
{
public:
    explicit CULElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindUl; }
};
