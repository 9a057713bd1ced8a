// A block's children in lines (LayOutLines).
//
// Children are taken in document order. A float is laid out and put at the
// left (2 pixels in) or right edge of the content at the current line's
// top, never above the content's top; it takes no room in the line. A child that stands on a line of its own (a block)
// ends the current line, takes a line alone and ends it; a child with the
// break-after flag (br, dd, dt) ends its line after itself. Other children
// follow one another on the line; one that does not fit in the room left
// (the content width less the first-line indent and the room right floats
// take) is asked to wrap, and otherwise moves whole to the next line unless
// the line is still empty. Every child is moved clear of the floats placed
// before it; a block moved aside by floats is laid out again in the
// narrower room.
//
// Vertical margins: a block's top margin counts from the line top; its
// bottom margin waits for what follows: a following block's top margin
// smaller than it is raised to it (so the larger of the two separates
// them), and a line of inline content starts below it. Children of a line
// of inline content stand on one baseline; a block's line-height raises
// lower lines to it. Each line's children share one line group, the
// identifier of its first child.

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "elements/LIElement.h"
#include "elements/TDElement.h"
#include "style/floats/FloatIndex.h"
#include "style/floats/FloatRoom.h"
#include "style/layout/CalcInfo.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutSteps.h"
#include "style/records/FontDefaults.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace {

// Room held for the elements of a line from the start: most lines hold a
// few, and growing the list one step at a time costs more than the room.
constexpr std::size_t kLineElementsHeld = 16;

// Pieces a wrapping child may insert during one block's layout before the
// block stops asking (a guard against a piece that never gets shorter).
constexpr int kMaxWrapPieces = 1 << 20;
// What a block adds above a first child and below a last child that show
// tag markers.
constexpr int kMarkerRoom = 20;
// A left float stands this far right of the content's left edge (and of
// the room the floats before it take).
constexpr int kLeftFloatGap = 2;

// A paragraph without a horizontal alignment of its own is centred when its
// nearest ancestor with one, passing over divs without, is centred.
bool CentredByAncestor(const CElement* p)
{
    for (const CElement* a = p->m_parent; a; a = a->m_parent) {
        const int h = a->Style().align & kAlignHorizontalMask;
        if (h)
            return h == kAlignCenter;
        if (a->m_kind != kKindDiv)
            return false;
    }
    return false;
}

bool HasFloats(const CElement* e)
{
    const CElement* root = e->m_root ? e->m_root : e;
    return root->Rare().m_floatList.GetCount() > 0;
}

// c shows tag markers (its style gives it a label) and is not the root.
bool ShowsMarker(const CElement* c) { return c && c->m_parent && !c->Rare().m_markerLabel.IsEmpty(); }

bool AddsLastBottomMargin(long kind)
{
    return kind == kKindDiv || IsCellKind(kind) || kind == kKindDd || kind == kKindBlockquote;
}

class LineLayout
{
public:
    LineLayout(CElement* block, const LayoutCall& call);
    void Run();

private:
    struct Margins
    {
        int left, top, right, bottom;
    };

    // c's margins as they count on a line: a wrapped inline piece shows its
    // left margin only on its first piece and its right one only on its last.
    static Margins MarginsOf(const CElement* c);
    CElement* Place(CElement* c);
    void PlaceFloat(CElement* c);
    // c at x on the current line (y from the line top), moved clear of the
    // floats; rightRoom receives the room right floats take on the line.
    CPoint PutOnLine(CElement* c, int x, int top, CPoint& rightRoom);
    // The room the floats take around c at pos (relative to the block), as
    // CElement::CalcValidPosition gives it.
    void RoomAround(CElement* c, CPoint pos, CPoint& leftRoom, CPoint& rightRoom);
    // The document point of pos, relative to the block.
    CPoint InDocument(CPoint pos);
    void StartLine(bool ownLine);
    void FinishLine();
    void Finish();

    CElement* m_block;
    LayoutCall m_call;
    BoxEdges m_edges;
    int m_avail;
    int m_availHeight;
    int m_indent;
    int m_lineHeight = 0; // from line-height, 0 when none

