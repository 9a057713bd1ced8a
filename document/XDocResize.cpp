// Resizing images, tables and table columns with the mouse.
//
// An image selected as a whole shows eight handles (6 x 6 squares at its
// corners and the middles of its sides); a table reacts within 10 pixels of
// its left and right edges, and a cell within 5 pixels of its left and right
// borders. A press on one of them starts a resize whose state is the handle
// code (2 top-right, 3 right, 4 bottom-right, 5 bottom, 6 bottom-left, 7
// left, 8 top-left, 9 top; 10 a cell's left border, 11 its right border).
// While the button is held the new size is worked out from the pointer,
// kept as the resize rectangle, drawn as a dotted outline over the view and
// shown in a help tag; the release writes it into the element.

#include "document/XDoc.h"

#include "base/shims/CGShims.h"
#include "base/shims/DrawLine.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "element/services/XHTMLServices.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "platform/qd/Port.h"
#include "style/layout/LayoutBox.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Options bit: nothing is resized with the mouse.
constexpr int kNoResizeOption = 0x20;
// Pointer shapes of the handles.
constexpr int kShapeHorizontal = 4;
constexpr int kShapeDiagonalDown = 5;
constexpr int kShapeDiagonalUp = 6;
constexpr int kShapeVertical = 7;
// Handle codes.
constexpr int kTopRight = 2;
constexpr int kRight = 3;
constexpr int kBottomRight = 4;
constexpr int kBottom = 5;
constexpr int kBottomLeft = 6;
constexpr int kLeft = 7;
constexpr int kTopLeft = 8;
constexpr int kTop = 9;
constexpr int kCellLeft = 10;
constexpr int kCellRight = 11;
// The sizes of the hit areas and how near a cell border may come to the far
// edge of either cell beside it.
constexpr int kSquare = 6;
constexpr int kTableBand = 10;
constexpr int kCellBand = 5;
constexpr int kCellLimit = 16;
// The dotted outline: line style 3, 1 pixel, black.
constexpr int kDotted = 3;

bool InRange(long v, long from, long to) { return v >= from && v <= to; }

// The nearest table at or above e.
CElement* TableAround(CElement* e)
{
    if (!e)
        return nullptr;
    return e->m_kind == kKindTable ? e : e->IsElementUnderTag(static_cast<int>(kKindTable));
}

int Rounded(long numerator, long denominator)
{
    return denominator ? static_cast<int>((numerator + denominator / 2) / denominator) : 0;
}

// Borders and paddings across a cell (what lies between its box and its
// content).
int CellEdges(CElement* cell)
{
    int edges = 0;
    if (auto* td = dynamic_cast<CTDElement*>(cell)) {
        const CRect e = td->GetEdges();
        edges = int(e.left + e.right);
    }
    return edges + Paddings(cell).Horizontal();
}

// The cell before (or after) cell in its row; null when none.
CElement* CellBeside(CElement* cell, bool after)
{
    for (CElement* c = after ? cell->m_nextSibling : cell->m_prevSibling; c;
         c = after ? c->m_nextSibling : c->m_prevSibling)
        if (IsCellKind(c->m_kind))
            return c;
    return nullptr;
}

// The new rectangle for a corner: both edges follow the point, then the
// start's aspect ratio comes back. Inside the starting rectangle the width
// drives; outside it the dimension whose edge the point passed drives: of
// the two rectangles each dimension gives, the one holding the point.
CRect CornerRect(int code, const CRect& start, CPoint pt)
{
    const bool right = code == kTopRight || code == kBottomRight;
    const bool bottom = code == kBottomRight || code == kBottomLeft;
    const long ax = right ? start.left : start.right; // the corner that stays
    const long ay = bottom ? start.top : start.bottom;
    const long W = start.right - start.left;
    const long H = start.bottom - start.top;
    const long w = std::labs(pt.x - ax);
    const long h = std::labs(pt.y - ay);
    auto build = [&](long width, long height) {
        return CRect(right ? ax : ax - width, bottom ? ay : ay - height, right ? ax + width : ax,
            bottom ? ay + height : ay);
    };
    if (W <= 0 || H <= 0)
        return build(w, h);
    const CRect byWidth = build(w, Rounded(w * H, W));
    if (InRange(pt.x, start.left, start.right) && InRange(pt.y, start.top, start.bottom))
        return byWidth;
    const CRect byHeight = build(Rounded(h * W, H), h);
    auto holds = [&](const CRect& r) {
        return InRange(pt.x, r.left - 1, r.right + 1) && InRange(pt.y, r.top - 1, r.bottom + 1);
    };
    return holds(byWidth) ? byWidth : holds(byHeight) ? byHeight : byWidth;
}

void Decimal(char (&text)[32], const char* format, long a, long b = 0)
{
    std::snprintf(text, sizeof text, format, a, b);
}

} // namespace

CRect CXDoc::ElementRect(CElement* e)
{
    CRect r(0, 0, BoxWidth(e), BoxHeight(e));
    e->ElementToDocument(r);
    return r;
}

