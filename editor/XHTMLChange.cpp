// Change notification, the undo and redo commands and the edit buttons.
//
// After every edit the engine calls NotifyChange: the control hears of it,
// the page is told when the markup differs from what it was last told of,
// and the document may take an undo snapshot. The edit buttons (hyperlink,
// attachment, cut, copy, paste, undo, redo) follow the selection and the
// document's undo lists.

#include "editor/XHTML.h"

#include "element/services/ControlServices.h"

namespace {

// The source view's own undo and redo, relayed to it in that view.
constexpr unsigned kSourceUndo = 32851;
constexpr unsigned kSourceRedo = 32889;
// Toolbar button kinds that follow the selection beside cut and copy.
constexpr int kHyperlinkButton = 18;
constexpr int kAttachmentButton = 19;
// The output mode the page's change detection compares.
constexpr int kChangeMode = 6;

} // namespace

void CXHTML::NotifyChange(bool force)
{
    if (m_changeBatches > 0) {
        m_changeHeld = true;
        m_changeHeldForce = m_changeHeldForce || force;
        m_doc.m_caretStale = 1;
        return;
    }
    if (m_control)
        m_control->ValueIsChanged();
    if (m_valueReplaced) {
        CSafeBuf markup;
        m_doc.GetSourceCode(markup, kChangeMode, false);
        if (markup != m_lastReportedMarkup) {
            // Stored before the page hears of it: the page's handler may
            // read the value or replace it again.
            m_lastReportedMarkup = markup;
            m_valueReplaced = 0;
            if (m_control)
                m_control->GoFireContentChanged();
        }
    }
    m_doc.SaveUndo(force);
    m_doc.m_caretStale = 1;
}

CXHTML::ChangeBatch::ChangeBatch(CXHTML& engine) : m_engine(engine) { ++m_engine.m_changeBatches; }

CXHTML::ChangeBatch::~ChangeBatch()
{
    if (--m_engine.m_changeBatches > 0 || !m_engine.m_changeHeld)
        return;
    const bool force = m_engine.m_changeHeldForce;
    m_engine.m_changeHeld = false;
    m_engine.m_changeHeldForce = false;
    try {
        if (force)
            m_engine.NotifyChange(true);
        else
            m_engine.NotifyEdit();
    } catch (...) {
        // The edits stand; only their report is lost.
    }
}

void CXHTML::OnUndo() { UndoOrRedo(true); }

void CXHTML::OnRedo() { UndoOrRedo(false); }

void CXHTML::UndoOrRedo(bool undo)
{
    try {
        if (m_control && m_control->GetViewMode() != 0) {
            m_control->PostMessage(1, undo ? kSourceUndo : kSourceRedo, 0);
            return;
        }
        if (undo ? m_doc.DoUndo() : m_doc.DoRedo())
            RefreshBar();
        else
            SetClipButton(false, undo ? CXDoc::kClipUndo : CXDoc::kClipRedo);
        NotifyChange(false);
    } catch (...) {
        // The command is abandoned; the document keeps what it reached.
    }
}

void CXHTML::SetClipButton(bool enable, int code) { m_doc.SetClipButton(enable, code); }

void CXHTML::ActionBeforeInsertText(unsigned int key)
{
    m_doc.ActionBeforeInsertText(static_cast<unsigned short>(key));
}

void CXHTML::SetCopyState()
{
    const bool selected = m_doc.m_selectionPresent != 0;
    if ((m_copyState != 0) == selected
        && (!selected || m_doc.ToolIsButtonEnabled(CXDoc::kFirstClipKind + CXDoc::kClipCopy, 0, true)))
        return;
    m_doc.ToolEnableButton(kHyperlinkButton, 0, selected, true);
    m_doc.ToolEnableButton(kAttachmentButton, 0, selected, true);
    m_copyState = selected ? 1 : 0;
    SetClipButton(selected, CXDoc::kClipCopy);
    SetClipButton(selected, CXDoc::kClipCut);
}

void CXHTML::DisplayClipButton()
{
    SetClipButton(false, 0);
    if (m_doc.m_undoList.GetCount() > 0)
        SetClipButton(true, CXDoc::kClipUndo);
    if (m_doc.m_redoList.GetCount() > 0)
        SetClipButton(true, CXDoc::kClipRedo);
    SetClipButton(true, CXDoc::kClipPaste);
    // The copy state no longer says what the buttons show.
    m_copyState = m_doc.m_selectionPresent ? 0 : 1;
    SetCopyState();
}

void CXHTML::RefreshToolBar()
{
    DisplayTagBox();
    DisplayStyleButton(CaretElementInTree());
    DisplayClipButton();
    m_doc.SaveUndo(false);
}

void CXHTML::RefreshBar()
{
    DisplayTagBox();
    DisplayStyleButton(CaretElementInTree());
    SetCopyState();
}

void CXHTML::OnAbout()
{
    if (m_control)
        m_control->AboutBox();
    if (!m_doc.m_selectionPresent)
        ForceHaveFocus();
}

CElement* CXHTML::CaretElementInTree() const
{
    return m_doc.IsElementInTree(m_doc.m_caretElement) ? m_doc.m_caretElement : nullptr;
}
