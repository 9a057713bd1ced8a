// The engine's view of the style drop-list: rows are the items' indexes,
// and every state (current row, marks) is the control's, so these forward
// to it. The items themselves are the chain the control built
// (m_styleItems); the engine reads them by index.

#include "editor/XHTML.h"

#include "editor/StyleBarItem.h"
#include "element/services/ControlServices.h"

void CXHTML::StyleRemoveMarks()
{
    if (m_control)
        m_control->StyleRemoveMarks();
}

void CXHTML::StyleSetCurSel(int index)
{
    if (m_control)
        m_control->StyleSetCurSel(index);
}

int CXHTML::StyleGetCurSel() { return m_control ? m_control->StyleGetCurSel() : -1; }

int CXHTML::StyleGetCount() { return m_control ? m_control->StyleGetCount() : 0; }

void CXHTML::StyleSwitchToFirstItem()
{
    if (m_control)
        m_control->StyleSwitchToFirstItem();
}

void CXHTML::StyleSetItemMark(int index, int clear)
{
    if (m_control)
        m_control->StyleSetItemMark(index, clear);
}

bool CXHTML::StyleIsTagChecked(int index) { return m_control && m_control->StyleIsTagChecked(index); }

STYLE_BAR_ITEM* CXHTML::GetTagBoxItem(int index)
{
    if (index == -1)
        index = StyleGetCurSel();
    if (index < 0)
        return nullptr;
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (item->index == index)
            return item;
    }
    return nullptr;
}

void CXHTML::SetTagSelItem(int index) { StyleSetCurSel(index == -1 ? 0 : index); }

int CXHTML::ToolIsButtonChecked(int kind, unsigned int id, bool byKind)
{
    return m_control ? m_control->ToolIsButtonChecked(kind, id, byKind) : 0;
}

int CXHTML::ToolIsButtonEnabled(int kind, unsigned int id, bool byKind)
{
    return m_control ? m_control->ToolIsButtonEnabled(kind, id, byKind) : 0;
}

int CXHTML::ToolCheckButton(int kind, unsigned int id, bool check, bool byKind)
{
    return m_control ? m_control->ToolCheckButton(kind, id, check, byKind) : 0;
}

int CXHTML::ToolEnableButton(int kind, unsigned int id, bool enable, bool byKind)
{
    return m_control ? m_control->ToolEnableButton(kind, id, enable, byKind) : 0;
}
