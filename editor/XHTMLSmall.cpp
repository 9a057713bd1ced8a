// The engine's small operations: what it tells of the view and the caret,
// and the forwarders to the control and the document.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"

void CXHTML::SetPrpDlg(CXPrpEditorDlg*) { }

bool CXHTML::PagesRightToLeft() const { return m_control && m_control->GetDir().CompareNoCase("rtl") == 0; }

bool CXHTML::IsWindowVisible() const { return m_control && m_control->GetViewMode() == 0; }

bool CXHTML::IsCursorInImage() const
{
    CElement* caret = m_doc.m_caretElement;
    return caret && m_doc.IsElementExist(caret) && caret->IsElementUnderTag(kKindImg);
}

void CXHTML::DoFireStyleChange()
{
    if (m_control)
        m_control->DoFireStyleChange();
}

void CXHTML::DisplayTooltip(CPoint point, const unsigned short* text, bool left)
{
    DocDisplayTooltip(point, text, left);
}

void CXHTML::HideTooltip(bool flag) { DocHideTooltip(flag); }

int CXHTML::SetScrollRange(int, int, int) { return 0; }

int CXHTML::SetScrollPos(int, int) { return 0; }

int CXHTML::ShowScrollBar(int, bool) { return 0; }