    int m_y;
    bool m_firstLine = true;
    bool m_lineOpen = false;
    int m_lineTop = 0;
    int m_lineX = 0;
    std::vector<CElement*> m_line;
    int m_pendingBottom = 0;
    int m_widest = 0;
    int m_firstBaseline = -1;
    int m_pieces = 0;
    int m_markerHeight = 0; // of a list item's marker on the open first line
    // The block's document position, taken when first asked for: while its
    // lines are laid out only its descendants move, never the block or the
    // elements around it.
    CPoint m_origin;
    bool m_originKnown = false;
};

LineLayout::LineLayout(CElement* block, const LayoutCall& call)
    : m_block(block), m_call(call), m_edges(ContentEdges(block))
{
    m_avail = std::max<int>(0, block->Lay().m_availRect.right - block->Lay().m_availRect.left);
    m_availHeight = std::max<int>(0, block->Lay().m_availRect.bottom - block->Lay().m_availRect.top);
    m_indent = block->Lay().m_indent.x;
    int px = 0;
    if (LineHeightOf(block, false, 1, px) && px > 0)
        m_lineHeight = px;
    m_y = m_edges.top;
    // Room above a first child's start marker.
    const CElement* first = block->m_firstChild;
    if (first)
        m_line.reserve(kLineElementsHeld);
    if (first && first->m_block && ShowsMarker(first))
        m_y = AddCoord(m_y, kMarkerRoom);
}

LineLayout::Margins LineLayout::MarginsOf(const CElement* c)
{
    Margins m{c->Lay().m_marginLeftTop.x, c->Lay().m_marginLeftTop.y, c->Lay().m_marginRightBottom.x,
        c->Lay().m_marginRightBottom.y};
    if (c->m_inline) {
        const int state = WrapStateOf(c);
        if (!ShowsLeftEdge(state))
            m.left = 0;
        if (!ShowsRightEdge(state))
            m.right = 0;
        m.top = 0;
        m.bottom = 0;
    }
    return m;
}

void LineLayout::Run()
{
    for (CElement* c = m_block->m_firstChild; c;) {
        if (c->IsFloatType()) {
            PlaceFloat(c);
            c = c->m_nextSibling;
        } else {
            c = Place(c);
        }
    }
    FinishLine();
    Finish();
}

void LineLayout::StartLine(bool ownLine)
{
    m_lineOpen = true;
    m_line.clear();
    // Inline content starts below the bottom margin of the block before it;
    // a block collapses that margin with its own top margin instead.
    if (!ownLine && m_pendingBottom) {
        m_y = AddCoord(m_y, m_pendingBottom);
        m_pendingBottom = 0;
    }
    m_lineTop = m_y;
    m_lineX = AddCoord(m_edges.left, m_firstLine ? m_indent : 0);
    // A list item's marker takes its room at the start of its first line of
    // inline content.
    m_markerHeight = 0;
    CSize marker;
    CLIElement* item = m_firstLine && !ownLine ? dynamic_cast<CLIElement*>(m_block) : nullptr;
    if (item && item->GetListMarkerSize(m_call.dc, marker)) {
        m_lineX = AddCoord(m_lineX, marker.cx);
        m_markerHeight = marker.cy;
    }
}

CPoint LineLayout::InDocument(CPoint pos)
{
    if (!m_originKnown) {
        m_origin = DocumentPosition(m_block);
        m_originKnown = true;
    }
    return CPoint(AddCoord(pos.x, m_origin.x), AddCoord(pos.y, m_origin.y));
}

void LineLayout::RoomAround(CElement* c, CPoint pos, CPoint& leftRoom, CPoint& rightRoom)
{
    FloatRoom(m_block, c, BoxAt(c, InDocument(pos)), leftRoom, rightRoom, nullptr, m_call.sameBlockOnly,
        m_call.info);
}

