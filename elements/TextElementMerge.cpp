// Backspace at the start of a run and Delete at its end: the run's branch
// and the neighbouring content are merged (CutAndCombine).
//
// The walk goes up from the run's parent with the run's branch (the child
// on the way) until the branch has a neighbour in the key's direction; what
// happens then depends on the neighbour: a paragraph-like block takes the
// branch's content (or gives its own), lists give or take list items and
// join when they are of the same kind, definitions (dd) join each other,
// tables, pre and the other edges of definition lists stop the merge, a
// division (form, fieldset) holding content takes the caret without losing
// anything, inline content joins the run's block, and anything else (an
// image, a rule) is deleted. Failures stop the merge; what changed so far
// stands.

#include "elements/TextElement.h"

#include "element/TreeQueries.h"
#include "element/markup/TreeRepair.h"
#include "element/services/XHTMLServices.h"
#include "elements/TypingTree.h"

namespace {

bool IsParagraphLike(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindP || k == kKindAddress || k == kKindLi || k == kKindBlockquote || e->m_heading;
}

bool IsListLike(const CElement* e) { return IsListKind(e->m_kind) || e->m_kind == kKindBlockquote; }

// A pre may hold no images, objects, sub or sup.
bool CannotGoIntoPre(const CElement* e, const CElement* target)
{
    if (!target || target->m_kind != kKindPre)
        return false;
    const long k = e->m_kind;
    if (k == kKindImg || k == kKindObject || k == kKindSub || k == kKindSup)
        return true;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CannotGoIntoPre(c, target))
            return true;
    }
    return false;
}

// The neighbour of branch in the direction, empty runs passed over.
CElement* Neighbour(CElement* branch, bool forward)
{
    CElement* n = forward ? branch->m_nextSibling : branch->m_prevSibling;
    while (n && IsEmptyRun(n) && !HoldsCaret(n))
        n = forward ? n->m_nextSibling : n->m_prevSibling;
    return n;
}

// Moves what branch holds (itself when it is inline or text) to the end of
// target; a block branch emptied so is removed.
void MoveBranchInto(CElement* branch, CElement* target)
{
    if (branch->IsTextElement() || branch->m_inline) {
        branch->m_parent->RemoveCurrentChildFromList(branch);
        target->AppendChild(branch);
        return;
    }
    while (CElement* c = branch->m_firstChild) {
        branch->RemoveCurrentChildFromList(c);
        target->AppendChild(c);
    }
    branch->m_parent->RemoveChild(branch->GetID(), true, true);
}

// Moves the content of from in after the element at (in at's parent), then
// removes from.
void PullContentAfter(CElement* from, CElement* at)
{
    CElement* parent = at->m_parent;
    CElement* ref = at;
    while (CElement* c = from->m_firstChild) {
        from->RemoveCurrentChildFromList(c);
        parent->InsertChild(c, ref->GetID(), true);
        ref = c;
    }
    from->m_parent->RemoveChild(from->GetID(), true, true);
}

// Forward join of from, whose content follows the run's block receiver
// (the run's inline chain ends at at): its inline content up to its first
// block, or its first block when that is a paragraph, joins the text; its
// other blocks (paragraphs, nested lists of an item) keep their lines after
// the receiver, or at its end when the receiver is a list item. from goes.
void JoinForward(CElement* from, CElement* receiver, CElement* at)
{
    CElement* first = from->m_firstChild;
    if (first && first->m_block
        && (first->m_kind == kKindP || first->m_kind == kKindAddress || first->m_heading)) {
        PullContentAfter(first, at);
    } else {
        for (CElement* ref = at; from->m_firstChild && !from->m_firstChild->m_block;) {
            CElement* c = from->m_firstChild;
            from->RemoveCurrentChildFromList(c);
            at->m_parent->InsertChild(c, ref->GetID(), true);
            ref = c;
        }
    }
    const bool inside = receiver->m_kind == kKindLi || receiver->m_kind == kKindDd || !receiver->m_parent;
    CElement* after = receiver;
    while (CElement* c = from->m_firstChild) {
        from->RemoveCurrentChildFromList(c);
        if (inside) {
            receiver->AppendChild(c);
        } else {
            receiver->m_parent->InsertChild(c, after->GetID(), true);
            after = c;
        }
        c->StyleChanged(1);
    }
    from->m_parent->RemoveChild(from->GetID(), true, true);
}

