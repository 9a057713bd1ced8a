// The context menu's list-item commands: insert an item above or below the
// one at hand, move it up or down among its siblings, select the item or its
// list, and delete either.

#include "editor/XHTML.h"

#include "editor/ListTree.h"
#include "element/EmptyCell.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TypingTree.h"

namespace {

// The list an item stands in; null for a stray item.
CElement* ListOf(CElement* item) { return item && IsListElement(item->m_parent) ? item->m_parent : nullptr; }

} // namespace

// The usual ending of the item commands: laid out and drawn, the caret's
// column kept, the change reported with an undo step.
void CXHTML::EndListEdit()
{
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
    NotifyChange(true);
}

CElement* CXHTML::ContextListEntry(long kind)
{
    CElement* entry = AtOrAbove(ContextElement(), kind);
    return entry && entry->m_parent && MayChange(7, entry, 8) ? entry : nullptr;
}

void CXHTML::InsertListItem(bool below)
{
    CElement* item = ContextListEntry(kKindLi);
    if (!item)
        return;
    CElement* added = NewEntry("li", item->m_parent);
    if (!added || !MoveBeside(added, item, below)) {
        delete added;
        return;
    }
    added->StyleChanged(1);
    EndListEdit();
}

void CXHTML::OnLInsertIAbove() { InsertListItem(false); }
void CXHTML::OnLInsertIBelow() { InsertListItem(true); }

void CXHTML::MoveListItemBy(bool down)
{
    CElement* item = ContextListEntry(kKindLi);
    CElement* sibling = item ? (down ? item->m_nextSibling : item->m_prevSibling) : nullptr;
    if (!sibling)
        return;
    MoveBeside(item, sibling, down);
    item->m_parent->StyleChanged(0);
    EndListEdit();
}

void CXHTML::OnLMoveIUp() { MoveListItemBy(false); }
void CXHTML::OnLMoveIDown() { MoveListItemBy(true); }

void CXHTML::SelectWhole(CElement* e)
{
    if (e)
        SelectDefElements({e});
}

void CXHTML::OnLSelectList()
{
    CElement* item = AtOrAbove(ContextElement(), kKindLi);
    SelectWhole(ListOf(item));
}

void CXHTML::OnLSelectItem() { SelectWhole(AtOrAbove(ContextElement(), kKindLi)); }

void CXHTML::RemoveWholeList(CElement* list)
{
    CElement* parent = list->m_parent;
    if (CaretWithin(list))
        m_doc.MoveFocusToNextElement(list);
    if (CaretWithin(list))
        m_doc.m_caretElement = nullptr;
    m_doc.RemoveElement(list, true);
    if (!FillEmptiedCell(parent)) {
        int state = 0;
        parent->ValidTextInput(state);
    }
    parent->StyleChanged(0);
    m_doc.ValidateKeyCursor();
}

void CXHTML::OnLDeleteList()
{
    CElement* list = ListOf(ContextListEntry(kKindLi));
    if (!list || !list->m_parent)
        return;
    RemoveWholeList(list);
    m_doc.CheckKeyFocus();
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnLDeleteItem()
{
    CElement* item = ContextListEntry(kKindLi);
    if (!item)
        return;
    CElement* list = item->m_parent;
    if (CaretWithin(item))
        m_doc.MoveFocusToNextElement(item);
    if (CaretWithin(item))
        m_doc.m_caretElement = nullptr;
    DestroyElement(item);
    // The last item takes its list along: an empty list shows nothing and
    // cannot take the caret.
    if (OnlyEmptyRuns(list) && list->m_parent)
        RemoveWholeList(list);
    else
        list->StyleChanged(0);
    m_doc.CheckKeyFocus();
    EndListEdit();
}
