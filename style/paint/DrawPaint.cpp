// Painting the tree: Draw, DrawPaint and the float pass, the resize handles
// of images and tables, and the base SelfPaint.
//
// The walks keep their own stack instead of recursing, so a document nested
// as deep as the reader allows (or deeper) paints without exhausting the
// machine's stack. A band of rows limits a walk: subtrees whose recorded
// painted rows miss it are passed over, which is how one tile or the rows an
// edit touched are repainted without visiting the whole document.

#include "base/geometry/Colour.h"
#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/draw/DrawPrimitives.h"
#include "style/paint/BodyRows.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <vector>

namespace qm::paint {

namespace {

constexpr unsigned long kBlack = RGB(0, 0, 0);
constexpr unsigned long kWhite = RGB(255, 255, 255);
constexpr int kHandleHalf = 3;

bool Misses(const CElement* e, const Band* band)
{
    if (!band || !e->Lay().m_painted)
        return false;
    return e->Lay().m_paintBottom <= band->top || e->Lay().m_paintTop >= band->bottom;
}

// Steps 3 to 5: background, marker, content, border, marks.
void PaintOwn(CElement* e, void* dc, CPoint origin, bool floatPass, const Band* band)
{
    PaintBackground(e, dc, origin, floatPass, band);
    CPoint markerOrigin = origin;
    e->DrawMarker(dc, markerOrigin);
    e->SelfPaint(dc, origin);
    e->DrawBorder(dc, origin, nullptr);
    e->DrawMarkOnElement(dc, origin);
}

// A black frame around the box and 6 x 6 handles, white framed black,
// centred on the deflated box's corners and edge midpoints (an image: all
// eight) or on its left and right midpoints (a table).
void DrawHandles(CElement* e, void* dc, CPoint origin)
{
    CRect box = e->Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    xFrameRect(dc, box, kBlack, e);
    box.DeflateRect(1, 1);
    const int midX = (box.left + box.right) / 2;
    const int midY = (box.top + box.bottom) / 2;
    std::vector<CPoint> centres;
    if (e->m_kind == kKindImg) {
        centres = {CPoint(box.left, box.top), CPoint(midX, box.top), CPoint(box.right, box.top),
            CPoint(box.left, midY), CPoint(box.right, midY), CPoint(box.left, box.bottom),
            CPoint(midX, box.bottom), CPoint(box.right, box.bottom)};
    } else {
        centres = {CPoint(box.left, midY), CPoint(box.right, midY)};
    }
    for (const CPoint& c : centres) {
        CRect handle(c.x - kHandleHalf, c.y - kHandleHalf, c.x + kHandleHalf, c.y + kHandleHalf);
        xFillSolidRect(dc, handle, kWhite, e);
        xFrameRect(dc, handle, kBlack, e);
    }
}

} // namespace

CElement* RootOf(const CElement* e)
{
    if (!e)
        return nullptr;
    // A body read inside the body is the root of its own content: the
    // document's bitmap is the outermost one's.
    CElement* root = e->m_root ? e->m_root : const_cast<CElement*>(e);
    while (root->m_parent)
        root = root->m_parent;
    return root;
}

bool IsRoot(const CElement* e) { return e && e->m_kind == kKindBody && !e->m_parent; }

CPaintState* StateOf(const CElement* e)
{
    if (!e || !e->m_owner)
        return nullptr;
    std::unique_ptr<CPaintState>& st = e->m_owner->m_doc.m_paintState;
    if (!st)
        st = std::make_unique<CPaintState>();
    return st.get();
}

void PaintTree(CElement* top, void* dc, CPoint origin, bool floatPass, const Band* band)
{
    struct Frame
    {
        CElement* e;
        CPoint parentOrigin;
        CPoint origin;
        CElement* next;
        bool entered;
    };
    if (!top || !dc)
        return;
    // With a band, the body's children come from its entries (BodyRows.h):
    // only those whose rows meet the band are visited.
    CPaintState* st = band && IsRoot(top) && top->m_owner ? top->m_owner->m_doc.m_paintState.get() : nullptr;
    BodyRows* rows = st && st->m_bodyRows.root == top && !top->Lay().m_recordShift
            && st->m_bodyRows.rows.size() == size_t(top->m_childCount)
        ? &st->m_bodyRows
        : nullptr;
    size_t nextRow = rows ? FirstBodyRowBelow(*rows, band->top) : 0;
    auto nextBodyChild = [&]() -> CElement* {
        for (; nextRow < rows->rows.size(); ++nextRow) {
            const BodyRow& r = rows->rows[nextRow];
            if (r.bottom > band->top && r.top < band->bottom) {
                SettleBodyRow(*rows, nextRow);
                return rows->rows[nextRow++].e;
            }
            if (rows->ordered && r.top >= band->bottom)
                break;
        }
        nextRow = rows->rows.size();
        return nullptr;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{top, origin, CPoint(), nullptr, false});
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (!f.entered) {
            CElement* e = f.e;
            if ((!floatPass && e->m_floating) || Misses(e, band)) {
                stack.pop_back();
                continue;
            }
            f.entered = true;
            f.origin = f.parentOrigin;
            f.origin += e->Lay().m_position;
            PaintOwn(e, dc, f.origin, floatPass, band);
            f.next = e->CanDrawChild() ? e->m_firstChild : nullptr;
            if (rows && e == top)
                f.next = f.next ? nextBodyChild() : nullptr;
            else if (band && f.next)
                PushRecordShift(e);
        }
        if (f.next) {
            CElement* child = f.next;
            f.next = rows && f.e == top ? nextBodyChild() : child->m_nextSibling;
            const CPoint childOrigin = f.origin;
            stack.push_back(Frame{child, childOrigin, CPoint(), nullptr, false});
            continue;
        }
        CElement* e = f.e;
        const CPoint parentOrigin = f.parentOrigin, own = f.origin;
        stack.pop_back();
        if (IsRoot(e))
            PaintFloats(e, dc, parentOrigin, band);
        if ((e->m_kind == kKindImg || e->m_kind == kKindTable) && e->m_handlesShown)
            DrawHandles(e, dc, own);
    }
}