// The last li at the end of li, descending into nested lists at its end.
CElement* LastItemOfNested(CElement* li)
{
    while (li && li->m_kind == kKindLi && li->m_lastChild && IsListKind(li->m_lastChild->m_kind))
        li = li->m_lastChild->m_lastChild;
    return li && li->m_kind == kKindLi ? li : nullptr;
}

// Where content joined to the end of container (a list item or a
// quotation) goes: the paragraph, heading or address that ends it, found
// through the quotations and nested lists at its end; else container.
CElement* JoinTarget(CElement* container)
{
    for (;;) {
        CElement* last = container->m_lastChild;
        while (last && IsEmptyRun(last) && !HoldsCaret(last))
            last = last->m_prevSibling;
        if (!last)
            return container;
        const long k = last->m_kind;
        if (k == kKindP || k == kKindAddress || last->m_heading)
            return last;
        CElement* inner = nullptr;
        if (k == kKindBlockquote)
            inner = last;
        else if (IsListKind(k))
            inner = LastItemOfNested(last->m_lastChild);
        if (!inner)
            return container;
        container = inner;
    }
}

// The list item around e up to top, or null.
CElement* ItemOf(CElement* e, CElement* top)
{
    for (CElement* a = e; a && a != top; a = a->m_parent) {
        if (a->m_kind == kKindLi)
            return a;
    }
    return nullptr;
}

// Joins the two lists when they are of one kind: second's items go to the
// end of first and second is removed.
void JoinLists(CElement* first, CElement* second)
{
    if (!first || !second || first->m_kind != second->m_kind)
        return;
    while (CElement* c = second->m_firstChild) {
        second->RemoveCurrentChildFromList(c);
        first->AppendChild(c);
    }
    second->m_parent->RemoveChild(second->GetID(), true, true);
}

// The ancestor of e (or e) that is a child of block.
CElement* TopInline(CElement* e, CElement* block)
{
    while (e->m_parent && e->m_parent != block)
        e = e->m_parent;
    return e;
}

// Delete at the end of list item: from's content joins the run's block
// there (a paragraph ending the item, or the item itself); from goes.
void JoinIntoItem(CElement* run, CElement* item, CElement* from)
{
    CElement* into = run->GetFirstBlockParent();
    if (!into || !into->IsOneOfParent(item))
        into = item;
    if (IsThereBlockTypeChild(from, false) || into != item) {
        if (IsThereBlockTypeChild(from, false))
            JoinForward(from, into, TopInline(run, into));
        else
            PullContentAfter(from, TopInline(run, into));
        return;
    }
    while (CElement* c = from->m_firstChild) {
        from->RemoveCurrentChildFromList(c);
        item->AppendChild(c);
    }
    from->m_parent->RemoveChild(from->GetID(), true, true);
}

// Delete at the end of a definition (dd) followed by another, or Backspace
// at the start of the second: the second one's text joins the first one's,
// its other blocks follow, and it goes, as list items join. A first
// definition that ends in a block other than a paragraph (a table, a pre)
// takes nothing. run is the caret's run, dd its definition.
bool JoinDefinitions(CElement* run, CElement* dd, CElement* other, bool forward)
{
    CElement* from = forward ? other : dd;
    CElement* receiver = forward ? run->GetFirstBlockParent() : JoinTarget(other);
    if (!receiver)
        return false;
    CElement* at = forward ? TopInline(run, receiver) : receiver->m_lastChild;
    if (!at || at->m_block)
        return false;
    if (IsThereBlockTypeChild(from, false))
        JoinForward(from, receiver, at);
    else
        PullContentAfter(from, at);
    return true;
}

// A division, centre, form or fieldset that holds anything but empty runs.
bool IsContainerWithContent(const CElement* e)
{
    const long k = e->m_kind;
    if (k != kKindDiv && k != kKindCenter && k != kKindForm && k != kKindFieldset)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        if (!IsEmptyRun(c))
            return true;
    return false;
}

constexpr unsigned short kNoBreakSpace = 0xA0;

// A character of the text beside the seam: the run holding it and its offset.
struct SeamSide
{
    CTextElement* run = nullptr;
    int at = -1;
    unsigned short Unit(int shift) const
    {
        const int i = at + shift;
        return run && i >= 0 && i < run->m_text.Length() ? run->m_text.GetAt(i) : 0;
    }
};

