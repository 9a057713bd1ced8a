// Return in a text run: a new paragraph before or after the block at its
// edges, a line break inside pre, otherwise the block (paragraph, heading,
// list item ...) split in two at the caret, each half keeping the inline
// elements around its part of the text. Nothing happens inside a dt.

#include "elements/TextElement.h"

#include "element/EdgeBlanks.h"
#include "element/ElementUtilities.h"
#include "element/markup/TreeRepair.h"
#include "element/services/XHTMLServices.h"
#include "elements/BRElement.h"
#include "elements/TypingTree.h"

namespace {

// An li, dd or dt between e and block: the item is closer than the block.
bool ItemBetween(const CElement* e, const CElement* block)
{
    for (const CElement* a = e->m_parent; a && a != block; a = a->m_parent) {
        if (a->m_kind == kKindLi || a->m_kind == kKindDd || a->m_kind == kKindDt)
            return true;
    }
    return false;
}

// The block Return works on: the nearest p; else the nearest blockquote,
// heading or address, unless a list or definition item is closer.
CElement* EnclosingBlock(const CElement* run)
{
    if (CElement* p = run->IsElementUnderTag(kKindP))
        return p;
    CElement* candidates[] = {run->IsElementUnderTag(kKindBlockquote), run->IsElementUnderClass(0),
        run->IsElementUnderTag(kKindAddress)};
    for (CElement* c : candidates) {
        if (c)
            return ItemBetween(run, c) ? nullptr : c;
    }
    return nullptr;
}

bool IsContainer(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindP || k == kKindDiv || k == kKindFieldset || k == kKindBody || k == kKindTable
        || k == kKindAddress || k == kKindPre || e->m_tableCell || k == kKindCaption || k == kKindTr
        || IsListKind(k) || k == kKindLi || k == kKindDl || k == kKindDd || k == kKindDt || e->m_heading;
}

bool IsBlockSibling(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindP || k == kKindDiv || k == kKindFieldset || k == kKindTable || e->m_tableCell
        || k == kKindTr || k == kKindLi || e->m_heading || e->m_block;
}

// An aligned div around block is split instead of it.
CElement* StepOverAlignedDiv(CElement* block)
{
    CElement* parent = block->m_parent;
    CSafeBuf align;
    if (parent && parent->m_kind == kKindDiv && parent->GetAttrNoCase("align", align) && !align.IsEmpty())
        return parent;
    return block;
}

// An empty copy of block (no identifier attribute), inserted after it.
CElement* EmptyCopyAfter(CElement* block)
{
    CElement* copy = block->Duplicate();
    if (!copy)
        return nullptr;
    copy->m_attributes.RemoveKey("id");
    block->m_parent->InsertChild(copy, block->GetID(), true);
    return copy;
}

// The halves made by splitting the inline chain belong to different blocks
// now: they are no longer pieces of one element.
void Unpiece(CElement* from, CElement* top)
{
    for (CElement* a = from; a && a != top; a = a->m_parent)
        a->InlineIDInfo(2, 0);
}

// The run at the start of block: the first of its first descendants when
// it is a run, else a new empty run put before them.
CTextElement* FirstRunOf(CElement* block)
{
    CElement* e = block->m_firstChild;
    while (e && !e->IsTextElement() && e->m_firstChild)
        e = e->m_firstChild;
    if (e && e->IsTextElement())
        return static_cast<CTextElement*>(e);
    CTextElement* run = NewRun(block);
    if (run) {
        if (block->m_firstChild)
            block->InsertChild(run, block->m_firstChild->GetID(), false);
        else
            block->AppendChild(run);
    }
    return run;
}

// Return at the start of loose text (inline content standing directly in a
// division or quotation beside blocks): what stays before the new paragraph
// holds nothing. It becomes an empty paragraph, as a block's start gives one;
// an empty run standing loose would not be written. run is the caret's run,
// child the emptied top of its inline chain.
void EmptyParagraphBefore(CElement* run, CElement* child, CElement* container)
{
    CElement* first = child;
    for (; first->m_prevSibling && !IsBlockSibling(first->m_prevSibling); first = first->m_prevSibling)
        if (!first->m_prevSibling->IsEmptyTag(true))
            return;
    if (!child->IsEmptyTag(true))
        return;
    CElement* p = NewElement("p", container);
    if (!p)
        return;
    container->InsertChild(p, first->GetID(), false);
    // The emptied elements the run stood among go; the run goes into p.
    for (CElement* c = first; c;) {
        CElement* next = c == child ? nullptr : c->m_nextSibling;
        if (c != child && c != run)
            container->RemoveChild(c->GetID(), true, true);
        c = next;
    }
    run->m_parent->RemoveCurrentChildFromList(run);
    p->AppendChild(run);
    if (child != run)
        container->RemoveChild(child->GetID(), true, true);
    p->StyleChanged(1);
}

} // namespace

