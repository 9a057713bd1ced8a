// Declaration-level editing of style text (the value of a style attribute).
//
// The text is read as declarations separated by ";". A declaration's name is
// its text before the first ":", without the blanks around it; the value runs
// from after that ":" to the next ";" or the end. A property is found by its
// name alone, compared exactly, so a longer property that ends the same way
// ("background-color" for "color") and a name-like word inside a value are
// never taken for it. Edits keep everything else of the text as written.

#include "element/Element.h"

#include "base/text/U16.h"

namespace {

struct Declaration
{
    int start = 0; // first unit of the declaration (just after the previous ";")
    int colon = 0; // the ":" after its name
    int end = 0;   // its ";", or the text's length when none follows
};

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The first declaration of property in style.
bool FindDeclaration(const CSafeBuf& style, const unsigned short* property, Declaration& found)
{
    const int propertyLength = U16len(property);
    if (propertyLength == 0)
        return false;
    const unsigned short* text = style;
    const int length = style.Length();
    for (int start = 0; start <= length;) {
        int end = start;
        while (end < length && text[end] != ';')
            ++end;
        int colon = start;
        while (colon < end && text[colon] != ':')
            ++colon;
        if (colon < end) {
            int nameStart = start, nameEnd = colon;
            while (nameStart < nameEnd && IsBlank(text[nameStart]))
                ++nameStart;
            while (nameEnd > nameStart && IsBlank(text[nameEnd - 1]))
                --nameEnd;
            if (nameEnd - nameStart == propertyLength
                && U16ncmp(text + nameStart, property, propertyLength) == 0) {
                found.start = start;
                found.colon = colon;
                found.end = end;
                return true;
            }
        }
        start = end + 1;
    }
    return false;
}

// Whether the text, trailing blanks aside, is empty or ends in ";".
bool EndsWithSeparator(const CSafeBuf& style)
{
    int i = style.Length();
    while (i > 0 && IsBlank(style.GetAt(i - 1)))
        --i;
    return i == 0 || style.GetAt(i - 1) == ';';
}

CSafeBuf Widen(const char* text)
{
    return CSafeBuf(reinterpret_cast<const unsigned char*>(text ? text : ""));
}

const char kStyle[] = "style";

} // namespace

bool CElement::GetAttrValue(const CSafeBuf& style, const unsigned short* property, CSafeBuf& value)
{
    value.Empty();
    Declaration d;
    if (!property || !FindDeclaration(style, property, d))
        return false;
    value = style.Mid(d.colon + 1, d.end - d.colon - 1);
    value.Trim();
    return true;
}

bool CElement::GetAttrValue(const CSafeBuf& style, const char* property, CSafeBuf& value)
{
    CSafeBuf wide = Widen(property);
    return GetAttrValue(style, static_cast<const unsigned short*>(wide), value);
}

bool CElement::ReplaceStyleString(
    CSafeBuf& style, const unsigned short* property, const unsigned short* value)
{
    if (!property)
        return false;
    const bool empty = !value || !*value;
    Declaration d;
    if (FindDeclaration(style, property, d)) {
        if (empty) {
            int stop = d.end < style.Length() ? d.end + 1 : d.end;
            if (d.start == 0) {
                while (stop < style.Length() && IsBlank(style.GetAt(stop)))
                    ++stop;
            }
            style.Delete(d.start, stop - d.start);
        } else {
            CSafeBuf edited = style.Left(d.colon + 1);
            edited += static_cast<unsigned short>(' ');
            edited += value;
            if (d.end < style.Length())
                edited += style.Mid(d.end, style.Length() - d.end);
            else
                edited += static_cast<unsigned short>(';');
            style = edited;
        }
        return true;
    }
    if (!empty) {
        if (!EndsWithSeparator(style))
            style += static_cast<unsigned short>(';');
        style += property;
        style += ": ";
        style += value;
        style += static_cast<unsigned short>(';');
    }
    return false;
}

bool CElement::ReplaceStyleString(CSafeBuf& style, const char* property, const char* value)
{
    CSafeBuf wideProperty = Widen(property), wideValue = Widen(value);
    return ReplaceStyleString(style, property ? static_cast<const unsigned short*>(wideProperty) : nullptr,
        static_cast<const unsigned short*>(wideValue));
}

bool CElement::GetStyleString(const unsigned short* property, CSafeBuf& value)
{
    value.Empty();
    CSafeBuf style;
    if (!m_attributes.Lookup(kStyle, style))
        return false;
    return GetAttrValue(style, property, value);
}

bool CElement::SetStyleString(const unsigned short* property, const unsigned short* value)
{
    if (!property || !*property)
        return false;
    CSafeBuf style;
    MarkLayoutChanged();
    if (m_attributes.Lookup(kStyle, style)) {
        ReplaceStyleString(style, property, value);
        if (style.JustSpace())
            m_attributes.RemoveKey(kStyle);
        else
            m_attributes.SetAt(kStyle, style);
        return true;
    }
    if (value && *value) {
        style = property;
        style += ": ";
        style += value;
        m_attributes.SetAt(kStyle, style);
    }
    return false;
}

bool CElement::GetStyleString(const char* property, CSafeBuf& value)
{
    CSafeBuf wide = Widen(property);
    return GetStyleString(static_cast<const unsigned short*>(wide), value);
}

bool CElement::SetStyleString(const char* property, const unsigned short* value)
{
    CSafeBuf wide = Widen(property);
    return SetStyleString(static_cast<const unsigned short*>(wide), value);
}