CPoint LineLayout::PutOnLine(CElement* c, int x, int top, CPoint& rightRoom)
{
    CPoint pos(x, AddCoord(m_lineTop, top));
    MoveBox(c, pos);
    CPoint leftRoom;
    // Inline content is tested against the floats only as far as the line
    // reaches: what runs past the content's right edge wraps, so a float
    // beyond that edge takes no room from the line.
    const LONG right = c->Lay().m_sizeRect.right;
    const int reach = AddCoord(m_edges.left, m_avail) - pos.x;
    if (!StandsOnOwnLine(c) && right > reach && reach >= 0)
        c->Lay().m_sizeRect.right = c->Lay().m_sizeRect.left + reach;
    RoomAround(c, pos, leftRoom, rightRoom);
    c->Lay().m_sizeRect.right = right;
    MoveBox(c, CPoint(AddCoord(pos.x, leftRoom.x), AddCoord(pos.y, leftRoom.y)));
    return leftRoom;
}

CElement* LineLayout::Place(CElement* c)
{
    const bool own = StandsOnOwnLine(c);
    if (own && m_lineOpen)
        FinishLine();
    if (!m_lineOpen)
        StartLine(own);
    c->CalcForAll(m_call.dc, false, false);
    const Margins m = MarginsOf(c);
    int top = c->m_inline ? 0 : m.top;
    if (own) {
        top = std::max(top, m_pendingBottom);
        m_pendingBottom = 0;
    }
    const int edgeRoom = own || !c->m_inline ? std::max(0, m.left) + std::max(0, m.right) : 0;
    int areaWidth = std::max(0, m_avail - edgeRoom);
    CPoint pos(AddCoord(m_lineX, m.left), AddCoord(m_lineTop, top));
    if (own && HasFloats(m_block)) {
        // A block is moved clear of the floats beside its first line before
        // it is laid out, in the room they leave.
        const CPoint doc = InDocument(pos);
        const CRect probe(doc.x, doc.y, AddCoord(doc.x, areaWidth), AddCoord(doc.y, 1));
        CPoint leftRoom, rightRoom;
        FloatRoom(m_block, c, probe, leftRoom, rightRoom, nullptr, m_call.sameBlockOnly, m_call.info);
        pos.x = AddCoord(pos.x, leftRoom.x);
        pos.y = AddCoord(pos.y, leftRoom.y);
        if (!c->m_tablePart)
            areaWidth = std::max(0, areaWidth - static_cast<int>(leftRoom.x) - static_cast<int>(rightRoom.x));
    }
    LayOutChildAt(c, pos, areaWidth, m_availHeight, m_avail, m_availHeight, m_call);
    CPoint rightRoom;
    PutOnLine(c, pos.x, static_cast<int>(pos.y - m_lineTop), rightRoom);

    // Too wide for the room left on the line: c is wrapped there; when it
    // cannot be, it moves to a line of its own and is wrapped there.
    for (int attempt = 0; !own && attempt < 2; ++attempt) {
        const int limit = AddCoord(m_edges.left, m_avail - rightRoom.x);
        const int right = AddCoord(c->Lay().m_position.x, BoxWidth(c) + m.right);
        if (right <= limit)
            break;
        bool split = false;
        if (c->IsCanWrap() && m_pieces < kMaxWrapPieces) {
            CSize room(std::max(0, limit - static_cast<int>(c->Lay().m_position.x)), m_availHeight);
            CElement* piece = c->WrapElement(room, false);
            // Alone on its line and still too wide: it breaks at its
            // first opportunity, so what follows is not dragged along.
            if (piece == c && m_line.empty())
                piece = c->WrapElement(room, true);
            if (piece != c) {
                // A new piece comes detached: it goes after c, to the
                // next line. Null: the rest went into the next sibling.
                split = true;
                if (piece && c->m_nextSibling != piece && m_block->InsertInto(piece, c, true))
                    piece->BuildCDC(m_call.dc);
                ++m_pieces;
            }
        }
        if (split) {
            m_line.push_back(c);
            m_lineX = AddCoord(c->Lay().m_position.x, BoxWidth(c) + m.right);
            FinishLine();
            return c->m_nextSibling;
        }
        if (m_line.empty())
            break;
        FinishLine();
        StartLine(false);
        PutOnLine(c, AddCoord(m_lineX, m.left), top, rightRoom);
    }

    m_line.push_back(c);
    m_lineX = AddCoord(c->Lay().m_position.x, BoxWidth(c) + m.right);
    // A horizontal rule stands centred in the content width (in a cell,
    // once the cell has its box).
    if (c->m_kind == kKindHr && SpansGivenWidth(c)) {
        const int free = m_avail - m.left - m.right - BoxWidth(c);
        MoveBox(c, CPoint(AddCoord(m_edges.left, std::max(0, free / 2) + m.left), c->Lay().m_position.y));
    }
    if (own || c->m_breakAfter)
        FinishLine();
    return c->m_nextSibling;
}

