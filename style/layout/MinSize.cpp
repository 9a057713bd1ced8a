// The narrowest an element can be laid out (GetMinSize), for the layouts
// that size columns and floats by their content.

#include "element/Element.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>

// The largest minimum of the children; a block (not a cell) adds its
// horizontal edges and margins, an inline element the edges and margins
// its piece shows. A pixel CSS width and the CSS height raise it unless
// ignoreOwnSize. The result only raises what size holds.
bool CElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    LayoutNesting nesting(this);
    if (nesting.TooDeep())
        return true;
    CSize least(0, 0);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        CSize child(0, 0);
        c->GetMinSize(child, false);
        least.cx = std::max(least.cx, child.cx);
        least.cy = std::max(least.cy, child.cy);
    }
    if (m_block && !m_tableCell) {
        const BoxEdges edges = ContentEdges(this);
        least.cx = AddCoord(least.cx,
            static_cast<long long>(edges.Horizontal()) + Lay().m_marginLeftTop.x
                + Lay().m_marginRightBottom.x);
    } else if (m_inline) {
        const int state = WrapStateOf(this);
        const BoxEdges border = FlowBorders(this);
        const BoxEdges padding = Paddings(this);
        if (ShowsLeftEdge(state))
            least.cx = AddCoord(
                least.cx, static_cast<long long>(border.left) + padding.left + Lay().m_marginLeftTop.x);
        if (ShowsRightEdge(state))
            least.cx = AddCoord(
                least.cx, static_cast<long long>(border.right) + padding.right + Lay().m_marginRightBottom.x);
    }
    if (!ignoreOwnSize) {
        if (Style().widthSet && Style().widthUnit == kUnitPixels)
            least.cx = std::max<LONG>(least.cx, Lay().m_cssRect.right);
        least.cy = std::max<LONG>(least.cy, Lay().m_cssRect.bottom);
    }
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return true;
}
