// The attribute accessors of CElement. Attributes live in m_attributes in
// document order with their names as written; every change made through
// SetAttrString re-applies the style sheets, since selectors and
// presentational attributes depend on them. A name that is not an XML name
// (the page's script and style definitions give any text) is refused: the
// element would be written as markup that does not read again.

#include "element/Element.h"

#include "base/text/U16.h"
#include "base/text/XmlChars.h"

namespace {

// Widens 8-bit text byte by byte (zero-extended); null stays null.
class Widened
{
public:
    explicit Widened(const char* text)
        : m_null(text == nullptr), m_text(reinterpret_cast<const unsigned char*>(text))
    { }
    operator const unsigned short*() const
    {
        return m_null ? nullptr : static_cast<const unsigned short*>(m_text);
    }

private:
    bool m_null;
    CSafeBuf m_text;
};

const char* const kCommonAttributes[] = {"id", "title", "xml:lang", "dir", "onclick", "ondblclick",
    "onmousedown", "onmouseup", "onmouseover", "onmouseout", "onkeypress", "onkeydown", "onkeyup"};

} // namespace

bool CElement::GetAttrString(const unsigned short* name, CSafeBuf& value) const
{
    value.Empty();
    if (!name)
        return false;
    return m_attributes.Lookup(name, value);
}

bool CElement::GetAttrString(const char* name, CSafeBuf& value) const { return GetAttrNoCase(name, value); }

bool CElement::SetAttrString(const unsigned short* name, const unsigned short* value)
{
    if (!IsXmlName(name))
        return false;
    const bool existed = m_attributes.Contains(name);
    const bool empty = !value || !*value;
    MarkLayoutChanged();
    if (existed) {
        if (empty)
            m_attributes.RemoveKey(name);
        else
            m_attributes.SetAt(name, CSafeBuf(value));
    } else {
        if (empty)
            return false;
        m_attributes.SetAt(name, CSafeBuf(value));
    }
    ApplyCSS(nullptr, true);
    return existed;
}

bool CElement::SetAttrString(const char* name, const unsigned short* value)
{
    return SetAttrString(Widened(name), value);
}

bool CElement::SetAttrString(const unsigned short* name, const char* value)
{
    return SetAttrString(name, Widened(value));
}

bool CElement::SetAttrString(const char* name, const char* value)
{
    return SetAttrString(Widened(name), Widened(value));
}

bool CElement::IsCommonAttribute(const unsigned short* name)
{
    if (!name)
        return false;
    for (const char* common : kCommonAttributes) {
        if (U16icmp(name, common) == 0)
            return true;
    }
    return false;
}

void CElement::CopyMap(CMapStringToString* to, const CMapStringToString* from, bool lower)
{
    if (!to || !from)
        return;
    // Read everything first: to may be from.
    CMapStringToString copy;
    CSafeBuf key, value;
    for (void* pos = from->GetStartPosition(); pos;) {
        from->GetNextAssoc(pos, key, value);
        if (lower)
            key.MakeLower();
        copy.SetAt(static_cast<const unsigned short*>(key), value);
    }
    *to = copy;
}
