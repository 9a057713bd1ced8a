// Splitting an inline element (span, b, a ...) where a line ends
// (WrapElement), and the size of an element's first unbreakable part.
//
// The line asks an inline child that runs past the room left on the line to
// wrap. Its children are walked from its left edge: the child at which the
// room runs out either wraps itself (a text run or another inline element,
// when the room left holds at least its first unbreakable part) and keeps
// its first part on this line, or goes on whole. The children from there
// on move to a duplicate of the element, the continuation piece, which
// joins the element's wrap-piece group (WrapPieces.cpp) and is laid out
// after it, to go on the next line. An element whose first child does not
// fit goes on whole.

#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "elements/TextElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutSteps.h"

#include <algorithm>

namespace {

// Narrower children do not count as the first one (an empty run, a
// zero-width marker).
constexpr int kLeastCountedWidth = 2;

struct EdgeMargins
{
    int left, right;
};

EdgeMargins MarginsOnLine(const CElement* c)
{
    EdgeMargins m{static_cast<int>(c->m_marginLeftTop.x), static_cast<int>(c->m_marginRightBottom.x)};
    if (c->m_inline) {
        const int state = WrapStateOf(c);
        m.left = ShowsLeftEdge(state) ? m.left : 0;
        m.right = ShowsRightEdge(state) ? m.right : 0;
    }
    return m;
}

} // namespace

CElement* CElement::WrapElement(CSize& room, bool force)
{
    const int width = BoxWidth(this);
    if (!m_inline || LaysOutAsBlock(this) || !m_parent || width <= room.cx) {
        room.cx = width;
        return this;
    }
    const int state = WrapStateOf(this);
    const BoxEdges border = FlowBorders(this);
    const BoxEdges padding = Paddings(this);
    const int left = ShowsLeftEdge(state) ? border.left + padding.left : 0;
    // The right edges stay with the last piece: the children that stay here
    // must leave room for them only while nothing moves on.
    const int right = ShowsRightEdge(state) ? border.right + padding.right : 0;
    const int limit = room.cx - right;

    // The child at which the room runs out, and where the continuation starts.
    int x = left;
    CElement* first = nullptr;
    CElement* split = nullptr;
    bool wrapped = false;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsFloatType())
            continue;
        const EdgeMargins m = MarginsOnLine(c);
        const int w = BoxWidth(c);
        if (!first && w >= kLeastCountedWidth)
            first = c;
        const int end = AddCoord(x, static_cast<long long>(m.left) + w + m.right);
        if (end <= limit) {
            x = end;
            continue;
        }
        const int roomLeft = room.cx - x - m.left;
        CSize part(0, 0);
        c->GetFirstPartSize(part);
        if (c->IsCanWrap() && roomLeft > 0 && (c == first || roomLeft >= part.cx)) {
            CSize childRoom(roomLeft, room.cy);
            CElement* piece = c->WrapElement(childRoom, force && c == first);
            if (piece != c) {
                if (piece && c->m_nextSibling != piece)
                    InsertInto(piece, c, true);
                split = c->m_nextSibling;
                wrapped = true;
            }
        }
        if (!wrapped)
            split = c;
        break;
    }
    if (!split || (split == first && !wrapped)) {
        room.cx = width;
        return this;
    }

    CElement* rest = Duplicate();
    if (!rest) {
        room.cx = width;
        return this;
    }
    InlineIDInfo(1, 0);
    rest->m_inlineGroup = m_inlineGroup;
    rest->m_linkState = m_linkState;
    rest->m_availRect = m_availRect;
    rest->m_containerRect = m_containerRect;
    for (CElement* c = split; c;) {
        CElement* next = c->m_nextSibling;
        RemoveCurrentChildFromList(c);
        rest->AddToTail(c);
        c = next;
    }
    // The continuation goes right after this piece (the line takes it from
    // there), so both are laid out knowing their places among the pieces.
    m_parent->InsertInto(rest, this, true);
    CalcWinReg(nullptr, true, false, nullptr);
    HandleFinalWidth(this);
    rest->BuildCDC(nullptr);
    rest->CalculateReg(nullptr, nullptr);
    room.cx = BoxWidth(this);
    return rest;
}

void CElement::GetFirstPartSize(CSize& size)
{
    size = CSize(0, 0);
    if (CTextElement* run = dynamic_cast<CTextElement*>(this)) {
        run->GetTextFirstPartSize(size);
    } else if (m_kind == kKindImg) {
        size.cx = BoxWidth(this);
    } else if (m_inline) {
        for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
            if (BoxWidth(c) > 1) {
                c->GetFirstPartSize(size);
                break;
            }
        }
    }
}
