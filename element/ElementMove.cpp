// Moving children and elements between parents. A moved element inherits
// from its new parent; the order of moved children never changes.

#include "element/Element.h"

#include "element/TreeQueries.h"
#include "element/services/XHTMLServices.h"

#include <vector>

int CElement::MoveChildrenTo(CElement* target, long refId, bool forward, int range, long markId)
{
    if (!target || target == this || target->IsOneOfParent(this))
        return 0;
    CElement* mark = range != 0 ? GetChild(markId, 0) : nullptr;
    if (range != 0 && !mark)
        return 0;
    // The run to move, from its first to its last child.
    CElement* first = range == 2 ? mark : m_firstChild;
    CElement* last = range == 1 ? mark->m_prevSibling : m_lastChild;
    if (!first || !last)
        return 0;
    std::vector<CElement*> run;
    for (CElement* c = first;; c = c->m_nextSibling) {
        if (c != target)
            run.push_back(c);
        if (c == last)
            break;
    }
    int moved = 0;
    const size_t n = run.size();
    for (size_t i = 0; i < n; ++i) {
        CElement* c = run[forward ? i : n - 1 - i];
        RemoveCurrentChildFromList(c);
        target->InsertChild(c, refId, forward);
        c->CopyFromParent(target, 1);
        refId = c->m_id;
        ++moved;
    }
    return moved;
}

bool CElement::MoveCurrentElementTo(CElement* target, long refId, bool after)
{
    if (!target || target == this || target->IsOneOfParent(this))
        return false;
    if (m_parent)
        m_parent->RemoveCurrentChildFromList(this);
    target->InsertChild(this, refId, after);
    CopyFromParent(target, 1);
    return true;
}

namespace {

// The first line break among e's children; null when none.
CElement* FirstBreak(CElement* e)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindBr)
            return c;
    }
    return nullptr;
}

// Destroys the break child br of parent; the caret on it goes to a
// neighbour.
void DestroyBreak(CElement* parent, CElement* br)
{
    if (br->m_owner && br->m_owner->m_doc.m_caretElement == br)
        br->m_owner->m_doc.m_caretElement = br->m_prevSibling ? br->m_prevSibling : br->m_nextSibling;
    parent->RemoveChild(br->GetID(), true, false);
}

} // namespace

bool CElement::MoveElementAndParentTo(CElement* target)
{
    if (!target || (target->m_parent && target->m_parent->IsLinkedChild(target))
        || IsSubElementOf(target, m_id))
        return false;
    // Up to the nearest block; previous: the first of the run of inline
    // siblings (up to a block or a line break) that holds the branch.
    CElement* block = this;
    long previous = 0;
    while (block && !block->m_block) {
        CElement* first = block;
        while (
            first->m_prevSibling && !first->m_prevSibling->m_block && first->m_prevSibling->m_kind != kKindBr)
            first = first->m_prevSibling;
        previous = first->GetID();
        block = block->m_parent;
    }
    if (!block)
        return false;

    // A block may not stand in a paragraph, a heading, an address or a pre:
    // such a block goes into target whole, never target into it.
    if (IsTextBlockKind(block->m_kind)) {
        // The line of the block that holds this element: split off after
        // each first break, which goes. The breaks of a pre are the line
        // ends of its text, which it keeps: a pre goes whole.
        CElement* p = block;
        while (CElement* br = block->m_kind == kKindPre ? nullptr : FirstBreak(p)) {
            if (br == this || !p->m_parent)
                break;
            CElement* rest = nullptr;
            p->SplitUntilParent(&rest, p->GetID(), br->GetID());
            DestroyBreak(p, br);
            if (!rest || !IsSubElementOf(rest, m_id))
                break;
            p = rest;
        }
        CElement* parent = p->m_parent;
        if (!parent)
            return false;
        parent->InsertInto(target, p, true);
        target->CopyFromParent(parent, 1);
        parent->RemoveCurrentChildFromList(p);
        target->AddToTail(p);
        p->CopyFromParent(target, 1);
    } else if (block->m_kind == kKindLi || block->m_tableCell) {
        block->MoveChildrenTo(target, previous, false, 0, 0);
        block->AppendChild(target);
    } else {
        CElement* c = previous ? block->GetChild(previous, 0) : nullptr;
        block->InsertChild(target, previous, false);
        target->CopyFromParent(block, 1);
        while (c && !c->m_block) {
            CElement* next = c->m_nextSibling;
            if (c->m_kind == kKindBr) {
                DestroyBreak(block, c);
                break;
            }
            block->RemoveCurrentChildFromList(c);
            target->AddToTail(c);
            c->CopyFromParent(target, 1);
            c = next;
        }
    }
    target->StyleChanged(1);
    return true;
}
