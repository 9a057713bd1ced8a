// Ordered and unordered lists: the two list buttons, which put a block into
// a list, take an item out again or switch its type; changing a whole list;
// taking an item out of its list; the Return key's way out of an empty last
// item; and moving an item one nesting level in or out. A nested list is the
// last child of the item it belongs to.

#include "editor/XHTML.h"

#include "editor/ListTree.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

const char* ListTag(long kind) { return kind == kKindUl ? "ul" : "ol"; }

// Where the list button's walk up from the caret ends without finding an
// item: a paragraph, a plain div, a cell, a term or a definition.
bool EndsItemWalk(CElement* e)
{
    const long k = e->m_kind;
    if (k == kKindP || IsCellKind(k) || k == kKindDd || k == kKindDt)
        return true;
    if (k != kKindDiv)
        return false;
    CSafeBuf value;
    return !e->GetAttrNoCase("align", value) && !e->GetAttrNoCase("class", value);
}

// A list of tag, new and linked right after ref.
CElement* NewListAfter(long kind, CElement* ref)
{
    CElement* list = NewElement(ListTag(kind), ref->m_parent);
    if (list && !MoveBeside(list, ref, true)) {
        delete list;
        return nullptr;
    }
    return list;
}

int CountBlocks(const CElement* e)
{
    int n = 0;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        n += c->m_block ? 1 : 0;
    return n;
}

// Whether the children of e other than child are empty runs only.
bool OnlyEmptyRunsBeside(const CElement* e, const CElement* child)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c != child && !IsEmptyRun(c))
            return false;
    }
    return true;
}

} // namespace

bool CXHTML::DoList(CElement* element, int kind, bool single, bool redraw)
{
    if (!element || (kind != kKindUl && kind != kKindOl))
        return false;
    if (!MayChange(7, element, 8)) {
        DisplayStyleButton(m_doc.m_caretElement);
        return false;
    }
    if (!single && m_doc.m_selectionPresent) {
        ProcessSelectedBullet(kind);
        return true;
    }
    if (!m_doc.IsElementInTree(element))
        return true;
    CElement* item = nullptr;
    for (CElement* e = element; e && !item; e = e->m_parent) {
        if (e->m_kind == kKindLi)
            item = e;
        else if (EndsItemWalk(e))
            break;
    }
    if (!item) {
        BeforePutIntoTag(element, kind);
        PutIntoTag(element, kind);
    } else {
        CElement* list = ListAbove(item);
        const long current = list ? list->m_kind : 0;
        if (current != kind && !m_doc.m_selectionPresent) {
            ChangeListItemType(item, kind);
        } else {
            if (!single && list && AtOrAbove(list, kKindLi)) {
                DoTab(true);
                return true;
            }
            CElement* parent = item->m_parent;
            if (IsListElement(parent) && parent->m_kind != kind) {
                // The item's lines come out as a paragraph; the element's
                // line starts a block of its own before it goes into the
                // new list, so that it stays after the lines above it.
                JumpOutOfLI(item, 1);
                BeforePutIntoTag(element, kind);
                PutIntoTag(element, kind);
            } else {
                JumpOutOfLI(item, 0);
            }
        }
    }
    if (redraw) {
        if (m_doc.m_root)
            m_doc.m_root->StyleChanged(1);
        m_doc.DrawDoc(0);
        m_doc.Redraw();
        NotifyChange(true);
    }
    DisplayStyleButton(m_doc.m_caretElement);
    return true;
}

void CXHTML::ChangeListItemType(CElement* item, int kind)
{
    CElement* old = ListAbove(item);
    if (!item || !old || !old->m_parent)
        return;
    const bool alone = !item->m_prevSibling && !item->m_nextSibling;
    CElement* list = NewListAfter(kind, old);
    if (!list)
        return;
    if (alone) {
        MoveChildrenToEnd(old, list);
        DestroyElement(old);
    } else {
        if (item->m_nextSibling && item->m_parent == old) {
            if (CElement* rest = NewListAfter(old->m_kind, list)) {
                MoveChildrenToEnd(old, rest, item->m_nextSibling);
                rest->StyleChanged(1);
            }
        }
        item->MoveCurrentElementTo(list, 0, true);
        if (!old->m_firstChild)
            DestroyElement(old);
    }
    // Neighbouring lists of the same kind become one.
    CElement* before = list->m_prevSibling;
    if (before && before->m_kind == kind) {
        for (CElement* c = before->m_lastChild; c;) {
            CElement* prev = c->m_prevSibling;
            c->MoveCurrentElementTo(list, 0, false);
            c = prev;
        }
        DestroyElement(before);
    }
    CElement* after = list->m_nextSibling;
    if (after && after->m_kind == kind) {
        MoveChildrenToEnd(after, list);
        DestroyElement(after);
    }
    list->StyleChanged(1);
}

