// Moving content one level in or out. The indent commands add or remove a
// blockquote around blocks; the level actions move list items one nesting
// level, move between table cells, or toggle the paragraph class "indent";
// OnIndent types a tab character.

#include "editor/XHTML.h"

#include "editor/ListTree.h"
#include "editor/StructuralFlag.h"
#include "editor/StyleBarItem.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"
#include "elements/TypingTree.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kBlockquoteCode = 8;
constexpr int kAddLevel = 3;
constexpr int kRemoveLevel = 4;
constexpr int kUndoBlockquoteButton = 9;

bool Contains(const std::vector<CElement*>& v, const CElement* e)
{
    return std::find(v.begin(), v.end(), e) != v.end();
}

// Inside an item already collected.
bool InsideAny(const std::vector<CElement*>& items, const CElement* e)
{
    for (CElement* item : items) {
        if (e == item || e->IsOneOfParent(item))
            return true;
    }
    return false;
}

// A piece of unselected text in list: it keeps the list from being wrapped
// as a whole when a selection is shown.
bool HoldsUnselectedText(const CElement* list)
{
    for (const CElement* c = list->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->m_block && !c->m_inline && !c->m_selected && !(c->m_kind == kKindText && c->m_text.IsEmpty()))
            return true;
        if (HoldsUnselectedText(c))
            return true;
    }
    return false;
}

} // namespace

bool CXHTML::CollectLevelTargets(std::vector<CElement*>& targets)
{
    targets.clear();
    // A rule or table taken whole (the caret on it, selected or not) is no
    // block to move.
    CElement* caret = m_doc.m_caretElement;
    if (caret && HasStructuralFlag(caret))
        return false;
    if (!m_doc.m_selectionPresent) {
        if (!caret || !m_doc.IsElementInTree(caret))
            return false;
        targets.push_back(caret);
        return true;
    }
    if (!m_doc.m_root)
        return false;
    CPtrList list;
    m_doc.m_root->GetAllChildren(&list, 0, true, 0, 0);
    m_doc.TrimEmptyElement(&list, 0);
    for (void* pos = list.GetHeadPosition(); pos;)
        targets.push_back(static_cast<CElement*>(list.GetNext(pos)));
    return !targets.empty();
}

void CXHTML::NotifyEdit()
{
    if (m_changeBatches > 0) {
        NotifyChange(false);
        return;
    }
    CSafeBuf markup;
    m_doc.GetSourceCode(markup, 6, false);
    NotifyChange(markup != m_doc.m_sourceBaseline);
}

void CXHTML::OnTab()
{
    if (!MayChange(7, nullptr, 7))
        return;
    // Each target's new level reports its edit: one undo step for them all.
    ChangeBatch batch(*this);
    std::vector<CElement*> targets;
    const bool any = CollectLevelTargets(targets);
    const bool selection = m_doc.m_selectionPresent != 0;
    CPtrList blocks;
    const int count = any ? m_doc.GetTopSelectedBlocks(&blocks) : 0;
    bool wrappable = any && selection && count >= 2 && blocks.GetCount() > 0;
    for (void* pos = blocks.GetHeadPosition(); pos && wrappable;) {
        auto* b = static_cast<CElement*>(blocks.GetNext(pos));
        wrappable = !b->m_tableCell && b->m_kind != kKindLi && b->m_kind != kKindTbody;
    }
    if (wrappable) {
        auto* first = static_cast<CElement*>(blocks.GetHead());
        if (CElement* quote = first->m_parent ? NewElement("blockquote", first->m_parent) : nullptr) {
            MoveBeside(quote, first, false);
            for (void* pos = blocks.GetHeadPosition(); pos;)
                static_cast<CElement*>(blocks.GetNext(pos))->MoveCurrentElementTo(quote, 0, true);
            quote->StyleChanged(1);
            m_doc.DrawDoc(0);
            m_doc.UpdateKeyCursor();
            m_doc.Redraw();
            NotifyEdit();
        }
    } else if (any) {
        // A target in a list item: the whole list goes into the blockquote.
        bool wrapped = false;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            CElement* item = AtOrAbove(targets[i], kKindLi);
            CElement* list = item ? ListAbove(item) : nullptr;
            if (!list || !list->m_parent || (selection && HoldsUnselectedText(list)))
                continue;
            targets.erase(std::remove_if(targets.begin(), targets.end(),
                              [list](CElement* t) { return t == list || t->IsOneOfParent(list); }),
                targets.end());
            i = static_cast<std::size_t>(-1);
            if (CElement* quote = NewElement("blockquote", list->m_parent)) {
                list->InsertElement(quote);
                wrapped = true;
            }
        }
        std::vector<int> depths;
        for (CElement* t : targets)
            depths.push_back(t->RepeatOfSameParentType(kKindBlockquote));
        bool processed = false;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            CElement* t = targets[i];
            if (!m_doc.IsElementInTree(t) || (selection && !t->m_selected)
                || t->RepeatOfSameParentType(kKindBlockquote) != depths[i])
                continue;
            ProcessHeading(kBlockquoteCode, t, kAddLevel, nullptr);
            processed = true;
        }
        if (wrapped || processed) {
            m_doc.DrawDoc(0);
            m_doc.UpdateKeyCursor();
            m_doc.Redraw();
            NotifyEdit();
        }
    }
    if (m_control)
        m_control->ToolEnableButton(kUndoBlockquoteButton, 0, true, true);
}

