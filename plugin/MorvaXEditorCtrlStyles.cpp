// The style drop-list: loading and numbering its items, their marks and the
// current row shown in the style box, the toolbar's style buttons checked
// from the caret, and the script methods over the list.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/U16.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "plugin/StyleDocument.h"

// ---- loading ----

int CMorvaXEditorCtrl::LoadStyleBar()
{
    m_nextStyleCommand = static_cast<int>(kFirstStyleCommandId);
    xmlDoc* doc = LoadDefinitionDocument(Styles, "<styles>", "styles.xml", false);
    DeleteStyleBar();
    CSafeBuf none;
    m_langString.GetItem(none, "text/none", "None");
    m_styleItems = NewStyleBarItem(none, nullptr, nullptr, nullptr, nullptr);
    if (m_pXHTML)
        m_pXHTML->m_styleItems = m_styleItems;
    if (m_styleItems) {
        STYLE_BAR_ITEM* last = m_styleItems;
        ReadStyleItems(doc, Lang, last);
    }
    XMLReleaseDom(doc);
    NumberStyleItems(m_styleItems, m_nextStyleCommand);
    return 1;
}

void CMorvaXEditorCtrl::UpdateStyleBars()
{
    // An empty Styles reads the bundle's document and stays empty.
    LoadStyleBar();
    if (m_pXHTML)
        m_pXHTML->m_styleItems = m_styleItems;
    // The box must not go on showing an item of the old list.
    static const unsigned short kEmpty[1] = {0};
    SetStyleButtonText(kEmpty);
}

void CMorvaXEditorCtrl::DeleteStyleBar()
{
    if (m_pXHTML && m_pXHTML->m_styleItems == m_styleItems)
        m_pXHTML->m_styleItems = nullptr;
    FreeStyleBarItems(m_styleItems);
    m_styleItems = nullptr;
}

// ---- marks and the current row ----

void CMorvaXEditorCtrl::StyleSetCurSel(int index)
{
    const STYLE_BAR_ITEM* chosen = nullptr;
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (!chosen && item->index == index) {
            item->flags |= kStyleItemSelected;
            chosen = item;
        } else {
            item->flags &= ~kStyleItemSelected;
        }
    }
    CSafeBuf text;
    if (chosen) {
        if (chosen->group[0]) {
            text = chosen->group;
            text += ": ";
        }
        text += chosen->label;
    }
    SetStyleButtonText(text);
}

int CMorvaXEditorCtrl::StyleGetCurSel()
{
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next)
        if (item->flags & kStyleItemSelected)
            return item->index;
    return -1;
}

int CMorvaXEditorCtrl::StyleGetCount()
{
    const STYLE_BAR_ITEM* last = m_styleItems;
    while (last && last->next)
        last = last->next;
    return last ? last->index + 1 : 0;
}

void CMorvaXEditorCtrl::StyleSwitchToFirstItem()
{
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (item->flags & kStyleItemMarked) {
            StyleSetCurSel(item->index);
            return;
        }
    }
}

void CMorvaXEditorCtrl::StyleSetItemMark(int index, int clear)
{
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (item->index != index)
            continue;
        if (clear == 0)
            item->flags |= kStyleItemMarked;
        else
            item->flags &= ~kStyleItemMarked;
    }
}

void CMorvaXEditorCtrl::StyleRemoveMarks()
{
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next)
        item->flags &= ~kStyleItemMarked;
}

bool CMorvaXEditorCtrl::StyleIsTagChecked(int index)
{
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next)
        if (item->index == index)
            return (item->flags & kStyleItemMarked) != 0;
    return false;
}

// ---- the toolbar's style buttons ----

void CMorvaXEditorCtrl::StyleDisplayStyleButton()
{
    StyleUnckeckStyleButtons();
    if (!m_pXHTML)
        return;
    CXDoc& doc = m_pXHTML->m_doc;
    CElement* start = nullptr;
    if (doc.m_selectionPresent) {
        start = doc.m_root ? doc.m_root->GetFirstSelection(2) : nullptr;
    } else if (doc.m_caretElement && doc.IsElementExist(doc.m_caretElement)) {
        start = doc.m_caretElement->m_parent;
    }
    for (CElement* e = start; e; e = e->m_parent)
        FindBestButtonStyle(e);
}

// ---- script methods ----

void CMorvaXEditorCtrl::ApplyStyleID(const unsigned short* id)
{
    if (!IsXHTMLValid() || m_viewMode != 0 || !id || !*id)
        return;
    for (STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (item->id[0] && CSafeBuf(item->id).CompareNoCase(id) == 0) {
            m_pXHTML->ProcessTagBox(item->index, item);
            return;
        }
    }
}

void CMorvaXEditorCtrl::ApplyStyleXML(const unsigned short* xml)
{
    if (!IsXHTMLValid() || m_viewMode != 0)
        return;
    CSafeBuf element, cls;
    ATTRIBUTE_ITEM* attributes = nullptr;
    if (!ReadStyleXML(xml, element, attributes, cls))
        return;
    STYLE_BAR_ITEM* item = NewStyleBarItem(nullptr, nullptr, element, nullptr, nullptr);
    if (!item) {
        FreeAttributeItems(attributes);
        return;
    }
    item->attributes = attributes;
    bool marked = false, done = false, refreshBox = false;
    int row = 0;
    const bool applied = m_pXHTML->IsCurrentUnderTag(element, cls);
    m_pXHTML->m_doc.TakePendingChange();
    if (m_pXHTML->ProcessStyle(item, applied, marked, done, refreshBox, row, 0))
        m_pXHTML->DisplayTagBox();
    FreeStyleBarItems(item);
}

unsigned short* CMorvaXEditorCtrl::CurrentStyles()
{
    if (!m_pXHTML || m_viewMode != 0)
        return nullptr;
    CSafeBuf ids;
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        if (!item->id[0] || !(item->flags & kStyleItemMarked))
            continue;
        if (!ids.IsEmpty())
            ids += ",";
        ids += item->id;
    }
    return ids.IsEmpty() ? nullptr : U16dup(static_cast<const unsigned short*>(ids));
}
