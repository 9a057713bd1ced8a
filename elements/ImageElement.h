#pragma once
// CImageElement: the image "img". Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CImageElement : public CElement
{
public:
    explicit CImageElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindImg;
        m_selectable = 1;
        m_container = 0;
    }
};
