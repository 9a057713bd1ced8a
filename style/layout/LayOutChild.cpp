#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutReuse.h"
#include "style/layout/LayoutSteps.h"

void LayOutChildAt(CElement* child, CPoint pos, int width, int height, int containerWidth,
    int containerHeight, const LayoutCall& call)
{
    // The position first: floats inside the child are tested in document
    // coordinates, which add up the positions of its ancestors.
    child->Lay().m_position = pos;
    const CRect availBefore = child->Lay().m_availRect;
    const CRect containerBefore = child->Lay().m_containerRect;
    const LONG widthBefore = availBefore.right - availBefore.left;
    GiveArea(child, width, height, containerWidth, containerHeight);
    // A block whose content and surroundings did not change keeps its
    // records and is only placed.
    if (!call.noChildCalc && KeepsLastLayout(child, availBefore, containerBefore)) {
        child->Lay().m_layoutPass = LayoutNesting::CurrentPass();
        return;
    }
    // A text run is measured in every pass: its box is its own text in its
    // font, which a style change of its parent may have changed.
    if (call.noChildCalc && child->m_kind == kKindText)
        child->BuildCDC(call.dc);
    // A block's lines are made for the width it is given: a pass that keeps
    // the children's layouts still lays out again a block given another
    // width (a float beside it grew, shrank or moved). A width in em is the
    // block's own, set only after the area is given: it is not compared.
    const ELEMENT_STYLE& s = child->Style();
    const bool widthOfItsOwn = s.widthSet && s.width > 0 && s.widthUnit == kUnitEm;
    const bool otherWidth = child->m_kind != kKindText && !child->m_tablePart && !widthOfItsOwn
        && StandsOnOwnLine(child)
        && child->Lay().m_availRect.right - child->Lay().m_availRect.left != widthBefore;
    if (!call.noChildCalc || child->m_kind == kKindText || otherWidth) {
        child->CalculateReg(call.dc, call.info);
        NoteLaidOut(child);
    }
    child->Lay().m_layoutPass = LayoutNesting::CurrentPass();
}
