#include "style/cascade/StyleReport.h"

#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "element/TagList.h"
#include "style/records/StyleDump.h"

namespace {

// The text values of a record whether set or not, in the dump's notation.
void AppendCarried(const ELEMENT_STYLE& s, CSafeBuf& out)
{
    ELEMENT_STYLE carried{};
    carried.colorSet = 1;
    carried.color = s.color;
    carried.fontSet = 1;
    carried.sizeSet = carried.weightSet = carried.italicSet = carried.familySet = 1;
    carried.fontSize = s.fontSize;
    carried.fontSizeUnit = s.fontSizeUnit;
    carried.fontWeight = s.fontWeight;
    carried.italic = s.italic;
    for (int i = 0; i < kFontFamilyUnits; ++i)
        carried.fontFamily[i] = s.fontFamily[i];
    carried.fontNumber = s.fontNumber;
    CSafeBuf text;
    DumpStyle(carried, text, kStyleDumpPlain);
    out += " |";
    out += ' ';
    out += text;
}

void AppendLine(const CElement* e, CSafeBuf& out, int options)
{
    CSafeBuf path, style;
    if (e->IsTextElement()) {
        GetEleTagList(e->m_parent, path, kTagListIndexedPath);
        path += "/text()[";
        path.AppendInt(static_cast<long>(e->GetIndex()) + 1);
        path += "]";
    } else {
        GetEleTagList(e, path, kTagListIndexedPath);
    }
    out += path;
    DumpStyle(e->m_style, style, options & ~kStyleReportCarried);
    if (!style.IsEmpty()) {
        out += ' ';
        out += style;
    }
    if (options & kStyleReportCarried)
        AppendCarried(e->m_style, out);
    out += '\n';
}

} // namespace

void ReportStyles(const CElement* root, CSafeBuf& out, int options)
{
    // Document order without recursion: down to the first child, else on to
    // the next sibling of the nearest element that has one.
    for (const CElement* e = root; e;) {
        AppendLine(e, out, options);
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e && e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e && e != root ? e->m_nextSibling : nullptr;
    }
}
