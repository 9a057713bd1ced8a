// Repainting after an edit: what changed since the last paint is found by
// comparing the tree with the geometry recorded then (a text run also with
// what it drew then), and the rows it covered before and covers now are
// cleared and repainted from the body down, clipped to them. Everything else painted in those rows (an
// ancestor's border, a neighbour's background, a float) is painted again
// with them, so the bitmap ends exactly as a full paint would leave it.
//
// The body's border is drawn around all its children, so when the body has
// one any change repaints the whole document.
//
// A keystroke that adds or removes a line moves everything after the
// paragraph: those body children are not recorded or painted anew; their
// records and the resident tiles' pixels are moved by the same rows.
//
// Notifications carry edits upwards: codes 2 and 8 re-lay the element out
// and repaint what changed, codes 4 to 7 lay out and paint the whole
// document, code 3 lets the element choose between 2 and 4.

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/paint/BodyRows.h"
#include "style/paint/DocumentWalk.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"
#include "style/paint/TagMarkers.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <vector>

using namespace qm::paint;

namespace {

CRect DocumentBox(CElement* e)
{
    CRect r = e->Lay().m_sizeRect;
    e->ElementToDocument(r);
    return r;
}

// Interior intersection: rectangles that only share an edge do not overlap.
bool Overlaps(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The element after e in document order, e's own subtree left out.
CElement* NextInDocument(const CElement* e)
{
    for (; e; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}

// The dirty rows merged into runs that do not touch one another.
std::vector<std::pair<int, int>> Merged(std::vector<std::pair<int, int>> rows)
{
    std::sort(rows.begin(), rows.end());
    std::vector<std::pair<int, int>> out;
    for (const auto& r : rows) {
        if (r.second <= r.first)
            continue;
        if (!out.empty() && r.first <= out.back().second)
            out.back().second = std::max(out.back().second, r.second);
        else
            out.push_back(r);
    }
    return out;
}

// The root changed nothing but its height since the last paint.
bool GrewOrShrank(const CElement* e, CPoint position)
{
    return e->Lay().m_painted && !e->m_forceRepaint && e->Lay().m_prevDocPos == position
        && e->Lay().m_prevRect.left == e->Lay().m_sizeRect.left
        && e->Lay().m_prevRect.top == e->Lay().m_sizeRect.top
        && e->Lay().m_prevRect.right == e->Lay().m_sizeRect.right
        && e->Lay().m_prevRect.bottom != e->Lay().m_sizeRect.bottom
        && e->Lay().m_paintFill == e->Lay().m_availRect.right - e->Lay().m_availRect.left
        && e->Lay().m_paintChildren == e->m_childCount;
}

// The body paints the same in every row between its top and bottom edges,
// so its part of rows that moved can move with them.
bool PaintsAlikeDown(CElement* root)
{
    const bool picture = root->Style().bkImageSet && root->Style().bkImage[0] != 0;
    CRect startMarker, endMarker;
    MarkerBoxes(root, CPoint(), startMarker, endMarker);
    return !picture && !HasOwnBorder(root) && startMarker.right <= startMarker.left
        && endMarker.right <= endMarker.left && !root->m_outlineSelected && !root->m_handlesShown;
}

// Rows a and b have in common, empty (second <= first) when none.
std::pair<int, int> Common(std::pair<int, int> a, int top, int bottom)
{
    return {std::max(a.first, top), std::min(a.second, bottom)};
}

// The body children that moved alike (CleanChanged) take their pixels with
// them: rows top .. bottom - 1 that only they and the body paint, before and
// after the move, are moved in the resident tiles; whatever else they
// covered is repainted. changedBottom: the lowest row the elements recorded
// anew reach now.
void MovePixels(CElement* root, CPaintState& st, int changedBottom)
{
    CPaintState::Moved moved = std::move(st.m_moved);
    st.m_moved = CPaintState::Moved();
    qm::cg::Context* ctx = root->m_dc.get();
    const int dy = moved.dy;
    int top = 0, bottom = 0;
    // The body's bottom edge must move with them, and its top stay above.
    if (moved.alike && !moved.rows.empty() && dy != 0 && moved.bodyDy == dy && ctx && PaintsAlikeDown(root)) {
        const long long fixedNow = std::max(moved.fixedBottom, changedBottom);
        const long long bodyTop
            = root->Lay().m_position.y + std::min(root->Lay().m_sizeRect.top, root->Lay().m_sizeRect.bottom);
        const int h = ctx->Height();
        top = int(std::max<long long>(
            {moved.top, moved.fixedBottom, fixedNow - dy, 0, -dy, bodyTop, bodyTop - dy}));
        bottom = std::min({moved.bottom, h, h - dy});
    }
    if (bottom <= top) {
        st.m_dirtyRows.insert(st.m_dirtyRows.end(), moved.rows.begin(), moved.rows.end());
        return;
    }
    // Only the tiles the window shows take the move; other resident tiles
    // the move reaches are dropped (painted again when shown), so a
    // keystroke copies at most the rows of the tiles on screen.
    const int reachTop = std::max(0, std::min(top, top + dy));
    const int reachBottom = std::min(ctx->Height(), std::max(bottom, bottom + dy));
    if (reachTop < reachBottom) {
        const int shownTop = std::max(0, std::min(st.m_shownTop, ctx->Height() - 1));
        const int shownBottom = std::max(shownTop + 1, std::min(st.m_shownBottom, ctx->Height()));
        const int columns = ctx->TileColumns();
        const int keepFirst = ctx->TileOfRow(shownTop) / columns,
                  keepLast = ctx->TileOfRow(shownBottom - 1) / columns;
        for (int band = ctx->TileOfRow(reachTop) / columns; band <= ctx->TileOfRow(reachBottom - 1) / columns;
             ++band) {
            for (int i = band * columns; i < (band + 1) * columns; ++i) {
                if ((band < keepFirst || band > keepLast) && ctx->IsTileResident(i))
                    ctx->DropTile(i);
            }
        }
    }
    // Pieces that cross no tile edge, moved so that none is overwritten
    // before it is read; a piece whose tiles do not all hold pixels is
    // repainted.
    std::vector<std::pair<int, int>> pieces;
    for (int from = top; from < bottom;) {
        const int a = ctx->TileOfRow(from), b = ctx->TileOfRow(from + dy);
        const int n = std::min({bottom - from, ctx->TileTop(a) + ctx->TileRows(a) - from,
            ctx->TileTop(b) + ctx->TileRows(b) - from - dy});
        pieces.emplace_back(from, n);
        from += n;
    }
    // What was to be repainted among the rows moved is dy rows away after.
    const size_t dirty = st.m_dirtyRows.size();
    for (size_t i = 0; i < dirty; ++i) {
        const auto r = Common(st.m_dirtyRows[i], top, bottom);
        if (r.first < r.second)
            st.m_dirtyRows.emplace_back(r.first + dy, r.second + dy);
    }
    if (dy > 0)
        std::reverse(pieces.begin(), pieces.end());
    for (const auto& piece : pieces) {
        if (!ctx->CopyRows(piece.first, piece.first + dy, piece.second))
            st.m_dirtyRows.emplace_back(piece.first + dy, piece.first + dy + piece.second);
    }
    // The moved children's rows outside the moved pixels.
    for (const auto& r : moved.rows) {
        const auto above = Common(r, INT_MIN, top + dy);
        const auto below = Common(r, bottom + dy, INT_MAX);
        for (const auto& part : {above, below}) {
            if (part.first < part.second)
                st.m_dirtyRows.push_back(part);
        }
    }
}

} // namespace

void CElement::CleanChanged(void*, CPoint)
{
    CElement* root = RootOf(this);
    CPaintState* st = StateOf(root);
    if (!st || !IsRoot(root))
        return;
    std::vector<long>& changed = st->m_changedIds;
    changed.clear();
    // Moves not yet painted are repainted where they were and are.
    CPaintState::Moved& moved = st->m_moved;
    st->m_dirtyRows.insert(st->m_dirtyRows.end(), moved.rows.begin(), moved.rows.end());
    moved = CPaintState::Moved();
    moved.top = INT_MAX;
    moved.bottom = moved.fixedBottom = INT_MIN;
    // What was laid out again, when a notification says, and its ancestors:
    // changes below an element that kept its place and size can lie only
    // inside the former or on the way to it.
    std::unordered_set<const CElement*> relaid, onPath;
    for (long id : st->m_relaidIds) {
        const CElement* r = root->m_owner ? root->m_owner->m_doc.FindElement(id) : nullptr;
        if (r)
            relaid.insert(r);
        for (const CElement* e = r; e; e = e->m_parent)
            onPath.insert(e);
    }
    st->m_relaidIds.clear();
    const bool everywhere = relaid.empty();
    auto looksBelow = [&](const CElement* e) {
        if (everywhere || onPath.count(e))
            return true;
        for (const CElement* a = e->m_parent; a; a = a->m_parent) {
            if (relaid.count(a))
                return true;
            if (onPath.count(a))
                return false;
        }
        return false;
    };
    // The quick walk hands the body's children their records itself.
    bool quick = false;
    auto pre = [&](CElement* e, CPoint position) {
        // A child added or removed shows in the count; the old rows of the
        // element cover those of every child it had.
        // A text run whose text, font, colour or selection changed is
        // drawn anew even where its box stayed.
        CTextElement* run = e->IsTextElement() ? dynamic_cast<CTextElement*>(e) : nullptr;
        if (e == root && GrewOrShrank(e, position)) {
            // Only the rows between the old and the new bottom are the
            // body's own change; its children say for themselves.
            const int bottom = position.y + std::max(e->Lay().m_sizeRect.top, e->Lay().m_sizeRect.bottom);
            const int reach
                = CPaintState::kPaintSlack + std::max<int>(e->Lay().m_marginRightBottom.y, 0) + 10;
            const int oldBottom = position.y + std::max(e->Lay().m_prevRect.top, e->Lay().m_prevRect.bottom);
            st->m_dirtyRows.emplace_back(std::min(bottom, oldBottom) - CPaintState::kPaintSlack,
                std::max(e->Lay().m_paintBottom, bottom + reach));
            e->Lay().m_prevRect = e->Lay().m_sizeRect;
            e->Lay().m_paintBottom = std::max(e->Lay().m_paintBottom, bottom + reach);
            moved.bodyDy = bottom - oldBottom;
        }
        const bool kept = e->Lay().m_painted && !e->m_forceRepaint
            && e->Lay().m_prevRect == e->Lay().m_sizeRect
            && e->Lay().m_paintFill == e->Lay().m_availRect.right - e->Lay().m_availRect.left
            && e->Lay().m_paintChildren == e->m_childCount
            && (!run || run->m_paintedLook == run->PaintedLook());
        const bool same = kept && e->Lay().m_prevDocPos == position;
        e->m_changed = same ? 0 : 1;
        if (e == root && !same)
            moved.alike = false;
        if (kept && !same && e->Lay().m_prevDocPos.x == position.x && !looksBelow(e)) {
            // Moved down or up as a whole, its subtree not laid out
            // again: its records follow it without being taken anew, and
            // its pixels move with it (MovePixels) or its rows before
            // and after are repainted.
            const int dy = position.y - e->Lay().m_prevDocPos.y;
            if (e->m_parent != root || (!moved.rows.empty() && dy != moved.dy))
                moved.alike = false;
            moved.dy = dy;
            moved.top = std::min(moved.top, e->Lay().m_paintTop);
            moved.bottom = std::max(moved.bottom, e->Lay().m_paintBottom);
            moved.rows.emplace_back(e->Lay().m_paintTop, e->Lay().m_paintBottom);
            ShiftRecords(e, dy);
            moved.rows.emplace_back(e->Lay().m_paintTop, e->Lay().m_paintBottom);
            return false;
        }
        if (e->m_parent == root) {
            if (!moved.rows.empty())
                moved.alike = false;
            if (e->Lay().m_painted)
                moved.fixedBottom = std::max(moved.fixedBottom, e->Lay().m_paintBottom);
        }
        if (!same) {
            if (e->Lay().m_painted)
                st->m_dirtyRows.emplace_back(e->Lay().m_paintTop, e->Lay().m_paintBottom);
            changed.push_back(e->m_id);
        }
        if (!same || !looksBelow(e))
            return false;
        if (!(quick && e == root))
            PushRecordShift(e);
        return true;
    };
    auto post = [](CElement*, CPoint) {};
    // The walk over the body's children the layout's notes allow: one
    // child laid out again, the blocks after it at most moved alike, every
    // other child as its record says. The moved blocks move by their
    // entries (BodyRows.h) and are met as one run of rows. False, with
    // nothing done, where the notes do not allow it.
    auto quickWalk = [&]() {
        BodyRows& rows = st->m_bodyRows;
        if (relaid.size() != 1 || rows.root != root || rows.relaid || rows.shifts > 1
            || root->Lay().m_recordShift || rows.rows.size() != size_t(root->m_childCount))
            return false;
        const CElement* child = BodyChildAbove(*relaid.begin());
        const long at = child ? BodyRowIndex(root, child) : -1;
        if (at < 0 || (rows.shifts && rows.shiftAfter != child))
            return false;
        // The body itself keeps its place and size but for its height.
        const CPoint position = root->Lay().m_position;
        const bool grew = GrewOrShrank(root, position);
        if (root->IsTextElement() || !root->Lay().m_painted || root->m_forceRepaint || root->m_floating
            || root->Lay().m_prevDocPos != position
            || (!grew && !(root->Lay().m_prevRect == root->Lay().m_sizeRect))
            || root->Lay().m_paintFill != root->Lay().m_availRect.right - root->Lay().m_availRect.left
            || root->Lay().m_paintChildren != root->m_childCount)
            return false;
        const int dy = rows.shifts ? rows.shiftDy : 0;
        int fixedBottom, tailTop, tailBottom;
        if (!BodyRowsAround(rows, size_t(at), dy != 0, fixedBottom, tailTop, tailBottom))
            return false; // a child never painted
        quick = true;
        pre(root, position);
        quick = false;
        moved.fixedBottom = std::max(moved.fixedBottom, fixedBottom);
        SettleBodyRow(rows, size_t(at));
        CElement* c = rows.rows[size_t(at)].e;
        const CPoint floatOrigin(root->m_inline ? 0 : position.x, position.y);
        WalkSubtree(c, position, floatOrigin, false, pre, post);
        if (dy && tailTop <= tailBottom) {
            moved.dy = dy;
            moved.top = std::min(moved.top, tailTop);
            moved.bottom = std::max(moved.bottom, tailBottom);
            moved.rows.emplace_back(tailTop, tailBottom);
            moved.rows.emplace_back(tailTop + dy, tailBottom + dy);
            ShiftBodyRowsAfter(rows, size_t(at), dy);
            root->Lay().m_paintTop = std::min(root->Lay().m_paintTop, tailTop + dy);
            root->Lay().m_paintBottom = std::max(root->Lay().m_paintBottom, tailBottom + dy);
        }
        return true;
    };
    if (!quickWalk()) {
        WalkDocument(root, pre, post);
        BuildBodyRows(root);
    }
    ClearBodyNotes(root);
    // The body's border runs around all its children: any change repaints it.
    if (!changed.empty() && HasOwnBorder(root))
        st->m_dirtyRows.emplace_back(INT_MIN, INT_MAX);
}

void CElement::RedrawChanged(void*, CPoint)
{
    CElement* root = RootOf(this);
    CPaintState* st = StateOf(root);
    if (!st || !IsRoot(root) || !root->m_dc || !root->m_owner)
        return;
    // Only the changed subtrees moved: CleanChanged left every other element
    // as its record says.
    int changedBottom = INT_MIN;
    for (long id : st->m_changedIds) {
        if (CElement* e = root->m_owner->m_doc.FindElement(id)) {
            RecordChanged(e);
            st->m_dirtyRows.emplace_back(e->Lay().m_paintTop, e->Lay().m_paintBottom);
            changedBottom = std::max(changedBottom, e->Lay().m_paintBottom);
        }
    }
    st->m_changedIds.clear();
    MovePixels(root, *st, changedBottom);
    const std::vector<std::pair<int, int>> rows = Merged(std::move(st->m_dirtyRows));
    st->m_dirtyRows.clear();
    for (const auto& r : rows)
        PaintResidentRows(root, r.first, r.second);
}

bool CElement::FastDraw()
{
    try {
        CElement* root = RootOf(this);
        if (!IsRoot(root) || !root->m_dc)
            return false;
        root->CleanChanged(root->m_dc.get(), CPoint());
        root->RedrawChanged(root->m_dc.get(), CPoint());
        return true;
    } catch (...) {
        return false;
    }
}

bool CElement::Notify(int code, CElement* from)
{
    if (code > 8)
        return true;
    try {
        CElement* root = RootOf(this);
        if (code == 2 || code == 8) {
            // What FastReCalc lays out: from, or the block around inline
            // content. Kept by identifier: from may be deleted on the way.
            long relaid = 0;
            for (CElement* e = from; e; e = e->m_parent) {
                relaid = e->m_id;
                if (!e->m_parent || !(e->m_inline || e->m_kind == kKindText))
                    break;
            }
            if (from) {
                if (code == 8)
                    from->m_forceRepaint = 1;
                if (CElement* list = from->IsElementUnderClass(1)) {
                    if (list->m_parent)
                        list->m_parent->m_forceRepaint = 1;
                }
                // Last: laying out again may join a piece of a wrapped run
                // into the piece before it and delete it.
                from->FastReCalc(true);
            }
            const CXDocServices* doc = root->m_owner ? &root->m_owner->m_doc : nullptr;
            const bool sameSize = doc && root->m_dc
                && root->Lay().m_sizeRect.right - root->Lay().m_sizeRect.left == doc->m_layoutWidth
                && root->Lay().m_sizeRect.bottom - root->Lay().m_sizeRect.top == doc->m_layoutHeight;
            // A document that only grew or shrank keeps its bitmap while it
            // fits: then only what moved is repainted.
            bool quick = sameSize;
            if (!sameSize && doc && root->m_dc
                && root->Lay().m_sizeRect.right - root->Lay().m_sizeRect.left == doc->m_layoutWidth) {
                const void* before = root->m_dc.get();
                quick = root->PrepareBitmap(nullptr) && root->m_dc.get() == before;
            }
            CPaintState* st = StateOf(root);
            if (quick && st && relaid)
                st->m_relaidIds.push_back(relaid);
            if (quick)
                root->FastDraw();
            else
                RepaintDocument(root);
        } else if (code >= 4 && code <= 7) {
            root->Draw(nullptr);
        }
    } catch (...) {
        // The edit stands; the bitmap keeps its last painting.
    }
    return true;
}

bool CElement::SendNotification(int code)
{
    try {
        if (code == 3) {
            CElement* root = RootOf(this);
            ReCalcReg(root->m_dc.get(), false, false, false, nullptr);
            CElement* next = NextInDocument(this);
            if (!next) {
                code = 4;
            } else {
                const CRect mine = DocumentBox(this);
                const int available = root->Lay().m_availRect.right - root->Lay().m_availRect.left;
                const bool overflows = available > 0 && available < mine.right;
                code = overflows || Overlaps(mine, DocumentBox(next)) ? 2 : 4;
            }
        }
        return m_parent ? m_parent->Notify(code, this) : Notify(code, this);
    } catch (...) {
        return false;
    }
}

bool CElement::RepaintToSameDC(void* dc, CPoint origin, void*, bool withChildren, CPoint floatOrigin)
{
    struct Frame
    {
        CElement* e;
        CPoint origin;
        CPoint floatOrigin;
        CPoint own;
        CElement* next;
        bool entered;
    };
    if (!dc)
        return false;
    try {
        std::vector<Frame> stack{Frame{this, origin, floatOrigin, CPoint(), nullptr, false}};
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (!f.entered) {
                f.entered = true;
                f.own = f.e->m_floating ? f.floatOrigin : f.origin;
                f.own += f.e->Lay().m_position;
                CPoint markerOrigin = f.own;
                f.e->DrawMarker(dc, markerOrigin);
                f.e->SelfPaint(dc, f.own);
                f.e->DrawBorder(dc, f.own, nullptr);
                f.next = withChildren ? f.e->m_firstChild : nullptr;
            }
            if (f.next) {
                CElement* child = f.next;
                f.next = child->m_nextSibling;
                CPoint childFloat = f.floatOrigin;
                childFloat.y += f.e->Lay().m_position.y;
                if (!f.e->m_inline)
                    childFloat.x += f.e->Lay().m_position.x;
                const CPoint childOrigin = f.own;
                stack.push_back(Frame{child, childOrigin, childFloat, CPoint(), nullptr, false});
                continue;
            }
            f.e->DrawMarkOnElement(dc, f.own);
            stack.pop_back();
        }
        return true;
    } catch (...) {
        return false;
    }
}
