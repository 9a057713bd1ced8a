// The walk follows what reading does with blanks: a text run starts at a
// block's edge when nothing but empty runs, comments and empty inline
// elements stand between it and the start of the block (or a block before
// it), as in RemoveExtraSpace; it ends at the edge when only empty runs and
// comments follow it up to the end of the block (or a block after it), the
// ends of the inline elements around it included, as the reader trims.

#include "element/EdgeBlanks.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TextRunPass.h"
#include "element/services/XHTMLServices.h"

namespace {

constexpr unsigned short kBlank = ' ';
constexpr unsigned short kNoBreakSpace = 0xA0;

// A blank alone after an inline element inside another inline element
// (`<span>by <a>x</a> </span>` ending a block) reads back as it stands:
// it is no edge a write would lose.
bool KeptByReading(const CElement* run)
{
    if (run->m_text.Length() != 1 || run->m_text.GetAt(0) != kBlank)
        return false;
    const CElement* parent = run->m_parent;
    if (!parent || parent->m_block || !parent->m_inline)
        return false;
    const CElement* before = run->m_prevSibling;
    while (
        before && (before->m_kind == kKindComment || (before->IsTextElement() && before->m_text.IsEmpty())))
        before = before->m_prevSibling;
    return before && !before->IsTextElement() && before->m_inline && before->m_kind != kKindBr;
}

struct EdgeWalk
{
    bool drop = false; // delete the blanks instead of holding them
    const CElement* typingAt = nullptr;
    bool atStart = true;      // no text since the start of the block
    CElement* last = nullptr; // the last run with text, while nothing else followed it
    bool changed = false;

    long CaretOffset(const CElement* run) const { return run == typingAt ? run->m_caretOffset : -1; }

    // The blank at offset at of run is held or dropped.
    void Edge(CElement* run, int at)
    {
        changed = true;
        if (!drop) {
            run->m_text.SetAt(at, kNoBreakSpace);
            // Beside the caret: typing there may bring the blank back.
            const CElement* block = run->GetFirstBlockParent();
            if (block && run->m_owner && run->m_owner->m_doc.m_caretElement == run
                && (run->m_caretOffset == at + 1 || (at == 0 && run->m_caretOffset == 0))) {
                run->m_owner->m_doc.m_heldBlankBlock = block->GetID();
                run->m_owner->m_doc.m_heldBlankAt = OffsetInBlock(run, at);
            }
            return;
        }
        run->m_text.Delete(at, 1);
        if (run->m_owner && run->m_owner->m_doc.m_caretElement == run && run->m_caretOffset > at)
            --run->m_caretOffset;
    }

    void HoldStart(CElement* run)
    {
        if (run->m_text.GetAt(0) == kBlank && CaretOffset(run) != 0)
            Edge(run, 0);
    }

    // The end of the block's text: the last run's trailing blank.
    void HoldEnd()
    {
        CElement* run = last;
        last = nullptr;
        atStart = true;
        if (!run || KeptByReading(run))
            return;
        const int n = run->m_text.Length();
        if (n > 0 && run->m_text.GetAt(n - 1) == kBlank && CaretOffset(run) != n)
            Edge(run, n - 1);
    }

    void Block(CElement* block)
    {
        if (block->m_kind == kKindPre)
            return;
        HoldEnd();
        Children(block);
        HoldEnd();
    }

    void Children(CElement* e)
    {
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == kKindComment)
                continue;
            if (c->IsTextElement()) {
                if (c->m_text.IsEmpty())
                    continue;
                if (atStart)
                    HoldStart(c);
                if (c->m_text.IsEmpty()) // its one blank dropped
                    continue;
                atStart = false;
                last = c;
            } else if (c->m_block) {
                Block(c);
            } else if (SeparatesSpaceRuns(c) || !c->m_firstChild) {
                // Written as a tag of its own: a blank before it is not at
                // the end; one after it starts no block.
                last = nullptr;
                if (SeparatesSpaceRuns(c))
                    atStart = false;
            } else {
                Children(c);
            }
        }
    }
};

bool Walk(CElement* block, bool drop, const CElement* typingAt)
{
    if (!block || block->IsElementUnderTag(kKindPre))
        return false;
    EdgeWalk walk;
    walk.drop = drop;
    walk.typingAt = typingAt;
    if (block->m_block)
        walk.Block(block);
    else
        walk.Children(block);
    walk.HoldEnd();
    return walk.changed;
}

// The lengths of the text runs in e's subtree before stop, in document
// order, are added to sum; true once stop is reached.
bool SumUntil(const CElement* e, const CElement* stop, long& sum)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c == stop)
            return true;
        if (c->IsTextElement())
            sum += c->m_text.Length();
        else if (SumUntil(c, stop, sum))
            return true;
    }
    return false;
}

} // namespace

long OffsetInBlock(const CElement* run, long offset)
{
    const CElement* block = run ? run->GetFirstBlockParent() : nullptr;
    long sum = 0;
    if (!block || !SumUntil(block, run, sum))
        return -1;
    return sum + offset;
}

bool HoldEdgeBlanks(CElement* block, const CElement* typingAt) { return Walk(block, false, typingAt); }

bool DropEdgeBlanks(CElement* block) { return Walk(block, true, nullptr); }