bool CXDoc::ResizingAllowed() const { return !(m_owner && (m_owner->Options() & kNoResizeOption)); }

int CXDoc::ImageHandleAt(const CRect& r, CPoint pt)
{
    const long midX = r.left + (r.right - r.left) / 2 - kSquare / 2;
    const long midY = r.top + (r.bottom - r.top) / 2 - kSquare / 2;
    const bool left = InRange(pt.x, r.left, r.left + kSquare);
    const bool right = InRange(pt.x, r.right - kSquare, r.right);
    const bool centreX = InRange(pt.x, midX, midX + kSquare);
    const bool top = InRange(pt.y, r.top, r.top + kSquare);
    const bool bottom = InRange(pt.y, r.bottom - kSquare, r.bottom);
    const bool centreY = InRange(pt.y, midY, midY + kSquare);
    if (right && top)
        return kTopRight;
    if (right && bottom)
        return kBottomRight;
    if (left && bottom)
        return kBottomLeft;
    if (left && top)
        return kTopLeft;
    if (right && centreY)
        return kRight;
    if (left && centreY)
        return kLeft;
    if (centreX && bottom)
        return kBottom;
    if (centreX && top)
        return kTop;
    return 0;
}

int CXDoc::HandleShape(int code)
{
    switch (code) {
    case kRight:
    case kLeft:
    case kCellLeft:
    case kCellRight: return kShapeHorizontal;
    case kBottom:
    case kTop: return kShapeVertical;
    case kBottomRight:
    case kTopLeft: return kShapeDiagonalDown;
    case kTopRight:
    case kBottomLeft: return kShapeDiagonalUp;
    default: return 0;
    }
}

bool CXDoc::TrackImageHandles(CElement* hit, CPoint pt)
{
    if (m_resizeState != 1 || !m_handleElement || !IsInTree(m_handleElement) || !ResizingAllowed())
        return false;
    if (hit != m_handleElement)
        return false;
    m_handleCode = ImageHandleAt(ElementRect(hit), pt);
    SetPointerShape(m_handleCode ? HandleShape(m_handleCode) : 0);
    return true;
}

bool CXDoc::StartResize(CElement* hit, CPoint pt)
{
    if (!hit || !ResizingAllowed() || m_pointerShape < kShapeHorizontal || m_pointerShape > kShapeVertical)
        return false;
    int code = 0;
    CElement* target = nullptr;
    if (m_resizeState == 1 && hit == m_handleElement && hit->m_kind == kKindImg) {
        code = ImageHandleAt(ElementRect(hit), pt);
        target = hit;
    } else if (CElement* table = TableAround(hit)) {
        if (IsElementLocked(table, false, 0, false))
            return false;
        const CRect t = ElementRect(table);
        if (InRange(pt.x, t.right - kTableBand, t.right)) {
            code = kRight;
            target = table;
        } else if (InRange(pt.x, t.left, t.left + kTableBand)) {
            code = kLeft;
            target = table;
        } else {
            ForEachCell(table, [&](CElement* cell) {
                const CRect c = ElementRect(cell);
                if (!InRange(pt.y, c.top, c.bottom))
                    return true;
                if (InRange(pt.x, c.left, c.left + kCellBand))
                    code = kCellLeft;
                else if (InRange(pt.x, c.right - kCellBand, c.right))
                    code = kCellRight;
                else
                    return true;
                target = cell;
                return false;
            });
        }
    }
    if (!code || !target)
        return false;
    m_resizeState = code;
    m_handleElement = target;
    m_resizeRect = ElementRect(target);
    DisplayTooltip(pt, "", target->m_kind != kKindImg);
    DrawResizeBorder(pt);
    return true;
}

