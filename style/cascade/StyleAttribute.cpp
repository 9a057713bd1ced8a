#include "style/cascade/StyleMerge.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/sheets/Declarations.h"

#include <new>

bool ParseStyleString(const unsigned short* text, ELEMENT_STYLE* style, CElement* e)
{
    if (!text || !style || !e || !e->m_owner)
        return true;
    try {
        std::vector<STYLE_DECLARATION> declarations;
        SplitDeclarations(text, declarations);
        for (STYLE_DECLARATION& d : declarations)
            e->m_owner->m_doc.ParseCSSStyleString(d.name, d.value, *style);
    } catch (const std::bad_alloc&) {
        // What was parsed so far stays in the record.
    }
    return true;
}
