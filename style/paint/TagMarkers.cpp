// Tag markers: reserving their room, placing and drawing them.

#include "style/paint/TagMarkers.h"

#include "element/Element.h"
#include "element/services/XDocServices.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>

namespace qm::paint {

namespace {

int WidthOf(const CRect& r) { return r.right - r.left; }
int HeightOf(const CRect& r) { return r.bottom - r.top; }

} // namespace

MarkerShape MarkerShapeOf(const CElement* e)
{
    if (e->m_inline)
        return MarkerShape::Inline;
    if (e->m_block || e->m_tablePart || e->m_list || e->m_defList)
        return MarkerShape::Block;
    return MarkerShape::Other;
}

MarkerRoom ComputeMarkerRoom(MarkerShape shape, int wrapState, int labelWidth, int labelHeight)
{
    MarkerRoom room;
    const int h = labelHeight + (labelHeight & 1);
    const int side = h / 2 + labelWidth + 9;
    room.boxWidth = side;
    room.boxHeight = h + 2;
    switch (shape) {
    case MarkerShape::Inline:
        room.start = ShowsLeftEdge(wrapState);
        room.end = ShowsRightEdge(wrapState);
        room.left = room.start ? side : 0;
        room.right = room.end ? side : 0;
        break;
    case MarkerShape::Block:
        room.start = room.end = true;
        room.top = room.bottom = h + 8;
        break;
    case MarkerShape::Other:
        room.start = room.end = true;
        room.left = room.right = side;
        break;
    }
    return room;
}

void MarkerBoxes(const CElement* e, CPoint origin, CRect& start, CRect& end)
{
    start.SetRectEmpty();
    end.SetRectEmpty();
    const int sw = WidthOf(e->Rare().m_startMarker), sh = HeightOf(e->Rare().m_startMarker);
    const int ew = WidthOf(e->Rare().m_endMarker), eh = HeightOf(e->Rare().m_endMarker);
    const int x = origin.x, y = origin.y;
    const int w = WidthOf(e->Lay().m_sizeRect), h = HeightOf(e->Lay().m_sizeRect);
    switch (MarkerShapeOf(e)) {
    case MarkerShape::Block: {
        if (sw > 0)
            start = CRect(x, y - sh, x + sw, y);
        const int right = x + (e->m_tablePart ? w : std::max(w, WidthOf(e->Lay().m_availRect)));
        if (ew > 0)
            end = CRect(right - ew, y + h, right, y + h + eh);
        break;
    }
    case MarkerShape::Inline:
    case MarkerShape::Other: {
        int top = y;
        if (e->m_kind == kKindImg && h > sh)
            top += (h - sh) / 2;
        // A wrapped piece shows the start only where the element starts and
        // the end only where it ends, whatever its last layout reserved.
        const int state = e->m_inline ? WrapStateOf(e) : 0;
        if (sw > 0 && ShowsLeftEdge(state))
            start = CRect(
                x - e->Lay().m_marginLeftTop.x, top, x - e->Lay().m_marginLeftTop.x + sw - 1, top + sh);
        const int right = x + w + e->Lay().m_marginRightBottom.x;
        if (ew > 0 && ShowsRightEdge(state))
            end = CRect(right - ew, top, right, top + eh);
        break;
    }
    }
}

} // namespace qm::paint

using namespace qm::paint;

