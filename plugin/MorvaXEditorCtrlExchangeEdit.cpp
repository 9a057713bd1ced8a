// The page's edits: markup or text inserted at the caret, attributes set
// or removed on an element named by an indexed path ("/body[1]/p[2]"), and
// the source view's cut, copy and paste.

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "source_view/ColoringEditor.h"

namespace {

constexpr int kCleanInsert = 0;
constexpr int kLayOut = 1;

} // namespace

bool CMorvaXEditorCtrl::BeginPageInsert(const unsigned short* text)
{
    if (!IsXHTMLValid() || !text)
        return false;
    if (m_viewMode == 1) {
        if (m_coloringEditor)
            m_coloringEditor->InsertText(text, true, true);
        return false;
    }
    if (m_viewMode != 0)
        return false;
    BackupPort();
    // The typing before the insertion is an undo step of its own.
    m_pXHTML->m_doc.TakePendingChange();
    m_pXHTML->RemoveSelection();
    return true;
}

void CMorvaXEditorCtrl::EndPageInsert()
{
    CXDoc& doc = m_pXHTML->m_doc;
    doc.Redraw();
    doc.SetLastKeyPos(doc.m_caretPoint);
    m_pXHTML->NotifyChange(true);
    RestorePort();
}

void CMorvaXEditorCtrl::InsertXML(const unsigned short* text)
{
    if (!BeginPageInsert(text))
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    // Markup that does not clean goes on as given (the cleaner leaves its
    // own working text behind), for the insertion to refuse.
    CSafeBuf copy(text);
    if (!m_pXHTML->CleanXHTML(copy, kCleanInsert))
        copy = text;
    m_pXHTML->InsertHTMLCode(copy, true);
    if (doc.m_root)
        doc.m_root->CheckDocument();
    doc.DrawDoc(kLayOut);
    EndPageInsert();
}

void CMorvaXEditorCtrl::InsertText(const unsigned short* text)
{
    if (!BeginPageInsert(text))
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    m_pXHTML->InsertText(text, true);
    doc.DrawDoc(kLayOut);
    doc.UpdateKeyCursor();
    doc.AdjCursorPos();
    EndPageInsert();
}

void CMorvaXEditorCtrl::OnCopy()
{
    if (m_coloringEditor)
        m_coloringEditor->OnCopy();
}

void CMorvaXEditorCtrl::OnCut()
{
    if (m_coloringEditor)
        m_coloringEditor->OnCut();
}

void CMorvaXEditorCtrl::OnPaste()
{
    if (m_coloringEditor)
        m_coloringEditor->OnPaste();
}

void CMorvaXEditorCtrl::SetAttribute(
    const unsigned short* path, const unsigned short* name, const unsigned short* value)
{
    if (!path || !name || !value || !IsXHTMLValid())
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    CElement* element = doc.FindElementByQPath(path);
    if (!element)
        return;
    BackupPort();
    m_pXHTML->m_doc.TakePendingChange();
    element->SetAttrString(name, value);
    element->StyleChanged(1);
    if (doc.m_root)
        doc.m_root->CheckAndCure();
    doc.DrawDoc(kLayOut);
    doc.Redraw();
    // An undo step of its own when the value changed, whether or not the
    // caret moved since the last one.
    m_pXHTML->NotifyEdit();
    m_pXHTML->DisplayTagBox();
    RestorePort();
}

void CMorvaXEditorCtrl::RemoveAttribute(const unsigned short* path, const unsigned short* name)
{
    static const unsigned short kEmpty[] = {0};
    SetAttribute(path, name, kEmpty);
}
