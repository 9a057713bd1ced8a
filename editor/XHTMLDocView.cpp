// The engine's calls into the document's view, caret and loading code, one
// small helper a call, gathered here so that each has one place to change.

#include "editor/XHTML.h"

#include <cstdlib>

#include "style/layout/LayoutPass.h"

void CXHTML::DocDisplayCursor(qm::qd::Port* port)
{
    m_doc.m_port = port;
    m_doc.DisplayCursorInView();
}

void CXHTML::DocFlipCaretPhase() { m_doc.m_caretPhase = m_doc.m_caretPhase ? 0 : 1; }

bool CXHTML::DocIsCaretOn() const { return m_doc.m_caretEnabled != 0; }

void CXHTML::DocCaretOnErased()
{
    m_doc.m_caretEnabled = 1;
    m_doc.m_caretPhase = 0;
}

void CXHTML::DocDisplayTooltip(CPoint point, const unsigned short* text, bool left)
{
    m_doc.DisplayTooltip(point, text, left);
}

void CXHTML::DocHideTooltip(bool hide) { m_doc.HideTooltip(hide); }

void CXHTML::DocGiveRootWindowRect()
{
    if (m_doc.m_root)
        SetLayoutWidth(m_doc.m_root, int(std::labs(m_doc.m_windowRect.right - m_doc.m_windowRect.left)));
}

void CXHTML::DocDrawDoc() { m_doc.DrawDoc(1); }

bool CXHTML::DocLoadDocument(const unsigned short* markup) { return m_doc.LoadDocument(markup); }

void CXHTML::DocGetSourceCode(CSafeBuf& out, int mode, bool tidy) { m_doc.GetSourceCode(out, mode, tidy); }

bool CXHTML::DocUpdateKeyCursor() { return m_doc.UpdateKeyCursor(); }

void CXHTML::DocAdjCursorPos() { m_doc.AdjCursorPos(); }