void CXHTML::OnChangeList()
{
    CElement* list = nullptr;
    for (CElement* e = ContextElement(); e && !list; e = e->m_parent) {
        if (IsListElement(e) && e->m_parent)
            list = e;
    }
    if (!list || !MayChange(7, list, 8))
        return;
    CElement* other = NewListAfter(list->m_kind == kKindUl ? kKindOl : kKindUl, list);
    if (!other)
        return;
    MoveChildrenToEnd(list, other);
    DestroyElement(list);
    other->StyleChanged(1);
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
    DisplayStyleButton(m_doc.m_caretElement);
}

CElement* CXHTML::JumpOutOfLI(CElement* item, int mode)
{
    if (!item || item->m_kind != kKindLi)
        return nullptr;
    CElement* list = item->m_parent;
    CElement* outer = list ? list->m_parent : nullptr;
    if (!IsListElement(list) || !outer)
        return nullptr;
    CElement* outermost = outer->m_parent;
    if (mode == 2 && !IsListElement(outermost))
        return nullptr;
    const bool asItem = mode == 2 || IsListElement(outer);
    CElement* holder = NewElement(asItem ? "li" : "p", mode == 2 ? outermost : outer);
    if (!holder)
        return nullptr;
    // The items after this one form a list of their own after it.
    if (item->m_nextSibling)
        list->BreakElement(item->GetID(), false);
    CElement* held = nullptr;
    if (mode == 2 && list->m_nextSibling)
        held = outer->BreakElement(list->GetID(), false);
    if (!MoveBeside(holder, mode == 2 ? outer : list, true)) {
        delete holder;
        return nullptr;
    }
    MoveChildrenToEnd(item, holder);
    DestroyElement(item);
    if (mode == 2) {
        if (held) {
            MoveChildrenToEnd(held, holder);
            DestroyElement(held);
        }
        if (holder->m_lastChild && holder->m_lastChild != holder->m_firstChild
            && IsEmptyRun(holder->m_lastChild))
            DestroyElement(holder->m_lastChild);
    }
    holder->StyleChanged(1);
    if (!CountChildren(list, kKindLi)) {
        if (CaretWithin(list))
            m_doc.m_caretElement = nullptr;
        DestroyElement(list);
    }
    // A paragraph may hold no block: when the item held one (a nested
    // list), the paragraph keeps the item's own line and the blocks, with
    // what follows them, go after it. Leaving them inside, the tree's repair
    // would run their words together; putting the item's children in its
    // place would run its line into the words before it.
    if (!asItem && mode != 2 && IsThereBlockTypeChild(holder, false)) {
        CElement* first = holder->m_firstChild;
        while (first && !first->m_block)
            first = first->m_nextSibling;
        for (CElement* at = holder; first;) {
            CElement* next = first->m_nextSibling;
            if (!MoveBeside(first, at, true))
                break;
            at = first;
            first = next;
        }
        if (OnlyEmptyRuns(holder)) {
            if (CaretWithin(holder))
                m_doc.m_caretElement = nullptr;
            DestroyElement(holder);
            holder = nullptr;
        }
        outer->StyleChanged(0);
    }
    if (mode == 0) {
        // The holder, alone in an item, a definition or a cell, gives its
        // content to it; beside text of that container (the line of the
        // item a nested list stood in) it stays a paragraph, or its first
        // words would run into that text.
        const long k = outer->m_kind;
        if (holder && (k == kKindLi || k == kKindDd || IsCellKind(k)) && CountBlocks(outer) == 1
            && OnlyEmptyRunsBeside(outer, holder)) {
            outer->RemoveChildNodeOnly(holder->GetID());
            holder = nullptr;
            for (CElement* c = outer->m_firstChild;
                 c && IsEmptyRun(c) && c->m_nextSibling && c->m_nextSibling->m_kind == kKindText;) {
                CElement* next = c->m_nextSibling;
                if (HoldsCaret(c))
                    PutCaret(next, 0);
                DestroyElement(c);
                c = next;
            }
            outer->StyleChanged(0);
        }
    }
    // The item the list stood in may be left with nothing, or with only
    // an empty run: it goes too.
    if (mode == 2
        && (!outer->m_firstChild
            || (outer->m_firstChild == outer->m_lastChild && IsEmptyRun(outer->m_firstChild)))) {
        if (CaretWithin(outer))
            m_doc.m_caretElement = nullptr;
        DestroyElement(outer);
    }
    return holder ? holder : outer;
}

