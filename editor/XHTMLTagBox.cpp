// The tag box: the style drop-list's marks and current row follow the
// caret or the selection, and the page hears when the caret moves into
// another element.

#include "editor/XHTML.h"

#include "base/text/U16.h"
#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"

namespace {

// The element's class attribute (empty when it has none).
CSafeBuf ClassOf(const CElement* element)
{
    CSafeBuf cls;
    element->GetAttrString("class", cls);
    return cls;
}

// Every attribute of item is on element with an equal value ("guid()": any
// non-empty value).
bool ItemFits(const STYLE_BAR_ITEM& item, const CElement& element, int& count)
{
    count = 0;
    for (const ATTRIBUTE_ITEM* a = item.attributes; a; a = a->next, ++count) {
        CSafeBuf value;
        if (!element.GetAttrString(a->name, value))
            return false;
        if (U16cmp(a->value, "guid()") == 0 ? value.IsEmpty() : !(value == a->value))
            return false;
    }
    return true;
}

} // namespace

int CXHTML::FindAndCheckTagBox(CElement* element, const unsigned short*, bool mark)
{
    const unsigned short* tag = element ? element->GetTagName() : nullptr;
    if (!tag || !*tag)
        return -1;
    int best = -1;
    int bestCount = -1;
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        int count = 0;
        if (U16cmp(item->element, tag) != 0 || !ItemFits(*item, *element, count))
            continue;
        if (count >= bestCount) {
            best = item->index;
            bestCount = count;
        }
    }
    if (best >= 0 && mark && m_control)
        m_control->StyleSetItemMark(best, 0);
    return best;
}

void CXHTML::DisplayTagBox()
{
    if (!m_control)
        return;
    m_control->StyleDisplayStyleButton();
    if (m_styleListState) {
        m_styleListState = 0;
        m_control->StyleRemoveMarks();
        m_control->StyleSetCurSel(-1);
    }
    const bool followSelection = (Options() & 4096) != 0;
    CElement* root = m_doc.m_root;
    CElement* caret = m_doc.m_caretElement;
    const bool caretLive = caret && m_doc.IsElementExist(caret);
    bool chosen = false;
    if (!m_doc.m_selectionPresent) {
        if (m_copyState && followSelection)
            m_control->ToolEnableButton(30, 0, true, true);
        m_doc.DisplayTabStyle();
        for (CElement* a = caretLive ? caret->m_parent : nullptr; a; a = a->m_parent) {
            const int row = FindAndCheckTagBox(a, ClassOf(a), true);
            if (row < 0)
                continue;
            if (!chosen)
                m_control->StyleSetCurSel(row);
            chosen = true;
            m_styleListState = 1;
        }
    } else {
        if (!m_copyState && followSelection)
            m_control->ToolEnableButton(30, 0, false, true);
        for (CElement* a = root ? root->GetFirstSelection(2) : nullptr; a; a = a->m_parent) {
            const CSafeBuf cls = ClassOf(a);
            const int row = FindAndCheckTagBox(a, cls, false);
            if (row < 0 || !root->IsSelectionUnderTag(a->GetTagName(), cls, 2))
                continue;
            m_control->StyleSetItemMark(row, 0);
            if (!chosen)
                m_control->StyleSetCurSel(row);
            chosen = true;
            m_styleListState = 1;
        }
    }
    // Asked for the record only: the tag box changes nothing. It is asked
    // before the page hears of the move, since the page's function may end
    // the instance.
    m_doc.CanDocumentBeChanged(6, nullptr, 0, 0, nullptr);
    if (caretLive && caret->GetID() != m_tagBoxElementId) {
        m_tagBoxElementId = caret->GetID();
        DoFireStyleChange();
    }
}
