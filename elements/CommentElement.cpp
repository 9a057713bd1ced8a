// Writing a comment.

#include "elements/CommentElement.h"

#include "element/markup/SourceCode.h"
#include "element/services/XHTMLServices.h"

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
    AddWholeElementMarkers(this, out, flags, var);
    if (flags & kSourceIndent)
        out += "\r\n";
    return true;
}

bool CCommentElement::CalcWinReg(void* dc, bool, bool, CalcInfo*)
{
    LoadIconResource(m_icon, "comment16.bmp");
    PlaceIconBox(this, dc, m_icon.width, m_icon.height);
    return true;
}

bool CCommentElement::GetMinSize(CSize& size, bool)
{
    LoadIconResource(m_icon, "comment16.bmp");
    RaiseToIcon(size, m_icon);
    return true;
}

bool CCommentElement::SelfPaint(void* dc, CPoint origin)
{
    PaintIcon(this, m_icon, dc, origin);
    return true;
}
