// The working rule list written back as style sheet text, for a style
// element of a page that must stand on its own (the preview renderings).
//
// Each rule is written as "\t" selector " {\r\n", one "\t\t" name ":" value
// ";\r\n" line per declaration as it was read, and "\t}\r\n". With a base
// URL, the first url(...) of a value is resolved against it and written in
// single quotes. Text that markup would not take as character data (it
// holds "<", ">" or "&") is written as a CDATA section whose first line is
// a placeholder rule, which takes the "<![CDATA[" in front of it when a
// browser reads the text as CSS.

#include "base/url/RelativeURL.h"
#include "document/XDoc.h"
#include "style/sheets/StyleClass.h"

namespace {

// The position of the parenthesis that closes the one just before start,
// nested pairs counted; -1 when none does.
int ClosingParenthesis(const CSafeBuf& text, int start)
{
    int depth = 1;
    for (int i = start; i < text.Length(); ++i) {
        const unsigned short c = text.GetAt(i);
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return i;
    }
    return -1;
}

bool IsQuote(unsigned short c) { return c == '\'' || c == '"'; }

// The value with its first url(...) resolved against base and quoted; the
// value as it is when it has none, none that closes, or an empty one.
void WriteValue(CSafeBuf& out, const CSafeBuf& value, const CSafeBuf& base)
{
    const int open = base.IsEmpty() ? -1 : value.Find("url(");
    const int start = open + 4;
    const int close = open < 0 ? -1 : ClosingParenthesis(value, start);
    if (close < 0) {
        out += value;
        return;
    }
    CSafeBuf address = value.Mid(start, close - start);
    address.Trim();
    if (address.Length() > 0 && IsQuote(address.GetAt(0)))
        address.Delete(0, 1);
    if (address.Length() > 0 && IsQuote(address.GetAt(address.Length() - 1)))
        address.Delete(address.Length() - 1, 1);
    CSafeBuf resolved;
    if (address.IsEmpty() || !BuildRelativeURL(base, address, resolved)) {
        out += value;
        return;
    }
    // Inside single quotes a quote or a backslash of the address is escaped,
    // so the string ends where the address does.
    CSafeBuf quoted;
    for (int i = 0; i < resolved.Length(); ++i) {
        const unsigned short c = resolved.GetAt(i);
        if (c == '\'' || c == '\\')
            quoted += static_cast<unsigned short>('\\');
        quoted += c;
    }
    out += value.Left(start);
    out += "'";
    out += quoted;
    out += "'";
    out += value.Mid(close, value.Length() - close);
}

bool NeedsCharacterDataSection(const CSafeBuf& text)
{
    return text.Find(static_cast<unsigned short>('<')) >= 0
        || text.Find(static_cast<unsigned short>('>')) >= 0
        || text.Find(static_cast<unsigned short>('&')) >= 0;
}

} // namespace

void CXDoc::StyleXML2HTML(CSafeBuf& out)
{
    out.Empty();
    try {
        const CSafeBuf base(m_baseURL);
        for (const STYLE_CLASS* rule = m_workingRules; rule; rule = rule->next) {
            out += "\t";
            out += rule->selectorText;
            out += " {\r\n";
            for (const STYLE_DECLARATION& declaration : rule->declarations) {
                out += "\t\t";
                out += declaration.name;
                out += ":";
                WriteValue(out, declaration.value, base);
                out += ";\r\n";
            }
            out += "\t}\r\n";
        }
        if (NeedsCharacterDataSection(out)) {
            // A "]]>" inside would end the section early: it is split over
            // two sections.
            out.Replace("]]>", "]]]]><![CDATA[>");
            out.Insert(0, "<![CDATA[X {Y:Z}\n\r");
            out += "]]>";
        }
    } catch (...) {
        WriteExcpInfo("CXDoc::StyleXML2HTML");
        out.Empty();
    }
}
