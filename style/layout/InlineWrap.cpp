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
//
// A child that starts a piece cut for length (a long text run cut once into
// pieces a few lines wide, see TextElement.h) starts a duplicate of its own,
// so that no piece holds the whole rest of a long text. When the rest of a
// line went into the run of such a duplicate, the child's WrapElement
// answers the piece of its group in the next duplicate (linked already),
// and this element answers that duplicate.

#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "elements/TextElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutSteps.h"

#include <algorithm>
#include <vector>

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
    EdgeMargins m{
        static_cast<int>(c->Lay().m_marginLeftTop.x), static_cast<int>(c->Lay().m_marginRightBottom.x)};
    if (c->m_inline) {
        const int state = WrapStateOf(c);
        m.left = ShowsLeftEdge(state) ? m.left : 0;
        m.right = ShowsRightEdge(state) ? m.right : 0;
    }
    return m;
}

// A text run cut for length, or an inline element that starts with one (a
// duplicate made for such a run by an element inside it).
bool StartsCutPiece(const CElement* c)
{
    while (c && c->m_inline && c->m_kind != kKindText && c->m_inlineGroup)
        c = c->m_firstChild;
    const CTextElement* run = dynamic_cast<const CTextElement*>(c);
    return run && run->CutForLength();
}

// A new piece of e's group, empty and detached; null when none could be
// made.
CElement* DuplicatePiece(CElement* e)
{
    CElement* rest = e->Duplicate();
    if (!rest)
        return nullptr;
    e->InlineIDInfo(1, 0);
    rest->m_inlineGroup = e->m_inlineGroup;
    rest->m_linkState = e->m_linkState;
    rest->Lay().m_availRect = e->Lay().m_availRect;
    rest->Lay().m_containerRect = e->Lay().m_containerRect;
    return rest;
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
            if (piece && piece != c && piece->m_parent && piece->m_parent != this) {
                // The rest went into the next piece of this element.
                CalcWinReg(nullptr, true, false, nullptr);
                HandleFinalWidth(this);
                room.cx = BoxWidth(this);
                return piece->m_parent;
            }
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

    // The continuation, and one more duplicate for each child that starts
    // a piece cut for length, so that no piece holds the whole rest of a
    // long text.
    std::vector<CElement*> pieces;
    for (CElement* c = split; c;) {
        CElement* next = c->m_nextSibling;
        if (pieces.empty() || StartsCutPiece(c)) {
            CElement* rest = DuplicatePiece(this);
            if (!rest && pieces.empty()) {
                room.cx = width;
                return this;
            }
            if (rest)
                pieces.push_back(rest);
        }
        RemoveCurrentChildFromList(c);
        pieces.back()->AddToTail(c);
        c = next;
    }
    // The continuation goes right after this piece (the line takes it from
    // there), so all are laid out knowing their places among the pieces.
    CElement* after = this;
    for (CElement* rest : pieces) {
        m_parent->InsertInto(rest, after, true);
        after = rest;
    }
    CalcWinReg(nullptr, true, false, nullptr);
    HandleFinalWidth(this);
    for (CElement* rest : pieces) {
        rest->BuildCDC(nullptr);
        rest->CalculateReg(nullptr, nullptr);
    }
    room.cx = BoxWidth(this);
    return pieces.front();
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