bool CXHTML::MoveAllLevelsOut(CElement* item)
{
    if (!item || item->m_kind != kKindLi)
        return false;
    CElement* outermost = nullptr;
    for (CElement* p = item->m_parent; p; p = p->m_parent) {
        if (IsListElement(p))
            outermost = p;
    }
    if (!outermost || !outermost->m_parent)
        return false;
    // The path from the item to the outermost list is cut after it: what
    // follows at each level goes into copies after that level, so that
    // the item's content can stand between the outermost list and the
    // rest.
    for (CElement* e = item; e != outermost; e = e->m_parent) {
        if (e->m_nextSibling)
            e->m_parent->BreakElement(e->GetID(), false);
    }
    CElement* holder = NewElement("p", outermost->m_parent);
    if (!holder || !MoveBeside(holder, outermost, true)) {
        delete holder;
        return false;
    }
    CElement* list = item->m_parent;
    MoveChildrenToEnd(item, holder);
    DestroyElement(item);
    // Lists (and items holding only them) the item leaves empty go.
    for (CElement* e = list; e && (IsListElement(e) || e->m_kind == kKindLi) && !e->m_firstChild;) {
        CElement* up = e->m_parent;
        DestroyElement(e);
        e = up;
    }
    if (!holder->m_firstChild)
        holder->AppendChild(NewRun(holder));
    holder->StyleChanged(1);
    if (!CaretWithin(holder))
        PutCaret(holder->m_firstChild, 0);
    m_doc.DrawDoc(0);
    m_doc.UpdateKeyCursor();
    m_doc.Redraw();
    NotifyEdit();
    DisplayStyleButton(m_doc.m_caretElement);
    return true;
}

void CXHTML::MoveListItem(CElement* item)
{
    CElement* list = item ? item->m_parent : nullptr;
    if (item && item->m_kind == kKindLi && IsListElement(list)) {
        CElement* previous = item->m_prevSibling;
        while (previous && previous->m_kind != kKindLi)
            previous = previous->m_prevSibling;
        if (!previous) {
            // The first item: an empty item before it holds the nested list.
            previous = NewEntry("li", list);
            if (previous && !MoveBeside(previous, item, false)) {
                delete previous;
                previous = nullptr;
            }
        }
        if (previous) {
            CElement* last = previous->m_lastChild;
            if (last && last->m_kind == list->m_kind) {
                item->MoveCurrentElementTo(last, 0, true);
            } else if (CElement* nested = NewElement(ListTag(list->m_kind), previous)) {
                previous->AppendChild(nested);
                item->MoveCurrentElementTo(nested, 0, true);
            }
            list->StyleChanged(0);
        }
    }
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
}

void CXHTML::LeftMoveListItem(CElement* item)
{
    CElement* list = item ? item->m_parent : nullptr;
    if (!item || item->m_kind != kKindLi || !list || !list->m_list)
        return;
    CElement* outer = list->m_parent;
    if (!outer)
        return;
    if (outer->m_kind == kKindLi) {
        JumpOutOfLI(item, 2);
    } else if (IsListElement(outer)) {
        // A list standing directly in a list: the item goes beside it.
        if (!item->m_prevSibling && !item->m_nextSibling) {
            MoveBeside(item, list, true);
            DestroyElement(list);
        } else if (!item->m_nextSibling) {
            MoveBeside(item, list, true);
        } else if (!item->m_prevSibling) {
            MoveBeside(item, list, false);
        } else {
            list->BreakElement(item->GetID(), false);
            MoveBeside(item, list, true);
        }
        outer->StyleChanged(0);
    } else {
        return; // a top-level list: the item stays where it is
    }
    m_doc.DrawDoc(0);
    m_doc.Redraw();
    NotifyChange(true);
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
}

void CXHTML::OnMoveleft()
{
    CElement* item = AtOrAbove(ContextElement(), kKindLi);
    if (item && MayChange(7, item, 8))
        LeftMoveListItem(item);
}

void CXHTML::OnMoveright()
{
    CElement* item = AtOrAbove(ContextElement(), kKindLi);
    if (item && MayChange(7, item, 8))
        MoveListItem(item);
}
