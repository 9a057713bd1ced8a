#pragma once
// CCommentElement: a comment (tag name "_comment_"), shown as an icon. Made only by the element
// factory; it constructs with the script's kind and the factory stores 68.

#include "element/Element.h"

class CCommentElement : public CElement
{
public:
    explicit CCommentElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindScript;
        m_selectable = 1;
    }
};
