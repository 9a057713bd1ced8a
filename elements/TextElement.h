#pragma once
// CTextElement: a run of text: the characters of the document (empty tag name). Made only by the
// element factory, which stores the final kind code.

#include "element/Element.h"

class CTextElement : public CElement
{
public:
    explicit CTextElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindText;
        m_selectable = 1;
        m_container = 0;
    }
};