namespace {

qm::text::Layout* MarkerLayout(CElement* e)
{
    if (!e->m_owner)
        return nullptr;
    CXDocServices& doc = e->m_owner->m_doc;
    if (!doc.m_markerLayout)
        doc.SysInit();
    return doc.m_markerLayout.get();
}

unsigned long MarkerColour(const NewIntStyleValue& cell, unsigned long fallback)
{
    return cell.set && cell.value >= 0 ? static_cast<unsigned long>(cell.value) : fallback;
}

// One arrow: filled and outlined, then its label. start points right.
void DrawOneMarker(CElement* e, qm::cg::Context* ctx, qm::text::Layout& layout, qm::text::Style& style,
    CRect box, bool start)
{
    if (box.left < 0 || box.right <= box.left)
        return;
    const ELEMENT_STYLE& s = e->Style();
    if (start) {
        box.left += 2;
        if (MarkerShapeOf(e) == MarkerShape::Block)
            box.OffsetRect(0, -2);
    }
    const int h = box.bottom - box.top;
    const int half = h / 2;
    const int middle = box.top + half;
    POINT p[5];
    if (start) {
        p[0] = {box.left, box.top};
        p[1] = {box.right - half - 2, box.top};
        p[2] = {box.right - 2, middle};
        p[3] = {box.right - (h - half) - 2, box.bottom};
        p[4] = {box.left, box.bottom};
    } else {
        p[0] = {box.right, box.top};
        p[1] = {box.left + half + 2, box.top};
        p[2] = {box.left + 2, middle};
        p[3] = {box.left + (h - half) + 2, box.bottom};
        p[4] = {box.right, box.bottom};
    }
    xDrawPolygon(ctx, p, MarkerColour(s.markerBackgroundColor, kMarkerDefaultBackground),
        MarkerColour(s.markerBorderColor, RGB(0, 0, 0)), e);
    const unsigned long text = MarkerColour(s.markerColor, RGB(0, 0, 0));
    style.SetColor(text & 0xFF, (text >> 8) & 0xFF, (text >> 16) & 0xFF);
    const double x = start ? box.left + 2 : box.left + half + 2;
    const double baseline = ctx->Height() - (box.bottom - 2);
    layout.Draw(0, layout.Length(), x, baseline);
}

} // namespace

void CElement::CalcForMarker(void*, bool)
{
    if (m_rare) {
        m_rare->m_startMarker.SetRectEmpty();
        m_rare->m_endMarker.SetRectEmpty();
    }
    if (Rare().m_markerLabel.IsEmpty() || IsRoot(this))
        return;
    qm::text::Layout* layout = MarkerLayout(this);
    if (!layout)
        return;
    layout->SetText(static_cast<const unsigned short*>(Rare().m_markerLabel), Rare().m_markerLabel.Length());
    qm::text::TextRect ink{};
    layout->ImageBounds(0, layout->Length(), ink);
    const MarkerRoom room = ComputeMarkerRoom(
        MarkerShapeOf(this), WrapStateOf(this), ink.right - ink.left, ink.bottom - ink.top);
    Lay().m_marginLeftTop.x += room.left;
    Lay().m_marginLeftTop.y += room.top;
    Lay().m_marginRightBottom.x += room.right;
    Lay().m_marginRightBottom.y += room.bottom;
    if (room.start)
        EditRare().m_startMarker = CRect(0, 0, room.boxWidth, room.boxHeight);
    if (room.end)
        EditRare().m_endMarker = CRect(0, 0, room.boxWidth, room.boxHeight);
}

bool CElement::DrawMarker(void* dc, CPoint& origin)
{
    auto* ctx = static_cast<qm::cg::Context*>(dc);
    if (!ctx || Rare().m_markerLabel.IsEmpty() || IsRoot(this))
        return false;
    if (WidthOf(Rare().m_startMarker) <= 0 && WidthOf(Rare().m_endMarker) <= 0)
        return false;
    qm::text::Layout* layout = MarkerLayout(this);
    qm::text::Style* style = m_owner->m_doc.m_markerStyle.get();
    if (!layout || !style)
        return false;
    CRect start, end;
    MarkerBoxes(this, origin, start, end);
    layout->SetText(static_cast<const unsigned short*>(Rare().m_markerLabel), Rare().m_markerLabel.Length());
    layout->SetContext(ctx);
    DrawOneMarker(this, ctx, *layout, *style, start, true);
    DrawOneMarker(this, ctx, *layout, *style, end, false);
    layout->SetContext(nullptr);
    return true;
}

bool CElement::DrawMarkOnElement(void*, CPoint) { return false; }