void CXHTML::OnShifttab()
{
    if (!MayChange(7, nullptr, 7))
        return;
    ChangeBatch batch(*this);
    std::vector<CElement*> targets;
    if (CollectLevelTargets(targets)) {
        const bool selection = m_doc.m_selectionPresent != 0;
        std::vector<int> depths;
        for (CElement* t : targets)
            depths.push_back(t->RepeatOfSameParentType(kKindBlockquote));
        bool processed = false;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            CElement* t = targets[i];
            if (!m_doc.IsElementInTree(t) || (selection && !t->m_selected) || depths[i] <= 0
                || t->RepeatOfSameParentType(kKindBlockquote) != depths[i])
                continue;
            ProcessHeading(kBlockquoteCode, t, kRemoveLevel, nullptr);
            processed = true;
        }
        if (processed) {
            m_doc.DrawDoc(0);
            m_doc.UpdateKeyCursor();
            m_doc.Redraw();
            NotifyEdit();
        }
    }
    m_doc.DisplayTabStyle();
}

bool CXHTML::LevelAction(bool inward, bool listOnly)
{
    std::vector<CElement*> targets;
    if (!CollectLevelTargets(targets))
        return false;
    ChangeBatch batch(*this);
    std::vector<CElement*> items;
    for (CElement* t : targets) {
        if (InsideAny(items, t))
            continue;
        CElement* item = nullptr;
        for (CElement* e = t; e; e = e->m_parent) {
            if (e->m_kind == kKindLi) {
                item = e;
                break;
            }
            if (e->m_tableCell || e->m_kind == kKindCaption)
                break;
        }
        if (!item) {
            if (!listOnly)
                ApplyIndentClass(!inward);
            return false;
        }
        if (!Contains(items, item))
            items.push_back(item);
    }
    for (CElement* item : items) {
        if (!m_doc.IsElementInTree(item))
            continue;
        if (inward)
            MoveListItem(item);
        else
            LeftMoveListItem(item);
    }
    if (!inward)
        m_doc.DisplayTabStyle();
    return !items.empty();
}

bool CXHTML::TabAction(bool listOnly) { return LevelAction(true, listOnly); }

bool CXHTML::ShiftTabAction(bool listOnly) { return LevelAction(false, listOnly); }

void CXHTML::ApplyIndentClass(bool remove)
{
    static const unsigned short kP[] = {'p', 0};
    static const unsigned short kClass[] = {'c', 'l', 'a', 's', 's', 0};
    static const unsigned short kIndent[] = {'i', 'n', 'd', 'e', 'n', 't', 0};
    STYLE_BAR_ITEM* item = NewStyleBarItem(kIndent, nullptr, kP, nullptr, nullptr);
    if (!item)
        return;
    item->attributes = NewAttributeItem(kClass, kIndent);
    bool marked = false, done = false, refreshBox = false;
    int row = 0;
    const bool changed = ProcessStyle(item, remove, marked, done, refreshBox, row, remove ? 2 : 1);
    FreeStyleBarItems(item);
    if (changed && (done || refreshBox))
        DisplayTagBox();
}

void CXHTML::DoTab(bool shift)
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementInTree(caret))
        return;
    if (shift ? ShiftTabAction(true) : TabAction(true))
        return;
    CElement* cell = AtOrAbove(caret, kKindTd);
    if (!cell)
        cell = AtOrAbove(caret, kKindTh);
    if (!cell)
        cell = AtOrAbove(caret, kKindCaption);
    if (!cell && !m_doc.m_cellMarkMode) {
        if (shift)
            ShiftTabAction(false);
        else
            TabAction(false);
        return;
    }
    if (m_doc.m_selectionPresent) {
        m_doc.CleanSelection();
        m_doc.DrawDoc(2);
        m_doc.Redraw();
        DocCaretOnErased();
        DisplayCursor();
    }
    if (cell)
        m_doc.MoveCursorToNextCell(cell, !shift);
}

void CXHTML::OnIndent()
{
    static const unsigned short kTab[] = {'\t', 0};
    InsertText(kTab);
    if (m_doc.m_root)
        m_doc.m_root->Draw(nullptr);
    m_doc.Redraw();
    NotifyEdit();
}
