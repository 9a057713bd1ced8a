// What the page reads of the selection and of the caret's place: the
// selection as markup and as plain text, and the tag list in its four
// forms. Each is empty outside the WYSIWYG view or before the control is
// ready.

#include "plugin/MorvaXEditorCtrl.h"

#include "document/SrcElement.h"
#include "editor/XHTML.h"

namespace {

// Forms of the engine's tag list.
constexpr int kTagNames = 0;
constexpr int kTagXML = 1;
constexpr int kTagPath = 3;
constexpr int kTagIndexedPath = 4;
// The markup tree's plain-text output.
constexpr int kPlainText = 0x80;

} // namespace

void CMorvaXEditorCtrl::GetSelectedXML(CSafeBuf& out)
{
    out.Empty();
    if (m_viewMode == 0 && IsXHTMLValid())
        m_pXHTML->m_doc.GetSelectionCode(out, 0);
}

void CMorvaXEditorCtrl::GetSelectedText(CSafeBuf& out)
{
    out.Empty();
    if (m_viewMode != 0 || !IsXHTMLValid())
        return;
    CSafeBuf markup;
    m_pXHTML->m_doc.GetSelectionCode(markup, 0);
    if (markup.IsEmpty())
        return;
    markup.Insert(0, "<body>");
    markup += "</body>";
    CSrcElement body("body", m_pXHTML);
    if (body.LoadDoc(markup))
        body.GetSourceCode(out, -1, kPlainText, false);
}

namespace {

void TagList(CMorvaXEditorCtrl& control, CSafeBuf& out, int format)
{
    out.Empty();
    if (control.m_viewMode == 0 && control.IsXHTMLValid())
        control.m_pXHTML->GetTagList(out, format);
}

} // namespace

void CMorvaXEditorCtrl::GetTagList(CSafeBuf& out) { TagList(*this, out, kTagNames); }
void CMorvaXEditorCtrl::GetTagListXML(CSafeBuf& out) { TagList(*this, out, kTagXML); }
void CMorvaXEditorCtrl::GetPath(CSafeBuf& out) { TagList(*this, out, kTagPath); }
void CMorvaXEditorCtrl::GetQPath(CSafeBuf& out) { TagList(*this, out, kTagIndexedPath); }
