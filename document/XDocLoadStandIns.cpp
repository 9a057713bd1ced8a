// The layout and the writing that loading needs, in their simplest form,
// until the document view (DrawDoc) and the document writer (GetSourceCode)
// are built: the view's DrawDoc also merges like neighbours and sets the
// scroll bars; the writer's GetSourceCode writes every output mode.

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/markup/SourceCode.h"

void CXDoc::DrawDoc(int, void*)
{
    if (m_root)
        m_root->Draw(nullptr);
}

void CXDoc::GetSourceCode(CSafeBuf& out, int mode, bool)
{
    out.Empty();
    if (!m_root)
        return;
    CSafeBuf a, b, c;
    SourceCodeVar var;
    const int flags = (mode & 8) ? mode : mode | kSourceMerge;
    m_root->GetSourceCode(out, m_fullDocument, flags, a, b, c, &var);
    if (!m_fullDocument) {
        const int open = out.Find('>');
        const int close = out.ReverseFind('<');
        if (open >= 0 && close > open) {
            out.CutAt(close);
            out.Delete(0, open + 1);
        }
        return;
    }
    out.Insert(0, m_headMarkup, m_headMarkup.Length());
    out.Insert(0, m_htmlStartTag, m_htmlStartTag.Length());
    out += "</html>";
}
