// An inline element's children side by side (LayOutInline).
//
// A wrapped element's pieces show their left borders, paddings and margins
// only on the first piece and their right ones only on the last. Children
// follow one another from the left edge and stand on one baseline, the
// largest of theirs; sub content sits half the element's font size lower,
// sup content as much higher, and the box grows by that much. Floats inside
// are placed relative to the block around the element: a right float at
// the right end of the available width, any other at x = 3, never above
// the element's top, then clear of the floats before them.

#include "element/Element.h"
#include "style/floats/FloatIndex.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutSteps.h"
#include "style/records/FontDefaults.h"

#include <algorithm>

namespace {

constexpr int kInlineFloatX = 3;

void PlaceInlineFloat(CElement* e, CElement* c, const BoxEdges& border, const BoxEdges& padding, int avail,
    const LayoutCall& call)
{
    LayOutChildAt(c, CPoint(kInlineFloatX, 0), avail, 0, avail, 0, call);
    CPoint pos(kInlineFloatX, c->m_inline ? 0 : std::max<int>(0, c->Lay().m_marginLeftTop.y));
    if (c->Style().floatSide.value == kFloatRight && avail > 0) {
        const int x = avail - BoxWidth(c) - c->Lay().m_marginRightBottom.x - border.right - padding.left;
        pos.x = std::max(0, x);
    }
    MoveBox(c, pos);
    CPoint leftRoom, rightRoom;
    e->CalcValidPosition(c, pos, leftRoom, rightRoom, nullptr, call.sameBlockOnly, call.info);
    MoveBox(c, CPoint(AddCoord(pos.x, leftRoom.x), AddCoord(pos.y, leftRoom.y)));
    c->Lay().m_lineGroup = 0;
    c->Lay().m_layoutPass = LayoutNesting::CurrentPass();
    NoteFloatPlaced(c);
}

} // namespace

void LayOutInline(CElement* e, const LayoutCall& call)
{
    const int state = WrapStateOf(e);
    const BoxEdges border = FlowBorders(e);
    const BoxEdges padding = Paddings(e);
    const int left = ShowsLeftEdge(state) ? border.left + padding.left : 0;
    const int right = ShowsRightEdge(state) ? border.right + padding.right : 0;
    const int top = border.top + padding.top;
    const int avail = std::max<int>(0, e->Lay().m_availRect.right - e->Lay().m_availRect.left);
    const int availHeight = std::max<int>(0, e->Lay().m_availRect.bottom - e->Lay().m_availRect.top);

    int x = left;
    int height = 0;
    int baseline = 0;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        c->CalcForAll(call.dc, false, false);
        if (c->IsFloatType()) {
            PlaceInlineFloat(e, c, border, padding, avail, call);
            continue;
        }
        int ml = c->Lay().m_marginLeftTop.x;
        int mr = c->Lay().m_marginRightBottom.x;
        if (c->m_inline) {
            const int cs = WrapStateOf(c);
            ml = ShowsLeftEdge(cs) ? ml : 0;
            mr = ShowsRightEdge(cs) ? mr : 0;
        }
        const int mt = c->m_block ? c->Lay().m_marginLeftTop.y : 0;
        const int mb = c->m_block ? c->Lay().m_marginRightBottom.y : 0;
        const int width = c->m_block ? std::max(0, avail - std::max(0, ml) - std::max(0, mr)) : avail;
        LayOutChildAt(c, CPoint(AddCoord(x, ml), top), width, availHeight, avail, availHeight, call);
        x = AddCoord(c->Lay().m_position.x, BoxWidth(c) + mr);
        height = std::max(height, AddCoord(BoxHeight(c), mt + mb));
        baseline = std::max(baseline, BaselineOf(c) + mt);
    }

    const int fontSize = e->Lay().m_pxFontSize > 0 ? e->Lay().m_pxFontSize : kBaseFontSize;
    const int down = e->m_kind == kKindSub ? fontSize / 2 : 0;
    const int up = e->m_kind == kKindSup ? fontSize / 2 : 0;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->IsFloatType())
            MoveBox(c, CPoint(c->Lay().m_position.x, AddCoord(top, baseline - BaselineOf(c) + down)));
    }
    e->Lay().m_sizeRect
        = CRect(0, 0, AddCoord(x, right), AddCoord(top, height + up + down + border.bottom + padding.bottom));
    e->Lay().m_baseline = CPoint(0, AddCoord(top, baseline + up));
}
