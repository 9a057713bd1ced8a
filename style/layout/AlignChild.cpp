// Aligning an element's children inside its box (AlignChild).
//
// Vertically (middle, bottom) the children move together within the content
// height. Horizontally (centre, right) each line moves on its own within the
// content width, less the room right floats take on it (a line aligned right
// ends 1 pixel short of the content's right edge): children form a new
// line when one's top lies at or below the lowest bottom of the line so far
// (floats are left out); moved right, a list item's first line keeps the
// room of its marker at its right end. Children never move up or left. The
// element then spans the whole width it was given (not a table part, nor a
// break).

#include "element/Element.h"
#include "elements/LIElement.h"
#include "style/floats/FloatIndex.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// A line aligned right ends this far short of the content's right edge.
constexpr int kRightAlignGap = 1;

void MoveChildren(CElement* e, int dx, int dy)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        MoveBox(c, CPoint(AddCoord(c->Lay().m_position.x, dx), AddCoord(c->Lay().m_position.y, dy)));
    }
}

void AlignVertically(CElement* e, int alignment)
{
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsFloatType())
            continue;
        top = std::min<int>(top, c->Lay().m_position.y);
        bottom = std::max<int>(bottom, AddCoord(c->Lay().m_position.y, BoxHeight(c)));
    }
    if (top > bottom)
        return;
    CRect extent(0, top, 0, bottom);
    if (alignment == kAlignMiddle) {
        e->GetMaxAreaWithFloat(extent);
        top = extent.top;
        bottom = extent.bottom;
    }
    const BoxEdges edges = ContentEdges(e);
    const int height = std::max<int>(BoxHeight(e), e->Lay().m_cssRect.bottom);
    int dy = 0;
    if (alignment == kAlignMiddle)
        dy = edges.top + (height - edges.Vertical() - (bottom - top)) / 2 - top;
    else
        dy = height - edges.bottom - bottom;
    if (dy > 0)
        MoveChildren(e, 0, dy);
}

void AlignLines(CElement* e, int alignment)
{
    const BoxEdges edges = ContentEdges(e);
    const int avail = std::max<int>(0, e->Lay().m_availRect.right - e->Lay().m_availRect.left);
    const CPoint origin = DocumentPosition(e);
    // A list item's marker keeps its room at the right end of the first
    // line when the line moves right.
    int markerRoom = 0;
    CSize marker;
    CLIElement* item = alignment == kAlignRight ? dynamic_cast<CLIElement*>(e) : nullptr;
    if (item && item->GetListMarkerSize(nullptr, marker))
        markerRoom = std::max<int>(0, marker.cx);
    std::vector<CElement*> line;
    auto alignLine = [&]() {
        if (line.empty())
            return;
        int left = INT_MAX;
        int right = INT_MIN;
        int top = INT_MAX;
        int bottom = INT_MIN;
        for (CElement* c : line) {
            left = std::min<int>(left, c->Lay().m_position.x);
            right = std::max(
                right, AddCoord(c->Lay().m_position.x, BoxWidth(c) + c->Lay().m_marginRightBottom.x));
            top = std::min<int>(top, c->Lay().m_position.y);
            bottom = std::max(bottom, AddCoord(c->Lay().m_position.y, BoxHeight(c)));
        }
        CPoint leftFloats, rightFloats;
        e->GetFloatWidthOfLine(CRect(AddCoord(origin.x, edges.left), AddCoord(origin.y, top),
                                   AddCoord(origin.x, edges.left + avail), AddCoord(origin.y, bottom)),
            leftFloats, rightFloats);
        const int room = avail - static_cast<int>(rightFloats.x) - markerRoom;
        markerRoom = 0;
        const int dx = alignment == kAlignCenter ? edges.left + (room - (right - left)) / 2 - left
                                                 : AddCoord(edges.left, room) - kRightAlignGap - right;
        if (dx > 0) {
            for (CElement* c : line)
                MoveBox(c, CPoint(AddCoord(c->Lay().m_position.x, dx), c->Lay().m_position.y));
        }
        line.clear();
    };
    int lineBottom = INT_MIN;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsFloatType())
            continue;
        if (!line.empty() && c->Lay().m_position.y >= lineBottom)
            alignLine();
        if (line.empty())
            lineBottom = INT_MIN;
        line.push_back(c);
        lineBottom = std::max(lineBottom, AddCoord(c->Lay().m_position.y, BoxHeight(c)));
    }
    alignLine();
    if (!e->m_tablePart && e->m_kind != kKindBr)
        e->Lay().m_sizeRect.right
            = std::max<LONG>(e->Lay().m_sizeRect.right, AddCoord(avail, edges.Horizontal()));
}

} // namespace

bool CElement::AlignChild(int alignment)
{
    switch (alignment) {
    case kAlignMiddle:
    case kAlignBottom: AlignVertically(this, alignment); return true;
    case kAlignCenter:
    case kAlignRight: AlignLines(this, alignment); return true;
    default: return false;
    }
}
