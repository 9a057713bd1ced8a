#pragma once
// CCustomElement: any tag the factory does not know: the page's own elements and sub-document
// elements. Made only by the element factory, which stores the final kind code.

#include "element/Element.h"

class CCustomElement : public CElement
{
public:
    explicit CCustomElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindCustom; }

    // Set by the factory when the tag is one of the control's sub-document
    // tags: the element's content is fetched from the sub-document service.
    bool m_isSubDocument = false;
};
