#pragma once
// CDLElement: the definition list "dl". Made only by the element factory, which stores the final kind
// code.
//
// Its children are terms (dt) and definitions (dd, indented by their left
// margin of 40). An item is a run of one or more dt followed by the dd that
// belong to them: a dt that follows a dd starts the next item. Children of
// other kinds belong to no item.

#include "element/Element.h"

class CDLElement : public CElement
{
public:
    explicit CDLElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindDl; }

    // Slot 11: the base layout; right to left, each dd standing at least its
    // left margin in moves left by that margin, so the indent is on the
    // right. True.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 33: the base break; when the new half's parent is a dd whose
    // first child is not a text run, an empty run goes in front. Answers the
    // new half (null when nothing was broken), as every break does.
    CElement* BreakElement(long childId, bool force) override;
    // Slot 37: the base minimum size raises size.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;

    // The number of items.
    virtual int CountItems();
    // n > 0 appends n items (a dt and a dd, each holding an empty text run),
    // after giving a last dangling dt a dd of its own; n < 0 removes -n items
    // from the end, every dt and dd passed (other children stay). An element
    // that holds the caret gives it up first (to the next caret position
    // outside the removed items, else to the list itself), and removed
    // elements are queued on the document's removed list, so the caret never
    // names a destroyed element. Then StyleChanged(1). False for n = 0.
    virtual bool AddOrRemoveItems(int n);

private:
    // Appends a new tag element holding an empty text run; null on failure.
    CElement* AppendWithRun(const char* tag);
    // Moves the caret out of e when e holds it (itself or below).
    void MoveCaretOutOf(CElement* e);
};
