// Joining what a deletion across two blocks leaves of them (see
// DeletionJoin.h).

#include "document/DeletionJoin.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

// The blocks whose text a deletion may join: paragraphs, headings, list items
// and definition entries.
bool IsTextBlock(const CElement* e)
{
    if (!e)
        return false;
    const long kind = e->m_kind;
    return kind == kKindP || IsHeadingKind(kind) || kind == kKindLi || kind == kKindDd || kind == kKindDt;
}

// Blocks that may hold other blocks after their text (a nested list).
bool HoldsBlocks(const CElement* e) { return e->m_kind == kKindLi || e->m_kind == kKindDd; }

// The structure of lists, which a join may reach through: items of two
// lists, or of a list nested in another, join as items of one list do.
bool IsListStructure(const CElement* e)
{
    const long kind = e->m_kind;
    return IsListKind(kind) || kind == kKindDl || kind == kKindLi || kind == kKindDd || kind == kKindDt;
}

// Between e and its ancestor top (neither included), every element is part
// of a list.
bool ListPathTo(const CElement* e, const CElement* top)
{
    for (e = e->m_parent; e && e != top; e = e->m_parent) {
        if (!IsListStructure(e))
            return false;
    }
    return e == top;
}

// A list, list item or entry that a join emptied: no child but empty text
// runs.
bool LeftEmpty(const CElement* e) { return IsListStructure(e) && OnlyEmptyRuns(e); }

// The first child of e that is not an empty text run; null when none.
CElement* FirstContent(const CElement* e)
{
    CElement* c = e->m_firstChild;
    while (c && IsEmptyRun(c))
        c = c->m_nextSibling;
    return c;
}

// What follows e in document order once its subtree is passed: its next
// sibling, else its parent's and so on (empty text runs passed over).
CElement* NextPast(const CElement* e)
{
    for (; e; e = e->m_parent) {
        CElement* n = e->m_nextSibling;
        while (n && IsEmptyRun(n))
            n = n->m_nextSibling;
        if (n)
            return n;
    }
    return nullptr;
}

// Nothing the deletion left stands between the text of first (up to and
// including its child anchor; null: none left) and last: only the starts
// of the lists and items that hold last. A block the deletion emptied but
// kept between them keeps the two apart.
bool NextToEachOther(const CElement* first, const CElement* anchor, const CElement* last)
{
    const CElement* n = anchor ? NextPast(anchor) : FirstContent(first);
    if (!anchor && !n)
        n = NextPast(first);
    while (n && n != last) {
        if (!last->IsOneOfParent(n))
            return false;
        n = FirstContent(n);
    }
    return n == last;
}

// Moves what the deletion left of last to follow the child of first the
// selection started in (before: that child and the ones before it; the
// nearest the deletion left is taken), removes last and the lists and
// items emptied by that, and turns a blank held at the seam as a no-break
// space back into a plain blank. False when the two are not next to each
// other.
bool JoinEdges(CElement* first, CElement* last, const std::vector<long>& before)
{
    CElement* anchor = nullptr;
    for (auto it = before.rbegin(); it != before.rend() && !anchor; ++it)
        anchor = first->GetChild(*it, 0);
    if (!NextToEachOther(first, anchor, last))
        return false;
    // What comes follows the empty runs after the anchor (at first's start
    // when nothing before the selection is left): the deletion may have put
    // the caret in one, and the caret stays before what comes.
    for (CElement* c = anchor ? anchor->m_nextSibling : first->m_firstChild; c && IsEmptyRun(c);
         c = c->m_nextSibling)
        anchor = c;
    CElement* moved = last->m_firstChild;
    if (anchor)
        last->MoveChildrenTo(first, anchor->GetID(), true, 0, 0);
    else if (first->m_firstChild)
        last->MoveChildrenTo(first, first->m_firstChild->GetID(), false, 0, 0);
    else
        last->MoveChildrenTo(first, 0, true, 0, 0);
    CElement* parent = last->m_parent;
    parent->RemoveChild(last->GetID(), true, true);
    while (parent != first && !first->IsOneOfParent(parent) && LeftEmpty(parent) && parent->m_parent) {
        CElement* up = parent->m_parent;
        up->RemoveChild(parent->GetID(), true, true);
        parent = up;
    }
    if (moved && moved->m_parent == first && !moved->m_block) {
        if (CTextElement* run = PreviousRun(moved, first, true))
            ReleaseSeamBlank(run, run->m_text.Length());
    }
    first->StyleChanged(1);
    return true;
}

} // namespace

DeletionEdges EdgesOfSelection(CElement* root)
{
    DeletionEdges edges;
    if (!root)
        return edges;
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    if (selected.GetCount() < 2)
        return edges;
    auto* head = static_cast<CElement*>(selected.GetHead());
    auto* tail = static_cast<CElement*>(selected.GetTail());
    if (!head->IsTextElement() || !tail->IsTextElement())
        return edges;
    CElement* first = head->GetFirstBlockParent();
    CElement* last = tail->GetFirstBlockParent();
    if (!IsTextBlock(first) || !IsTextBlock(last) || first == last || first->m_selected || last->m_selected
        || first->IsOneOfParent(last))
        return edges;
    CElement* top = FindSameParent(first, last);
    if (!top || !ListPathTo(last, top) || (top != first && !ListPathTo(first, top)))
        return edges;
    // A paragraph, heading or term cannot take the nested list an item
    // brings along.
    if (!HoldsBlocks(first) && IsThereBlockTypeChild(last, false))
        return edges;
    CElement* holder = head;
    while (holder->m_parent != first)
        holder = holder->m_parent;
    for (CElement* c = first->m_firstChild; c; c = c->m_nextSibling) {
        edges.before.push_back(c->GetID());
        if (c == holder)
            break;
    }
    edges.first = first->GetID();
    edges.last = last->GetID();
    return edges;
}

bool JoinDeletionEdges(const CXDoc& doc, const DeletionEdges& edges)
{
    if (!edges.first)
        return false;
    CElement* first = doc.FindElement(edges.first);
    CElement* last = doc.FindElement(edges.last);
    if (!doc.IsElementInTree(first) || !doc.IsElementInTree(last) || first->IsOneOfParent(last))
        return false;
    return JoinEdges(first, last, edges.before);
}
