// The nearest element to a point: each element of the subtree offers the
// point of its box (document coordinates) closest to the pointer in the
// search's direction, and the closest offer wins, distances compared row
// first (a candidate more than a pixel further down or up loses) and then
// across. Going up or down, the block order of the tree decides before the
// distance: an element in a block that stands above the caret's (below it,
// going down) is taken over a nearer one beside it.

#include "element/Caret.h"
#include "element/Element.h"

#include <cstdlib>

namespace {

long Clamp(long v, long low, long high) { return v < low ? low : (v > high ? high : v); }

CElement* CellAround(CElement* e)
{
    for (CElement* c = e; c; c = c->m_parent) {
        if (IsCellKind(c->m_kind))
            return c;
    }
    return nullptr;
}

} // namespace

bool CElement::FindNearElement(CPoint pt, int mode, CPoint& best, CElement** bestElement, long excludeId,
    bool stopsOnly, CElement* reference)
{
    if (!bestElement || best == pt)
        return false;
    bool changed = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->FindNearElement(pt, mode, best, bestElement, excludeId, stopsOnly, reference))
            changed = true;
        if (best == pt)
            return true;
    }
    if ((!stopsOnly || CanGetKeyFocus()) && m_id != excludeId) {
        CPoint tl(Lay().m_sizeRect.left, Lay().m_sizeRect.top),
            br(Lay().m_sizeRect.right, Lay().m_sizeRect.bottom);
        ElementToScreen(tl);
        ElementToScreen(br);
        CPoint c;
        bool take = true, forced = false;
        switch (mode) {
        case 0: c = CPoint(Clamp(pt.x, tl.x, br.x), Clamp(pt.y, tl.y, br.y)); break;
        case 3:
            take = br.x <= pt.x;
            c = CPoint(br.x, Clamp(pt.y, tl.y, br.y));
            break;
        case 4:
            take = tl.x >= pt.x;
            c = CPoint(tl.x, Clamp(pt.y, tl.y, br.y));
            break;
        case 1:
        case 2: {
            const bool up = mode == 1;
            take = up ? br.y <= pt.y : tl.y >= pt.y;
            if (take) {
                CElement* b = *bestElement;
                if (up ? IsAboveBlock(reference, this) : IsAboveBlock(this, reference))
                    take = false;
                else if (up ? IsAboveBlock(b, this) : IsAboveBlock(this, b))
                    forced = true;
                else if (up ? IsAboveBlock(this, b) : IsAboveBlock(b, this))
                    take = false;
            }
            c = CPoint(Clamp(pt.x, tl.x, br.x), up ? br.y : tl.y);
            break;
        }
        default: take = false;
        }
        if (take && (c.x < 0 || c.y < 0))
            take = false;
        if (take && best.x >= 0 && !forced) {
            const long dx = std::labs(c.x - pt.x), dy = std::labs(c.y - pt.y);
            const long bdx = std::labs(best.x - pt.x), bdy = std::labs(best.y - pt.y);
            const long rows = dy - bdy;
            if (rows > 1)
                take = false;
            else if (rows >= -1 && dx > bdx)
                take = false;
            else if (dx * dy == 0 && bdx * bdy == 0) {
                switch (mode) {
                case 0:
                    if ((c.x != best.x && c.y == best.y && dx > bdx) || (c.x == best.x && dy > bdy))
                        take = false;
                    break;
                case 1: take = c.y >= best.y; break;
                case 2: take = c.y <= best.y; break;
                case 3: take = c.x >= best.x; break;
                case 4: take = c.x <= best.x; break;
                }
            }
        }
        if (take) {
            best = c;
            *bestElement = this;
            changed = true;
        }
    }
    if (m_kind == kKindBody && !m_parent && *bestElement) {
        // The cell under the pointer is searched alone first.
        CElement* under = CellAround(WhereCursorOn(pt));
        if (under && under != CellAround(*bestElement)) {
            CPoint inCell(-1, 0);
            CElement* found = nullptr;
            under->FindNearElement(pt, mode, inCell, &found, excludeId, stopsOnly, reference);
            if (found) {
                best = inCell;
                *bestElement = found;
                changed = true;
            }
        }
    }
    return changed;
}