void LineLayout::PlaceFloat(CElement* c)
{
    c->CalcForAll(m_call.dc, false, false);
    const Margins m = MarginsOf(c);
    const int lineTop = m_lineOpen ? m_lineTop : AddCoord(m_y, m_pendingBottom);
    const int left = AddCoord(m_edges.left, (m_firstLine ? m_indent : 0) + kLeftFloatGap);
    // Never above the top of the content, whatever its margin; a float it
    // clears is then found below it (a negative margin does not lift it
    // over the floats it clears).
    CPoint pos(AddCoord(left, m.left), std::max(m_edges.top, AddCoord(lineTop, c->m_inline ? 0 : m.top)));
    LayOutChildAt(c, pos, std::max(0, m_avail - std::max(0, m.left) - std::max(0, m.right)), m_availHeight,
        m_avail, m_availHeight, m_call);
    const bool right = c->Style().floatSide.value == kFloatRight;
    if (right)
        pos.x = std::max(m_edges.left, AddCoord(m_edges.left, m_avail - BoxWidth(c) - m.right));
    MoveBox(c, pos);
    // Beside (or, when cleared, below) the floats placed before it.
    CPoint leftRoom, rightRoom;
    RoomAround(c, pos, leftRoom, rightRoom);
    if (right)
        pos.x = std::max(m_edges.left, AddCoord(pos.x, -rightRoom.x));
    else
        pos.x = AddCoord(pos.x, leftRoom.x);
    pos.y = AddCoord(pos.y, leftRoom.y);
    MoveBox(c, pos);
    c->Lay().m_lineGroup = 0;
    c->Lay().m_layoutPass = LayoutNesting::CurrentPass();
    NoteFloatPlaced(c);
}

void LineLayout::FinishLine()
{
    if (!m_lineOpen)
        return;
    m_lineOpen = false;
    if (m_line.empty())
        return;
    const bool own = m_line.size() == 1 && StandsOnOwnLine(m_line.front());
    int baseline = 0;
    if (!own) {
        // One baseline for the line: each child's top lies at least where it
        // was put (below its top margin and any float that pushed it down).
        for (CElement* c : m_line)
            baseline
                = std::max(baseline, static_cast<int>(c->Lay().m_position.y - m_lineTop) + BaselineOf(c));
        for (CElement* c : m_line)
            MoveBox(c, CPoint(c->Lay().m_position.x, AddCoord(m_lineTop, baseline - BaselineOf(c))));
    }
    int height = 0;
    int right = m_edges.left;
    for (CElement* c : m_line) {
        const Margins m = MarginsOf(c);
        const int below = !own && !c->m_inline ? m.bottom : 0;
        height = std::max(height, static_cast<int>(c->Lay().m_position.y - m_lineTop) + BoxHeight(c) + below);
        right = std::max(right, AddCoord(c->Lay().m_position.x, BoxWidth(c) + m.right));
    }
    if (!own && m_markerHeight > height) {
        // A marker taller than the line: the line takes its height, with
        // its baseline a third of the font size below the marker.
        const int fontSize = m_block->Lay().m_pxFontSize > 0 ? m_block->Lay().m_pxFontSize : kBaseFontSize;
        const int shift = std::max(0, m_markerHeight + std::abs(fontSize) / 3 - baseline);
        for (CElement* c : m_line)
            MoveBox(c, CPoint(c->Lay().m_position.x, AddCoord(c->Lay().m_position.y, shift)));
        baseline += shift;
        height = std::max(height + shift, m_markerHeight);
    }
    m_markerHeight = 0;
    if (!own && m_lineHeight > height) {
        const int shift = (m_lineHeight - height) / 2;
        for (CElement* c : m_line)
            MoveBox(c, CPoint(c->Lay().m_position.x, AddCoord(c->Lay().m_position.y, shift)));
        baseline += shift;
        height = m_lineHeight;
    }
    const long group = m_line.front()->m_id;
    for (CElement* c : m_line)
        c->Lay().m_lineGroup = group;
    if (m_firstBaseline < 0)
        m_firstBaseline = own
            ? static_cast<int>(m_line.front()->Lay().m_position.y) + BaselineOf(m_line.front())
            : AddCoord(m_lineTop, baseline);
    m_widest = std::max(m_widest, right - m_edges.left);
    m_y = AddCoord(m_lineTop, height);
    m_pendingBottom = own ? MarginsOf(m_line.front()).bottom : 0;
    m_firstLine = false;
    m_line.clear();
}

