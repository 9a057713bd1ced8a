// The engine's small operations: what it tells of the view and the caret,
// and the forwarders to the control and the document.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"
#include "property_dialogs/XPrpEditorDlg.h"

void CXHTML::SetPrpDlg(CXPrpEditorDlg* page)
{
    if (page)
        page->SetRightToLeft(PagesRightToLeft());
}

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

namespace {

DOC_SCROLL_BAR& Bar(CXDoc& doc, int bar) { return bar == 1 ? doc.m_horizontalBar : doc.m_verticalBar; }

} // namespace

int CXHTML::SetScrollRange(int bar, int minimum, int maximum)
{
    DOC_SCROLL_BAR& b = Bar(m_doc, bar);
    b.SetMinimum(minimum);
    b.SetMaximum(maximum);
    return 1;
}

int CXHTML::SetScrollPos(int bar, int position)
{
    DOC_SCROLL_BAR& b = Bar(m_doc, bar);
    const int previous = b.Value();
    b.SetValue(position);
    return previous;
}

int CXHTML::ShowScrollBar(int bar, bool show)
{
    if (m_control)
        m_control->ShowScrollBar(bar, show);
    return 1;
}