bool CTextElement::ReturnKey(unsigned int repeat, bool quiet, CElement*& moved, int& notify)
{
    if (IsElementUnderTag(kKindDt))
        return false;
    CElement* parent = m_parent;
    if (!parent)
        return false;
    const int n = m_text.Length();
    CElement* block = EnclosingBlock(this);

    // At the block's start: an empty paragraph before it; the caret stays.
    if (m_caretOffset == 0 && block && IsFirstContentOf(this, block) && block->m_parent) {
        if (!ParagraphBeside(block, false))
            return true;
        notify = quiet ? 0 : 6;
        return true;
    }
    // At the block's end: an empty paragraph after it takes the caret.
    if (m_caretOffset >= n && block && IsLastContentOf(this, block) && block->m_parent) {
        CElement* run = ParagraphBeside(block, true);
        if (!run)
            return true;
        // The blank typed last now ends the block's text.
        HoldEdgeBlanks(block);
        PutCaret(run, 0);
        moved = run;
        notify = quiet ? 0 : 6;
        return true;
    }
    // At the end of inline elements: Return goes on in an empty run after
    // the outermost of them, so the new paragraph starts without them.
    if (m_caretOffset >= n && parent->m_inline && IsLastContentOf(this, parent)) {
        CElement* outer = parent;
        while (outer->m_parent && outer->m_parent->m_inline && IsLastContentOf(outer, outer->m_parent))
            outer = outer->m_parent;
        CTextElement* run = NewRun(outer->m_parent);
        if (!run)
            return true;
        outer->m_parent->InsertChild(run, outer->GetID(), true);
        if (HoldsCaret(this))
            PutCaret(run, 0);
        CPoint point;
        int length = 0;
        bool unused = false;
        CElement* next = nullptr;
        run->OnChar(13, repeat, 0, unused, point, length, next, quiet);
        moved = next ? next : run;
        return true;
    }

    CTextElement* rest = static_cast<CTextElement*>(BreakElement(0, false));
    if (!rest)
        return true;
    if (IsElementUnderTag(kKindPre)) {
        // At the start of inline elements the line end goes before the
        // outermost of them, with the emptied run: reading the markup puts
        // a line end that starts an inline element in front of it, so the
        // value read back (undo, redo, a reload) is this tree.
        CElement* outer = nullptr;
        if (m_text.IsEmpty()) {
            for (CElement* a = parent; a->m_inline && a->m_parent && IsFirstContentOf(this, a);
                 a = a->m_parent)
                outer = a;
        }
        if (outer) {
            parent->RemoveCurrentChildFromList(this);
            outer->m_parent->InsertChild(this, outer->GetID(), false);
            StyleChanged(1);
        }
        CElement* br = NewElement("br", m_parent);
        if (br) {
            static_cast<CBRElement*>(br)->m_preBreak = true;
            m_parent->InsertChild(br, m_id, true);
        }
        notify = quiet ? 0 : 6;
        moved = rest;
        return true;
    }

    // The container and the child of it on the way up.
    CElement* child = this;
    CElement* container = parent;
    while (container && !IsContainer(container)) {
        child = container;
        container = container->m_parent;
    }
    if (!container || !container->m_parent)
        return true;
    const long k = container->m_kind;
    CElement* target = nullptr; // the new block
    CElement* receiver = nullptr;
    bool loose = false;
    if (k == kKindP || container->m_heading || k == kKindAddress || k == kKindLi || k == kKindDt) {
        CElement* split = k == kKindLi || k == kKindDt ? container : StepOverAlignedDiv(container);
        target = EmptyCopyAfter(split);
        receiver = target;
        if (split != container) {
            // The aligned div's copy holds a copy of the paragraph.
            receiver = container->Duplicate();
            if (receiver) {
                receiver->m_attributes.RemoveKey("id");
                target->AppendChild(receiver);
            }
        }
    } else {
        // Loose text: a new paragraph after the child on the way.
        loose = true;
        CElement* at = StepOverAlignedDiv(child);
        target = NewElement("p", at->m_parent);
        if (target)
            at->m_parent->InsertChild(target, at->GetID(), true);
        receiver = target;
    }
    if (!target || !receiver) {
        notify = 6;
        return true;
    }
    // What follows the caret moves into the new block: the inline chain is
    // split at the run, and the split-off half and everything after it go.
    CElement* first = rest;
    // The split drops a top-most half that holds nothing but empty runs:
    // then the run after the caret went with it.
    bool restGone = false;
    const bool caretInRest = HoldsCaret(rest);
    if (child != this && child != rest) {
        CElement* top = nullptr;
        if (parent->SplitUntilParent(&top, child->GetID(), m_id) && top) {
            Unpiece(rest->m_parent, container);
            Unpiece(parent, container);
            first = top;
        } else {
            restGone = !top;
            first = child->m_nextSibling;
        }
    }
    for (CElement* c = first; c;) {
        CElement* next = c->m_nextSibling;
        // The new paragraph of loose text went in right after the child,
        // so the half split off the inline chain comes before it: what
        // follows it goes too.
        if (c == target) {
            c = next;
            continue;
        }
        if (loose && c != first && IsBlockSibling(c))
            break;
        c->m_parent->RemoveCurrentChildFromList(c);
        receiver->AppendChild(c);
        c = next;
    }
    if (!receiver->m_firstChild)
        receiver->AppendChild(NewRun(receiver));
    if (loose && !restGone && child == StepOverAlignedDiv(child) && child->m_parent == container)
        EmptyParagraphBefore(this, child, container);
    // A blank beside the caret now ends the first block's text or starts
    // the new one's.
    HoldEdgeBlanks(container);
    HoldEdgeBlanks(target);
    target->StyleChanged(1);
    if (restGone) {
        // The caret starts the new block, as it would have in the run.
        CheckParagraphForTable(this, nullptr);
        CheckParagraphForDLType(this, nullptr);
        if (caretInRest) {
            CTextElement* start = FirstRunOf(receiver);
            PutCaret(start, 0);
            moved = start;
        }
        notify = repeat != 0 ? 6 : 0;
        return true;
    }
    // The new paragraph does not start inside an emptied link.
    if (rest->m_parent && rest->m_parent->m_kind == kKindA && rest->m_parent->IsEmptyTag(false)
        && rest->m_parent->m_parent) {
        rest->m_parent->m_parent->RemoveChildNodeOnly(rest->m_parent->GetID());
    }
    // Loose text left beside the new paragraph in a cell or definition item
    // goes into a paragraph of its own.
    CheckParagraphForTable(this, nullptr);
    CheckParagraphForDLType(this, nullptr);
    if (HoldsCaret(rest))
        moved = rest;
    notify = repeat != 0 ? 6 : 0;
    return true;
}
