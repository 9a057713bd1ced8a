// Writing a custom element. Loaded sub-document content is the service's,
// not the document's: a locked element is written as an empty tag with its
// attributes, and the service fills it again when the document is read.

#include "elements/CustomElement.h"

#include "base/codec/Escaping.h"
#include "element/markup/SourceCode.h"
#include "element/services/XHTMLServices.h"

namespace {

// Flag bit of GetSourceCode: the element is written with its content even
// when locked.
constexpr int kSourceWithLockedContent = 0x4000;
// Flags of a selected locked element written whole into the selection's
// markup; the second form when the selection is asked for in mode 2.
constexpr int kSelectionWhole = 0x2;
constexpr int kSelectionWholeMode2 = 0x1002;

void AppendEscaped(CSafeBuf& out, const CSafeBuf& text)
{
    CSafeBuf escaped(text);
    EscapeXMLChar(escaped, false);
    out += escaped;
}

} // namespace

bool CCustomElement::GetSourceCode(
    CSafeBuf& out, int level, int flags, CSafeBuf& a, CSafeBuf& b, CSafeBuf& c, SourceCodeVar* var)
{
    if (!m_locked || (flags & (kSourceDiagnostic | kSourceWithLockedContent)))
        return CElement::GetSourceCode(out, level, flags, a, b, c, var);
    out.Empty();
    if (flags & kSourceIndent) {
        for (int i = 0; i < level; ++i)
            out += static_cast<unsigned short>('\t');
    }
    out += "<";
    out += m_tagName;
    CSafeBuf name, value;
    for (void* pos = m_attributes.GetStartPosition(); pos;) {
        m_attributes.GetNextAssoc(pos, name, value);
        out += " ";
        AppendEscaped(out, name);
        out += "=\"";
        AppendEscaped(out, value);
        out += "\"";
    }
    out += " />";
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

bool CCustomElement::GetSelectionCode(CSafeBuf& out, int mode, bool all)
{
    if (!m_locked)
        return CElement::GetSelectionCode(out, mode, all);
    if (m_selected) {
        CSafeBuf a, b, c;
        return GetSourceCode(out, 0, mode == 2 ? kSelectionWholeMode2 : kSelectionWhole, a, b, c, nullptr);
    }
    out.Empty();
    bool any = false;
    CSafeBuf piece;
    for (CElement* child = m_firstChild; child; child = child->m_nextSibling) {
        piece.Empty();
        if (child->GetSelectionCode(piece, mode, all)) {
            out += piece;
            any = true;
        }
    }
    return any;
}