void PaintFloats(CElement* e, void* dc, CPoint origin, const Band* band)
{
    const CElement* root = RootOf(e);
    if (!e || !dc || !root || root->Rare().m_floatList.GetCount() == 0)
        return;
    struct Item
    {
        CElement* e;
        CPoint origin;
    };
    std::vector<Item> stack{Item{e, origin}};
    std::vector<CElement*> children;
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        if (Misses(item.e, band))
            continue;
        if (item.e->m_floating) {
            try {
                PaintTree(item.e, dc, item.origin, true, band);
            } catch (...) {
                return; // the pass ends; painting goes on
            }
            continue;
        }
        CPoint childOrigin = item.origin;
        childOrigin.y += item.e->Lay().m_position.y;
        if (!item.e->m_inline)
            childOrigin.x += item.e->Lay().m_position.x;
        // Pushed in reverse so that floats are painted in document order.
        if (band)
            PushRecordShift(item.e);
        children.clear();
        for (CElement* c = item.e->m_firstChild; c; c = c->m_nextSibling)
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back(Item{*it, childOrigin});
    }
}

} // namespace qm::paint

using namespace qm::paint;

bool CElement::Draw(void* dc)
{
    try {
        const bool ownsBitmap = IsRoot(this);
        if (!dc) {
            if (ownsBitmap && !m_dc)
                PrepareBitmap(nullptr);
            dc = RootOf(this)->m_dc.get();
        }
        BuildCDC(dc);
        CalculateReg(dc, nullptr);
        if (!ownsBitmap)
            return true;
        return RepaintDocument(this);
    } catch (...) {
        return false;
    }
}

void CElement::DrawPaint(void* dc, CPoint origin, bool floatPass)
{
    try {
        PaintTree(this, dc, origin, floatPass, nullptr);
    } catch (...) {
        // Painting is abandoned; the bitmap keeps what was drawn.
    }
}

void CElement::DrawElement(void* dc, int, CPoint origin)
{
    try {
        PaintFloats(this, dc, origin, nullptr);
    } catch (...) { }
}

bool CElement::SelfPaint(void*, CPoint) { return true; }
