#pragma once
// CULElement: the lists "ul" and "ol". Made only by the element factory, which stores the final kind
// code.
//
// The list numbers its li children 1, 2, 3 ... in order (other children take
// no number) around each layout; each item draws its own marker
// (LIElement.h).

#include "element/Element.h"

class CULElement : public CElement
{
public:
    explicit CULElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindUl; }

    // Slot 11: the base layout, with the items numbered. True.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 33: the base break; when the new half's parent is an li whose
    // first child is not a text run, an empty run goes in front. Answers the
    // new half, as every break does (null when nothing was broken): callers
    // that split up to an ancestor drop an empty half, and must never be
    // handed a live ancestor in its place.
    CElement* BreakElement(long childId, bool force) override;

    // Numbers the li children from 1.
    void NumberItems();
};
