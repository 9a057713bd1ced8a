// A block's line into a one-item list, for the list commands: the line that
// holds an element (its inline siblings between blocks and line breaks)
// becomes the item of a new ul or ol, which joins a list of its kind right
// beside it.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TypingTree.h"

namespace {

bool IsListCommandKind(int kind) { return kind == kKindUl || kind == kKindOl; }

bool IsLineHolder(const CElement* e, bool withDd)
{
    const long k = e->m_kind;
    return k == kKindP || k == kKindDiv || k == kKindBody || k == kKindTable || e->m_tableCell || k == kKindTr
        || k == kKindUl || k == kKindOl || k == kKindLi || (withDd && k == kKindDd);
}

// The nearest line holder at or above element's parent, and which of its
// children leads to element; null when none.
CElement* LineHolder(CElement* element, bool withDd, CElement*& child)
{
    child = element;
    for (CElement* b = element->m_parent; b; child = b, b = b->m_parent) {
        if (IsLineHolder(b, withDd))
            return b;
    }
    return nullptr;
}

// The sibling next to list, empty text runs passed over.
CElement* ListBeside(CElement* list, bool after)
{
    CElement* s = after ? list->m_nextSibling : list->m_prevSibling;
    while (s && IsEmptyRun(s))
        s = after ? s->m_nextSibling : s->m_prevSibling;
    return s && s->m_kind == list->m_kind ? s : nullptr;
}

// Moves every child of from into to, at its end (or its front), then
// deletes from.
void MergeList(CElement* from, CElement* to, bool atEnd)
{
    CElement* ref = atEnd ? nullptr : to->m_firstChild;
    while (CElement* c = from->m_firstChild) {
        from->RemoveCurrentChildFromList(c);
        to->InsertChild(c, ref ? ref->GetID() : 0, !ref);
        c->CopyFromParent(to, 1);
    }
    if (CElement* parent = from->m_parent)
        parent->RemoveChild(from->GetID(), true, false);
    to->StyleChanged(1);
}

} // namespace

void CXHTML::BeforePutIntoTag(CElement* element, int listKind)
{
    if (!element || !IsListCommandKind(listKind) || !m_doc.IsElementInTree(element))
        return;
    CElement* child = nullptr;
    CElement* block = LineHolder(element, false, child);
    if (!block)
        return;
    CElement* br = child->m_prevSibling;
    while (br && br->m_kind != kKindBr)
        br = br->m_prevSibling;
    if (br && block->BreakElement(br->GetID(), false))
        block->RemoveChild(br->GetID(), true, false);
}

void CXHTML::PutIntoTag(CElement* element, int listKind)
{
    CElement* root = m_doc.m_root;
    if (!element || !root || !IsListCommandKind(listKind) || !m_doc.IsElementInTree(element))
        return;
    CElement* child = nullptr;
    CElement* block = LineHolder(element, true, child);
    CElement* parent = block ? block->m_parent : nullptr;
    if (!block || (block != root && !parent))
        return;
    // An element inside a block that holds no lines of its own (a pre, a
    // definition list) has no line here to take: the list would be an empty
    // item beside that block, one more at every press.
    if (child->m_block && block->m_kind != kKindDiv)
        return;
    CElement* list = NewElement(listKind == kKindUl ? "ul" : "ol", block);
    CElement* item = list ? NewElement("li", list) : nullptr;
    if (!item) {
        delete list;
        return;
    }
    list->AppendChild(item);

    // The line: the inline siblings around child, between blocks and breaks.
    CElement* first = child;
    while (first->m_prevSibling && !first->m_prevSibling->m_block && first->m_prevSibling->m_kind != kKindBr)
        first = first->m_prevSibling;

    if (block->m_kind == kKindDiv && parent) {
        parent->InsertChild(list, block->GetID(), false);
        parent->RemoveCurrentChildFromList(block);
        item->AppendChild(block);
    } else {
        CElement* holder = block->m_kind == kKindP || block->m_kind == kKindLi ? parent : block;
        CElement* ref = holder == block ? first : block;
        holder->InsertChild(list, ref->GetID(), false);
        list->CopyFromParent(holder, 1);
        for (CElement* c = first; c && !c->m_block;) {
            CElement* next = c->m_nextSibling;
            if (c->m_kind == kKindBr) {
                block->RemoveChild(c->GetID(), true, false);
                break;
            }
            block->RemoveCurrentChildFromList(c);
            item->AppendChild(c);
            c = next;
        }
        if (block != root && block->IsEmptyTag(false) && block->m_parent)
            block->m_parent->RemoveChild(block->GetID(), true, false);
    }
    list->StyleChanged(1);

    CElement* before = ListBeside(list, false);
    if (before)
        MergeList(list, before, true);
    CElement* kept = before ? before : list;
    if (CElement* after = ListBeside(kept, true)) {
        if (before)
            MergeList(after, before, true);
        else
            MergeList(list, after, false);
    }
}