void RemoveIfHollow(CElement* e)
{
    if (e && e->m_parent && !e->m_firstChild)
        e->m_parent->RemoveChild(e->GetID(), true, true);
}

} // namespace

bool CTextElement::CutAndCombine(CElement*& caretElement, bool forward)
{
    caretElement = this;
    bool changed = false;
    try {
        // 1. An empty run alone in empty inline elements: those go.
        CElement* parent = m_parent;
        if (!parent)
            return false;
        if (m_text.IsEmpty() && parent->m_inline && parent->IsEmptyTag(false) && parent->m_parent) {
            parent->m_parent->RemoveChildNodeOnly(parent->GetID());
            changed = true;
        }
        if (CElement* n = forward ? m_nextSibling : m_prevSibling) {
            if (n->m_inline && !n->IsTextElement() && n->IsEmptyTag(false)) {
                m_parent->RemoveChild(n->GetID(), true, true);
                return true;
            }
        }
        // 2. At the start of a block that follows inline content: the block
        // is unwrapped into that content.
        CElement* block = GetFirstBlockParent();
        if (!forward && block && IsFirstContentOf(this, block) && block->m_prevSibling
            && !block->m_prevSibling->m_block && !IsEmptyRun(block->m_prevSibling) && block->m_parent
            && block->m_kind != kKindLi && !block->m_tablePart) {
            CElement* grand = block->m_parent;
            grand->RemoveChildNodeOnly(block->GetID());
            grand->StyleChanged(0);
            return true;
        }
        // 3. Up to the level where the branch has a neighbour.
        CElement* branch = this;
        CElement* level = m_parent;
        CElement* neighbour = nullptr;
        for (; level; branch = level, level = level->m_parent) {
            const long k = level->m_kind;
            // The walk ends at the table's frame: a table, a row group or a
            // row. A cell or a caption is a level like any other, so its
            // paragraphs join each other while its first or last one stops
            // at the row above it.
            if (k == kKindDl) {
                // Definitions join each other; a term stops the merge.
                CElement* other = branch->m_kind == kKindDd ? Neighbour(branch, forward) : nullptr;
                if (other && other->m_kind == kKindDd && JoinDefinitions(this, branch, other, forward))
                    return true;
                return changed;
            }
            if (k == kKindTable || k == kKindTr
                || (level->m_tablePart && !level->m_tableCell && k != kKindCaption))
                return changed;
            if ((k == kKindDiv || k == kKindPre)
                && (forward ? IsLastContentOf(this, level) : IsFirstContentOf(this, level)))
                return changed;
            neighbour = Neighbour(branch, forward);
            if (neighbour)
                break;
            if (!forward && IsListLike(level)
                && !(level->m_prevSibling && IsListKind(level->m_prevSibling->m_kind)) && level->m_parent) {
                // Outdent: the item (or the quotation's content) goes in front
                // of the list.
                CElement* item = branch;
                CElement* outer = level->m_parent;
                level->RemoveCurrentChildFromList(item);
                outer->InsertChild(item, level->GetID(), false);
                if (item->m_kind == kKindLi) {
                    CElement* p = NewElement("p", outer);
                    if (p) {
                        outer->InsertChild(p, item->GetID(), false);
                        while (CElement* c = item->m_firstChild) {
                            item->RemoveCurrentChildFromList(c);
                            p->AppendChild(c);
                        }
                        outer->RemoveChild(item->GetID(), true, true);
                        p->StyleChanged(1);
                    }
                }
                RemoveIfHollow(level);
                return true;
            }
        }
        if (!level || !neighbour)
            return changed;
        CElement* item = ItemOf(this, level);
        // 4. A list (or quotation) beside the branch.
        if (IsListLike(neighbour)) {
            if (forward && item && IsLastContentOf(this, item)) {
                CElement* firstItem = neighbour->m_firstChild;
                if (firstItem && firstItem->m_kind == kKindLi)
                    JoinIntoItem(this, item, firstItem);
                CElement* ownList = item->m_parent;
                if (!neighbour->m_firstChild)
                    neighbour->m_parent->RemoveChild(neighbour->GetID(), true, true);
                else
                    JoinLists(ownList, neighbour);
                return true;
            }
            if (forward) {
                CElement* lifted = neighbour->m_firstChild;
                if (!lifted)
                    return changed;
                neighbour->RemoveCurrentChildFromList(lifted);
                neighbour->m_parent->InsertChild(lifted, neighbour->GetID(), false);
                if (lifted->m_kind == kKindLi && IsThereBlockTypeChild(lifted, false)) {
                    // An item of blocks leaves them as they are, its loose
                    // text in a paragraph of its own.
                    CheckAndAddP(lifted);
                    neighbour->m_parent->RemoveChildNodeOnly(lifted->GetID());
                } else if (lifted->m_kind == kKindLi) {
                    CElement* p = NewElement("p", neighbour->m_parent);
                    if (p) {
                        neighbour->m_parent->InsertChild(p, lifted->GetID(), false);
                        while (CElement* c = lifted->m_firstChild) {
                            lifted->RemoveCurrentChildFromList(c);
                            p->AppendChild(c);
                        }
                        neighbour->m_parent->RemoveChild(lifted->GetID(), true, true);
                        p->StyleChanged(1);
                    }
                }
                RemoveIfHollow(neighbour);
                return true;
            }
            CElement* last
                = neighbour->m_kind == kKindBlockquote ? neighbour : LastItemOfNested(neighbour->m_lastChild);
            if (!last)
                return changed;
            last = JoinTarget(last);
            if (CannotGoIntoPre(branch, last)) {
                if (m_owner)
                    m_owner->m_keyRefused = 1;
                return changed;
            }
            if (item) {
                CElement* ownList = item->m_parent;
                while (CElement* c = item->m_firstChild) {
                    item->RemoveCurrentChildFromList(c);
                    last->AppendChild(c);
                }
                ownList->RemoveChild(item->GetID(), true, true);
                if (ownList->m_firstChild)
                    JoinLists(neighbour, ownList);
                else
                    RemoveIfHollow(ownList);
            } else if (last->m_kind == kKindBlockquote && branch->m_block) {
                // A quotation that ends in neither a paragraph nor a list
                // takes the block whole: its text does not stand loose
                // beside the quotation's blocks.
                branch->m_parent->RemoveCurrentChildFromList(branch);
                last->AppendChild(branch);
                branch->StyleChanged(1);
            } else {
                MoveBranchInto(branch, last);
            }
            return true;
        }
        // 5. Forward from the end of a list item into what follows the list.
        // A pre or a definition list after the list is left whole, as after
        // a paragraph (below): one key does not delete its text.
        if (forward && item && IsLastContentOf(this, item) && !ItemOf(neighbour, level)
            && neighbour->m_kind != kKindPre && neighbour->m_kind != kKindDl) {
            if (neighbour->m_kind == kKindTable)
                return changed;
            if (neighbour->IsTextElement() || neighbour->m_inline) {
                for (CElement* c = neighbour; c && !c->m_block;) {
                    CElement* next = c->m_nextSibling;
                    c->m_parent->RemoveCurrentChildFromList(c);
                    item->AppendChild(c);
                    c = next;
                }
            } else if (neighbour->m_kind == kKindP || neighbour->m_kind == kKindAddress
                || neighbour->m_heading) {
                JoinIntoItem(this, item, neighbour);
            } else if (IsContainerWithContent(neighbour)) {
                if (CTextElement* run = NextRun(branch, nullptr, false))
                    caretElement = run;
                return changed;
            } else if (neighbour->m_kind != kKindLi) {
                neighbour->m_parent->RemoveChild(neighbour->GetID(), true, true);
            }
            return true;
        }
        // 6. By the neighbour's kind.
        if (IsParagraphLike(neighbour)) {
            CElement* receiver = forward ? GetFirstBlockParent() : neighbour;
            CElement* giver = forward ? neighbour : branch;
            if (!receiver || CannotGoIntoPre(giver, receiver)) {
                if (m_owner && receiver)
                    m_owner->m_keyRefused = 1;
                return changed;
            }
            if (forward) {
                // The neighbour's content comes in at the end of the run's
                // block, after the inline elements that hold the run, not
                // inside them; blocks it holds stay blocks.
                if (IsThereBlockTypeChild(neighbour, false))
                    JoinForward(neighbour, receiver, TopInline(this, receiver));
                else
                    PullContentAfter(neighbour, TopInline(this, receiver));
            } else if (neighbour->m_kind == kKindLi && branch->m_kind == kKindLi
                && !IsThereBlockTypeChild(branch, false)) {
                // An item after one that ends in a nested list joins the
                // last item of that list, the line just above it, as Delete
                // at the end of that line joins them.
                MoveBranchInto(branch, JoinTarget(neighbour));
            } else {
                MoveBranchInto(branch, neighbour);
            }
            return true;
        }
        const long nk = neighbour->m_kind;
        if (IsContainerWithContent(neighbour)) {
            // A division (form, fieldset) beside the block is not taken
            // apart or deleted whole by one key: the caret goes into it, to
            // its last text going backward and its first going forward.
            CTextElement* run
                = forward ? NextRun(branch, nullptr, false) : PreviousRun(branch, nullptr, false);
            if (run) {
                run->m_caretOffset = forward ? 0 : run->m_text.Length();
                caretElement = run;
            }
            return changed;
        }
        if (nk == kKindTable || nk == kKindPre || nk == kKindDl) {
            if (!forward)
                return changed;
            CTextElement* next = NextRun(branch, nullptr, false);
            if (next)
                caretElement = next;
            if (branch != this && branch->IsEmptyTag(false))
                branch->m_parent->RemoveChild(branch->GetID(), true, true);
            return true;
        }
        if (neighbour->IsTextElement() || neighbour->m_inline || nk == kKindBr) {
            CElement* own = GetFirstBlockParent();
            if (forward && level != m_parent && branch->m_block && own) {
                // Inline content after this run's block joins it, after the
                // inline elements that hold the run.
                CElement* ref = TopInline(this, own);
                for (CElement* c = neighbour; c && !c->m_block;) {
                    CElement* next = c->m_nextSibling;
                    c->m_parent->RemoveCurrentChildFromList(c);
                    own->InsertChild(c, ref->GetID(), true);
                    ref = c;
                    c = next;
                }
                return true;
            }
            if (nk == kKindBr) {
                neighbour->m_parent->RemoveChild(neighbour->GetID(), true, true);
                return true;
            }
            CTextElement* run = forward ? NextRun(this, nullptr, true) : PreviousRun(this, nullptr, true);
            if (run)
                caretElement = run;
            return changed;
        }
        neighbour->m_parent->RemoveChild(neighbour->GetID(), true, true);
        return true;
    } catch (...) {
        return changed;
    }
}

