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
// Notifications carry edits upwards: codes 2 and 8 re-lay the element out
// and repaint what changed, codes 4 to 7 lay out and paint the whole
// document, code 3 lets the element choose between 2 and 4.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/paint/DocumentWalk.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <vector>

using namespace qm::paint;

namespace {

CRect DocumentBox(CElement* e)
{
    CRect r = e->m_sizeRect;
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
    return e->m_painted && !e->m_forceRepaint && e->m_prevDocPos == position
        && e->m_prevRect.left == e->m_sizeRect.left && e->m_prevRect.top == e->m_sizeRect.top
        && e->m_prevRect.right == e->m_sizeRect.right && e->m_prevRect.bottom != e->m_sizeRect.bottom
        && e->m_paintFill == e->m_availRect.right - e->m_availRect.left
        && e->m_paintChildren == e->m_childCount;
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
    WalkDocument(
        root,
        [&](CElement* e, CPoint position) {
            // A child added or removed shows in the count; the old rows of the
            // element cover those of every child it had.
            // A text run whose text, font, colour or selection changed is
            // drawn anew even where its box stayed.
            CTextElement* run = e->IsTextElement() ? dynamic_cast<CTextElement*>(e) : nullptr;
            if (e == root && GrewOrShrank(e, position)) {
                // Only the rows between the old and the new bottom are the
                // body's own change; its children say for themselves.
                const int bottom = position.y + std::max(e->m_sizeRect.top, e->m_sizeRect.bottom);
                const int reach = CPaintState::kPaintSlack + std::max<int>(e->m_marginRightBottom.y, 0) + 10;
                const int oldBottom = position.y + std::max(e->m_prevRect.top, e->m_prevRect.bottom);
                st->m_dirtyRows.emplace_back(std::min(bottom, oldBottom) - CPaintState::kPaintSlack,
                    std::max(e->m_paintBottom, bottom + reach));
                e->m_prevRect = e->m_sizeRect;
                e->m_paintBottom = std::max(e->m_paintBottom, bottom + reach);
            }
            const bool same = e->m_painted && !e->m_forceRepaint && e->m_prevDocPos == position
                && e->m_prevRect == e->m_sizeRect
                && e->m_paintFill == e->m_availRect.right - e->m_availRect.left
                && e->m_paintChildren == e->m_childCount
                && (!run || run->m_paintedLook == run->PaintedLook());
            e->m_changed = same ? 0 : 1;
            if (!same) {
                if (e->m_painted)
                    st->m_dirtyRows.emplace_back(e->m_paintTop, e->m_paintBottom);
                changed.push_back(e->m_id);
            }
            return same && looksBelow(e);
        },
        [](CElement*, CPoint) {});
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
    for (long id : st->m_changedIds) {
        if (CElement* e = root->m_owner->m_doc.FindElement(id)) {
            RecordChanged(e);
            st->m_dirtyRows.emplace_back(e->m_paintTop, e->m_paintBottom);
        }
    }
    st->m_changedIds.clear();
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
            const CXDoc* doc = root->m_owner ? &root->m_owner->m_doc : nullptr;
            const bool sameSize = doc && root->m_dc
                && root->m_sizeRect.right - root->m_sizeRect.left == doc->m_layoutWidth
                && root->m_sizeRect.bottom - root->m_sizeRect.top == doc->m_layoutHeight;
            // A document that only grew or shrank keeps its bitmap while it
            // fits: then only what moved is repainted.
            bool quick = sameSize;
            if (!sameSize && doc && root->m_dc
                && root->m_sizeRect.right - root->m_sizeRect.left == doc->m_layoutWidth) {
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
                const int available = root->m_availRect.right - root->m_availRect.left;
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
                f.own += f.e->m_position;
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
                childFloat.y += f.e->m_position.y;
                if (!f.e->m_inline)
                    childFloat.x += f.e->m_position.x;
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
