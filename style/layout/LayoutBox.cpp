// Edges, sizes, line roles and areas of element boxes.

#include "style/layout/LayoutBox.h"

#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "elements/TDElement.h"
#include "style/layout/LayoutLimits.h"

#include <algorithm>

namespace {

int NonNegative(long v) { return ClampLength(std::max<int>(0, v)); }

// The sides of r held between 0 and the length bound.
BoxEdges EdgesOf(const CRect& r)
{
    BoxEdges edges;
    edges.left = NonNegative(r.left);
    edges.top = NonNegative(r.top);
    edges.right = NonNegative(r.right);
    edges.bottom = NonNegative(r.bottom);
    return edges;
}

} // namespace

BoxEdges FlowBorders(CElement* e)
{
    CRect r;
    if (!e->m_tableCell)
        e->GetBorderRect(r, true);
    return EdgesOf(r);
}

BoxEdges Paddings(CElement* e)
{
    CRect r;
    GetCellpadding(e, r);
    return EdgesOf(r);
}

BoxEdges ContentEdges(CElement* e)
{
    const BoxEdges b = FlowBorders(e);
    const BoxEdges p = Paddings(e);
    BoxEdges c;
    c.left = b.left + p.left;
    c.top = b.top + p.top;
    c.right = b.right + p.right;
    c.bottom = b.bottom + p.bottom;
    if (e->m_kind == kKindBody) {
        c.left += NonNegative(e->Lay().m_marginLeftTop.x);
        c.top += NonNegative(e->Lay().m_marginLeftTop.y);
        c.right += NonNegative(e->Lay().m_marginRightBottom.x);
        c.bottom += NonNegative(e->Lay().m_marginRightBottom.y);
    }
    return c;
}

int BoxWidth(const CElement* e) { return e->Lay().m_sizeRect.right - e->Lay().m_sizeRect.left; }

int BoxHeight(const CElement* e) { return e->Lay().m_sizeRect.bottom - e->Lay().m_sizeRect.top; }

int BaselineOf(const CElement* e)
{
    return e->Lay().m_baseline.y > 0 ? static_cast<int>(e->Lay().m_baseline.y) : std::max(0, BoxHeight(e));
}

bool LaysOutAsBlock(const CElement* e)
{
    if (!e->m_inline)
        return true;
    return e->m_kind == kKindCustom && IsThereBlockChild(e, false);
}

bool StandsOnOwnLine(const CElement* e)
{
    if (e->m_block || e->m_kind == kKindCenter)
        return true;
    return e->m_kind == kKindCustom && e->m_inline && IsThereBlockChild(e, false);
}

int OwnContentWidth(CElement* e, int whole)
{
    if (whole <= 0)
        return 0;
    const int w = whole - ContentEdges(e).Horizontal();
    return w > 0 ? w : 1;
}

bool PercentWidthCounts(const CElement* e) { return e->m_tablePart || SpansGivenWidth(e); }

void GiveArea(CElement* e, int width, int height, int containerWidth, int containerHeight)
{
    if (e->m_kind == kKindText)
        return;
    e->Lay().m_containerRect = CRect(0, 0, std::max(0, containerWidth), std::max(0, containerHeight));
    const BoxEdges edges = ContentEdges(e);
    // Less the edges; a side that had room keeps at least one pixel.
    int w = width - edges.Horizontal();
    int h = height - edges.Vertical();
    w = w > 0 ? w : width > 0 ? 1 : 0;
    h = h > 0 ? h : height > 0 ? 1 : 0;
    const ELEMENT_STYLE& s = e->Style();
    if (s.widthSet && s.width > 0) {
        if (s.widthUnit == kUnitPixels)
            w = s.width;
        else if (s.widthUnit == kUnitPercent && PercentWidthCounts(e))
            w = OwnContentWidth(
                e, ClampLength(static_cast<long long>(s.width) * e->Lay().m_containerRect.right / 100));
    }
    e->Lay().m_availRect = CRect(0, 0, ClampLength(w), ClampLength(h));
}

bool LineHeightOf(CElement* e, bool ownOnly, int useOwnFont, int& pixels)
{
    pixels = 0;
    const NewIntStyleValue& cell = e->Style().lineHeight;
    if (!cell.set || (ownOnly && cell.inherited))
        return false;
    const int unit = (cell.value >> 16) & 0xFFFF;
    const int number = static_cast<std::int16_t>(cell.value & 0xFFFF);
    pixels = e->GetPxValue(number, unit, useOwnFont, 0);
    return true;
}