void CXDoc::DrawResizeBorder(CPoint pt)
{
    CElement* e = m_handleElement;
    if (!e || !IsInTree(e) || m_resizeState < kTopRight)
        return;
    const int code = m_resizeState;
    const CRect R = ElementRect(e);
    const CRect O = R;

    // The edge follows the pointer from where it was grabbed.
    const long dx = (code == kTopRight || code == kRight || code == kBottomRight || code == kCellRight)
        ? R.right - m_pressPoint.x
        : (code == kBottomLeft || code == kLeft || code == kTopLeft || code == kCellLeft)
        ? R.left - m_pressPoint.x
        : 0;
    const long dy = (code == kTopRight || code == kTopLeft || code == kTop) ? R.top - m_pressPoint.y
        : (code == kBottomRight || code == kBottom || code == kBottomLeft)  ? R.bottom - m_pressPoint.y
                                                                            : 0;
    pt.x += dx;
    pt.y += dy;

    CRect N = R;
    switch (code) {
    case kRight:
        if (pt.x <= R.left)
            return;
        N.right = pt.x;
        break;
    case kLeft:
        if (pt.x >= R.right)
            return;
        N.left = pt.x;
        break;
    case kBottom:
        if (pt.y <= R.top)
            return;
        N.bottom = pt.y;
        break;
    case kTop:
        if (pt.y >= R.bottom)
            return;
        N.top = pt.y;
        break;
    case kTopRight:
    case kBottomRight:
    case kBottomLeft:
    case kTopLeft: {
        const bool right = code == kTopRight || code == kBottomRight;
        const bool bottom = code == kBottomRight || code == kBottomLeft;
        if (right ? pt.x <= R.left : pt.x >= R.right)
            return;
        if (bottom ? pt.y <= R.top : pt.y >= R.bottom)
            return;
        N = CornerRect(code, O, pt);
        break;
    }
    case kCellLeft:
    case kCellRight: {
        CElement* other = CellBeside(e, code == kCellRight);
        if (!other)
            return;
        const CRect n = ElementRect(other);
        const bool fits = code == kCellLeft ? pt.x < R.right - kCellLimit && pt.x > n.left + kCellLimit
                                            : pt.x < n.right - kCellLimit && pt.x > R.left + kCellLimit;
        if (!fits)
            return;
        CElement* table = TableAround(e);
        const CRect span = table ? ElementRect(table) : R;
        N = CRect(pt.x, span.top - kTableBand, pt.x, span.bottom + kTableBand);
        break;
    }
    default: return;
    }

    m_resizeRect = N;
    Redraw();
    DrawResizeOutline(N);

    char tip[32];
    if (e->m_kind == kKindImg) {
        Decimal(tip, "%ld X %ld", std::labs(N.right - N.left), std::labs(N.bottom - N.top));
    } else if (e->m_kind == kKindTable) {
        Decimal(tip, "%ld px", std::labs(N.right - N.left));
    } else {
        // A cell keeps the content width the release gives it; the tip of
        // a left border in a later column shows what the cell before gets.
        const long content = (code == kCellRight ? pt.x - R.left : R.right - pt.x) - CellEdges(e);
        long shown = content;
        if (code == kCellLeft) {
            if (CElement* before = CellBeside(e, false)) {
                const CRect b = ElementRect(before);
                shown = (b.right - b.left) - CellEdges(before) - (R.left - pt.x);
            }
        }
        m_resizeRect.left = 0;
        m_resizeRect.right = content;
        Decimal(tip, "%ld px", shown);
    }
    DisplayTooltip(pt, tip, true);
}

void CXDoc::DrawResizeOutline(const CRect& n)
{
    if (!qm::qd::IsLivePort(m_port))
        return;
    CGContextRef context = CreateCGContext(m_port);
    if (!context)
        return;
    const qm::qd::Rect bounds = m_port->Bounds();
    const int height = m_port->Height();
    // Document points to the port's own coordinates.
    const long ox = m_viewRect.left - m_scrollX - bounds.left;
    const long oy = m_viewRect.top - m_scrollY - bounds.top;
    const int L = int(n.left + ox), T = int(n.top + oy), R = int(n.right + ox), B = int(n.bottom + oy);
    const unsigned long black = RGB(0, 0, 0);
    if (n.left == n.right) {
        MacDrawLine(context, L, T, L, B, 1, height, kDotted, black, false);
    } else {
        MacDrawLine(context, L, B - 1, R, B - 1, 1, height, kDotted, black, true);
        MacDrawLine(context, L, T, R, T, 1, height, kDotted, black, true);
        MacDrawLine(context, R - 1, T, R - 1, B, 1, height, kDotted, black, false);
        MacDrawLine(context, L, T, L, B, 1, height, kDotted, black, false);
    }
    EndCGContext(m_port, &context);
}

bool CXDoc::CommitResize()
{
    if (m_resizeState < kTopRight)
        return false;
    HideTooltip(true);
    CElement* e = m_handleElement;
    const CRect N = m_resizeRect;
    const int code = m_resizeState;
    if (!e || !IsInTree(e)) {
        m_resizeState = 0;
        m_handleElement = nullptr;
        return true;
    }
    char text[32];
    if (e->m_kind == kKindImg) {
        const CRect old = ElementRect(e);
        const long w = std::labs(N.right - N.left), h = std::labs(N.bottom - N.top);
        if (w != old.right - old.left || h != old.bottom - old.top) {
            Decimal(text, "%ld", w);
            e->SetAttrString("width", text);
            Decimal(text, "%ld", h);
            e->SetAttrString("height", text);
            e->StyleChanged(2);
            m_resizeCommitted = 1;
        }
        m_resizeState = 1;
        DrawDoc(1);
        Redraw();
        return true;
    }
    m_resizeState = 0;
    m_handleElement = nullptr;
    CElement* table = TableAround(e);
    auto* t = dynamic_cast<CTableElement*>(table);
    if (t) {
        // A cell's rectangle holds its new content width; the table takes
        // the width of the cell's box.
        const int width = int(e == table ? std::labs(N.right - N.left) : N.right + CellEdges(e));
        if (t->DoResize(e, width, code)) {
            t->StyleChanged(1);
            m_resizeCommitted = 1;
        }
    }
    DrawDoc(1);
    Redraw();
    return true;
}
