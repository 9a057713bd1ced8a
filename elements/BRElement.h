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

    // A break that stands for a line end of preformatted text: made by the
    // markup reader for each LF inside pre (and by Return inside pre). The
    // markup writer writes it as the line end "\r\n", not as an element.
    bool m_preBreak = false;
};
