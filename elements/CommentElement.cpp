// Writing a comment.

#include "elements/CommentElement.h"

#include "editor/XHTML.h"
#include "element/markup/SourceCode.h"

bool CCommentElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var)
{
    out.Empty();
    if (flags & kSourceIndent) {
        out += "\r\n";
        for (int i = 0; i < level; ++i)
            out += static_cast<unsigned short>('\t');
    }
    // XML forbids "--" inside a comment and a "-" at its end; the blank after
    // the text covers the end, and each "--" is split.
    CSafeBuf text(m_text);
    while (text.Find("--") >= 0)
        text.Replace("--", "- -");
    out += "<!-- ";
    out += text;
    out += " -->";
    if ((flags & kSourceMarkers) && var) {
        if (!var->selection) {
            if (m_owner && m_owner->m_doc.m_caretElement == this)
                out.Insert(0, kCaretMarker);
        } else if (m_selected) {
            if (var->state == 0) {
                out.Insert(0, kSelectionBeginMarker);
                var->state = 1;
            }
            if (var->state != 2)
                out += kSelectionEndMarker;
        }
    }
    if (flags & kSourceIndent)
        out += "\r\n";
    return true;
}