void LineLayout::Finish()
{
    CElement* e = m_block;
    const ELEMENT_STYLE& s = e->Style();
    int height = m_y;
    const CElement* last = e->m_lastChild;
    if (AddsLastBottomMargin(e->m_kind) && last && last->m_block && last->m_kind != kKindDiv
        && last->m_kind != kKindCustom)
        height = AddCoord(height, m_pendingBottom);
    // Room below a last child's end marker.
    if (ShowsMarker(last))
        height = AddCoord(height, kMarkerRoom);
    // The content's extent, then what floats below it reach, then the edges.
    e->Lay().m_sizeRect = CRect(0, 0, AddCoord(m_edges.left, m_widest), height);
    if (e->m_kind == kKindBody || e->m_kind == kKindCaption || e->IsFloatType())
        e->CalcAreaAccordingToFloat();
    e->Lay().m_sizeRect.right = AddCoord(e->Lay().m_sizeRect.right, m_edges.right);
    e->Lay().m_sizeRect.bottom = AddCoord(e->Lay().m_sizeRect.bottom, m_edges.bottom);
    e->Lay().m_baseline = CPoint(0, std::max(0, m_firstBaseline));

    // Alignment of the children (a cell's table aligns it). Centred or
    // right-aligned lines span the block over the width given; in a cell
    // measured without a box they wait for the box, so that the cell's
    // natural width stays its content's.
    if (!e->m_tableCell) {
        std::uint16_t horizontal = s.align & kAlignHorizontalMask;
        if (!horizontal && e->m_kind == kKindP && CentredByAncestor(e))
            horizontal = kAlignCenter;
        const int vertical = s.align & kAlignVerticalMask;
        if (vertical == kAlignMiddle || vertical == kAlignBottom)
            e->AlignChild(vertical);
        if ((horizontal == kAlignCenter || horizontal == kAlignRight) && SpansGivenWidth(e))
            e->AlignChild(horizontal);
    }

    // A right-to-left document mirrors the tables standing directly in a body
    // without an alignment of its own.
    if (e->m_kind == kKindBody && !s.hAlignSet && e->m_owner && e->m_owner->m_doc.m_rightToLeft) {
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            const int x = m_avail - BoxWidth(c) - static_cast<int>(c->Lay().m_position.x - m_edges.left);
            if (c->m_kind == kKindTable && x > 0)
                MoveBox(c, CPoint(AddCoord(m_edges.left, x), c->Lay().m_position.y));
        }
    }

    // A paragraph spans the width available to it (its content width),
    // unless it floats or stands in a float, or its table measures the cell
    // it stands in (SpansGivenWidth).
    if (e->m_kind == kKindP && BoxWidth(e) > 0 && !e->IsFloatType() && !e->IsUnderFloat()) {
        const CElement* parent = e->m_parent;
        if ((!parent || parent->Lay().m_availRect.right - parent->Lay().m_availRect.left >= 11)
            && m_avail > BoxWidth(e) && SpansGivenWidth(e))
            e->Lay().m_sizeRect.right = m_avail;
    }
}

} // namespace

void LayOutLines(CElement* e, const LayoutCall& call)
{
    LineLayout lines(e, call);
    lines.Run();
}
