#pragma once
// CScriptElement: "script" and "noscript", shown as an icon. Made only by the element factory, which
// stores the final kind code.

#include "element/Element.h"

class CScriptElement : public CElement
{
public:
    explicit CScriptElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindScript;
        m_selectable = 1;
    }
};
