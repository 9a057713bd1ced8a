#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutSteps.h"

void LayOutChildAt(CElement* child, CPoint pos, int width, int height, int containerWidth,
    int containerHeight, const LayoutCall& call)
{
    // The position first: floats inside the child are tested in document
    // coordinates, which add up the positions of its ancestors.
    child->m_position = pos;
    GiveArea(child, width, height, containerWidth, containerHeight);
    if (!call.noChildCalc)
        child->CalculateReg(call.dc, call.info);
    child->m_layoutPass = LayoutNesting::CurrentPass();
}
