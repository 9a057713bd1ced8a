// The editor's own properties: "-qm-lock" keeps an element from being
// edited; the "-qm-marker-" properties give the tag marker drawn on an
// element its label and colours. The label may be "element-name" or
// "attr(name)", which the cascade resolves per element.

#include "element/services/XDocServices.h"

#include "base/text/Ascii.h"
#include "style/parser/CssWords.h"
#include "style/parser/PropertyHandlers.h"
#include "style/values/CssColour.h"
#include "style/values/HexValue.h"

using namespace qm::css;

namespace {

NewIntStyleValue& MarkerColourCell(ELEMENT_STYLE& style, int which)
{
    switch (which) {
    case kMarkerText: return style.markerColor;
    case kMarkerBorder: return style.markerBorderColor;
    default: return style.markerBackgroundColor;
    }
}

// Backslash escapes: "\r", "\n", "\t", a backslash and two hex digits (the
// character of that code), else the character after the backslash. A code 0
// would end the label early and is dropped.
CSafeBuf Unescaped(const CSafeBuf& text)
{
    CSafeBuf out;
    const int n = text.Length();
    for (int i = 0; i < n; ++i) {
        unsigned short c = text.GetAt(i);
        if (c == '\\') {
            if (++i >= n)
                break;
            c = text.GetAt(i);
            if (c == 'r') {
                c = '\r';
            } else if (c == 'n') {
                c = '\n';
            } else if (c == 't') {
                c = '\t';
            } else if (i + 1 < n && IsAsciiHexDigit(c) && IsAsciiHexDigit(text.GetAt(i + 1))) {
                const unsigned short digits[3] = {c, text.GetAt(i + 1), 0};
                c = static_cast<unsigned short>(HexDec(digits));
                ++i;
            }
        }
        if (c)
            out += c;
    }
    return out;
}

} // namespace

namespace qm::css {

bool ParseLock(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    NewIntStyleValue& lock = style.lock;
    if (value == "true" || value == "yes") {
        lock.value = 1;
        lock.inherit = false;
    } else if (value == "false" || value == "no") {
        lock.value = 0;
        lock.inherit = false;
    } else if (value == "inherit") {
        lock.value = 0;
        lock.inherit = true;
    } else {
        return false;
    }
    lock.set = true;
    lock.inherited = 0;
    return true;
}

bool ParseMarkerLabel(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int)
{
    CSafeBuf label(value);
    RemoveMatchingQuotes(label);
    NewStringStyleValue& cell = style.markerLabel;
    cell.text.Set(Unescaped(label));
    cell.set = true;
    cell.inherited = 0;
    return true;
}

// An invalid colour is ignored.
bool ParseMarkerColour(CXDocServices&, ELEMENT_STYLE& style, CSafeBuf& value, int which)
{
    const int colour = GetColor(value, false);
    if (colour == kColorInvalid)
        return false;
    NewIntStyleValue& cell = MarkerColourCell(style, which);
    cell.set = true;
    cell.value = colour;
    cell.inherit = false;
    cell.inherited = 0;
    return true;
}

} // namespace qm::css
