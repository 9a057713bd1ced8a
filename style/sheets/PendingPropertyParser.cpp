// PENDING: stands in for the CSS property parser until it is merged.
#include "base/text/U16.h"
#include "document/XDoc.h"
#include "style/values/CssColour.h"
bool CXDoc::ParseCSSStyleString(const unsigned short* name, const unsigned short* value, ELEMENT_STYLE& style)
{
    if (U16icmp(name, "color") == 0) {
        long c = GetColor(value, false);
        if (c < 0)
            return false;
        style.color = c;
        style.colorSet = 1;
        style.colorOrigin = 3;
        return true;
    }
    if (U16icmp(name, "margin-left") == 0) {
        style.marginLeft.set = true;
        style.marginLeft.value = U16toi(value);
        style.marginLeft.origin = 3;
        return true;
    }
    if (U16icmp(name, "text-align") == 0) {
        style.hAlignSet = 1;
        style.hAlignOrigin = 3;
        style.align = (style.align & 15) | (U16icmp(value, "right") == 0 ? 64 : 16);
        return true;
    }
    return false;
}