namespace {

// The unit next to side's in the text of block, before (after) it: in its
// run, else the last (first) of the nearest run with text before (after)
// it; 0 when there is none.
unsigned short UnitBeside(const SeamSide& side, const CElement* block, bool before)
{
    if (const unsigned short c = side.Unit(before ? -1 : 1))
        return c;
    CTextElement* r = before ? PreviousRun(side.run, block, true) : NextRun(side.run, block, true);
    while (r && r->m_text.IsEmpty())
        r = before ? PreviousRun(r, block, true) : NextRun(r, block, true);
    if (!r)
        return 0;
    return r->m_text.GetAt(before ? r->m_text.Length() - 1 : 0);
}

} // namespace

void ReleaseSeamBlank(CTextElement* run, long offset)
{
    if (!run || !run->m_parent || run->IsElementUnderTag(kKindPre))
        return;
    const CElement* block = run->GetFirstBlockParent();
    SeamSide before;
    SeamSide after;
    if (offset > 0) {
        before = {run, static_cast<int>(offset) - 1};
    } else {
        CTextElement* p = PreviousRun(run, block, true);
        while (p && p->m_text.IsEmpty())
            p = PreviousRun(p, block, true);
        if (p)
            before = {p, p->m_text.Length() - 1};
    }
    if (offset < run->m_text.Length()) {
        after = {run, static_cast<int>(offset)};
    } else {
        CTextElement* n = NextRun(run, block, true);
        while (n && n->m_text.IsEmpty())
            n = NextRun(n, block, true);
        if (n)
            after = {n, 0};
    }
    if (!before.run || !after.run)
        return;
    const unsigned short left = before.Unit(0);
    const unsigned short right = after.Unit(0);
    // The units beyond the no-break space may stand in the runs beside
    // (a blank alone in a run between two links).
    const unsigned short outer = left == kNoBreakSpace ? UnitBeside(before, block, true)
        : right == kNoBreakSpace                       ? UnitBeside(after, block, false)
                                                       : 0;
    if (left == kNoBreakSpace && !IsBlankUnit(right) && outer != 0 && !IsBlankUnit(outer))
        before.run->m_text.SetAt(before.at, ' ');
    else if (right == kNoBreakSpace && !IsBlankUnit(left) && outer != 0 && !IsBlankUnit(outer))
        after.run->m_text.SetAt(after.at, ' ');
}
