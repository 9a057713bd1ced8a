// The engine's calls into the document's view, caret and loading code, one
// small helper a call, gathered here so that each has one place to change.
// Where the document does not yet carry an operation out, the helper does
// the least that keeps the engine's own state right: the caret flags are the
// document's fields, which the helpers set; drawing, help tags, layout and
// loading do nothing, loading answering false and writing giving no text.

#include "editor/XHTML.h"

void CXHTML::DocDisplayCursor(qm::cg::Context*, CRect*) { }

void CXHTML::DocFlipCaretPhase() { m_doc.m_caretPhase = m_doc.m_caretPhase ? 0 : 1; }

bool CXHTML::DocIsCaretOn() const { return m_doc.m_caretEnabled != 0; }

void CXHTML::DocCaretOnErased()
{
    m_doc.m_caretEnabled = 1;
    m_doc.m_caretPhase = 0;
}

void CXHTML::DocDisplayTooltip(CPoint, const unsigned short*, bool) { }

void CXHTML::DocHideTooltip(bool) { }

void CXHTML::DocGiveRootWindowRect() { }

void CXHTML::DocDrawDoc() { }

bool CXHTML::DocLoadDocument(const unsigned short*) { return false; }

void CXHTML::DocGetSourceCode(CSafeBuf& out, int, bool) { out.Empty(); }

bool CXHTML::DocUpdateKeyCursor() { return true; }

void CXHTML::DocAdjCursorPos() { }
