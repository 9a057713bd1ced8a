// Keeping content clear of floats (CalcValidPosition).
//
// The child's box, in document coordinates, is tested against each float of
// the document that counts for it. A left float it overlaps pushes it right,
// to 6 pixels past the float's margin box; a float of a side the child (or
// an ancestor the float is not inside) clears moves it below the float, 19
// pixels past its bottom; right floats on its line take room at the line's
// end. Later floats are tested at the place the earlier ones moved it to.

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "style/floats/FloatIndex.h"
#include "style/floats/FloatList.h"
#include "style/floats/FloatRoom.h"
#include "style/floats/Overlap.h"
#include "style/layout/CalcInfo.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kFloatGap = 6;
constexpr int kClearGap = 19;
constexpr int kBlockquoteRoom = 40;

const CElement* CellOf(const CElement* e)
{
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        if (a->m_tableCell)
            return a;
    }
    return nullptr;
}

// a comes before b in document order (neither holds the other).
bool ComesBefore(const CElement* a, const CElement* b)
{
    std::vector<const CElement*> pathA, pathB;
    for (const CElement* x = a; x; x = x->m_parent)
        pathA.push_back(x);
    for (const CElement* x = b; x; x = x->m_parent)
        pathB.push_back(x);
    auto ia = pathA.rbegin();
    auto ib = pathB.rbegin();
    if (*ia != *ib)
        return false;
    while (ia + 1 != pathA.rend() && ib + 1 != pathB.rend() && *(ia + 1) == *(ib + 1)) {
        ++ia;
        ++ib;
    }
    if (ia + 1 == pathA.rend() || ib + 1 == pathB.rend())
        return false;
    const CElement* branchB = *(ib + 1);
    for (const CElement* s = *(ia + 1); s; s = s->m_nextSibling) {
        if (s == branchB)
            return true;
    }
    return false;
}

// The float was placed before the child: in this pass, or earlier in
// document order.
bool PlacedBefore(const CElement* f, const CElement* child)
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    if (pass && f->Lay().m_layoutPass == pass)
        return true;
    return ComesBefore(f, child);
}

// The child meets the float only through a table part, a cell, a list or
// more than one block level.
bool FarFrom(const CElement* f, const CElement* child)
{
    const CElement* common = FindSameParent(const_cast<CElement*>(f), const_cast<CElement*>(child));
    int blocks = 0;
    for (const CElement* a = child->m_parent; a && a != common; a = a->m_parent) {
        if (a->m_tablePart || a->m_list || a->m_defList)
            return true;
        if (a->m_block && ++blocks > 1)
            return true;
    }
    return false;
}

struct ClearingAncestor
{
    const CElement* element;
    int mask;
};

int ClearMask(const CElement* e) { return e->Style().clear.set ? e->Style().clear.value : 0; }

int BlockquotesAround(const CElement* f)
{
    int n = 0;
    for (const CElement* a = f->m_parent; a; a = a->m_parent)
        n += a->m_kind == kKindBlockquote;
    return n;
}

bool SharesLine(const CRect& a, const CRect& f)
{
    const LONG bottom = std::max(a.bottom, a.top + 1);
    return a.top < f.bottom && f.top < bottom;
}

} // namespace

bool CElement::CalcValidPosition(CElement* child, CPoint pos, CPoint& leftRoom, CPoint& rightRoom,
    CPtrList* rightFloats, bool sameBlockOnly, CalcInfo* info)
{
    leftRoom = CPoint(0, 0);
    rightRoom = CPoint(0, 0);
    if (!child)
        return false;
    CPoint doc = pos;
    ElementToScreen(doc);
    return FloatRoom(this, child, BoxAt(child, doc), leftRoom, rightRoom, rightFloats, sameBlockOnly, info);
}

bool FloatRoom(CElement* parent, CElement* child, const CRect& start, CPoint& leftRoom, CPoint& rightRoom,
    CPtrList* rightFloats, bool sameBlockOnly, CalcInfo* info)
{
    leftRoom = CPoint(0, 0);
    rightRoom = CPoint(0, 0);
    if (!parent || !child || (!parent->m_block && !child->IsFloatType()))
        return false;
    CElement* root = parent->m_root ? parent->m_root : parent;
    if (root->Rare().m_floatList.GetCount() == 0)
        return false;
    if (child->m_tablePart && child->m_kind != kKindTable)
        return false;

    // In a pass from the root, the floats placed so far beside the child's
    // rows; otherwise every float of the list placed before the child.
    const bool indexed = FloatIndexCovers();
    std::vector<PlacedFloat> near;
    if (indexed) {
        PlacedFloatsNear(root, start.top, start.bottom, near);
        if (near.empty())
            return true;
    }

    const CElement* cell = CellOf(child);
    const CElement* floatingAncestor = child->IsUnderFloat();
    const CElement* block = sameBlockOnly ? child->GetFirstBlockParent() : nullptr;
    const int ownClear = ClearMask(child);
    std::vector<ClearingAncestor> clearing;
    for (const CElement* a = child->m_parent; a; a = a->m_parent) {
        if (int mask = ClearMask(a))
            clearing.push_back({a, mask});
    }

    CRect box = start;
    auto consider = [&](CElement* f, const CRect& fbox) {
        if (f == child || child->IsOneOfParent(f) || f->IsOneOfParent(child))
            return;
        if (block && !f->IsOneOfParent(block))
            return;
        if (f->IsUnderFloat() != floatingAncestor || CellOf(f) != cell)
            return;
        if (info && info->nearFloatsOnly && FarFrom(f, child))
            return;
        const bool right = FloatSide(f) == kFloatRight;
        const int fw = fbox.right - fbox.left;
        if (!IsOverlap(&box, &fbox)) {
            if (right && SharesLine(box, fbox)) {
                if (rightFloats)
                    rightFloats->AddTail(f);
                if (f->IsOneOfParent(parent))
                    rightRoom.x = std::max<LONG>(rightRoom.x, ClampLength(fw + kFloatGap));
            }
            return;
        }
        parent->Lay().m_touchesFloat = 1;
        int clears = ownClear;
        for (const ClearingAncestor& c : clearing) {
            if (!f->IsOneOfParent(c.element))
                clears |= c.mask;
        }
        if (clears & FloatSide(f)) {
            leftRoom.x = 0;
            leftRoom.y = std::max<LONG>(leftRoom.y, ClampLength(fbox.bottom - start.top + kClearGap));
        } else if (!right) {
            leftRoom.x = ClampLength(leftRoom.x + (fbox.right - box.left) + kFloatGap);
            // In a narrow parent of fixed width the child goes below the float.
            const CElement* holder = child->m_parent;
            if (holder && holder->m_block && holder != root && holder->Lay().m_cssRect.right > 0
                && f->IsOneOfParent(holder)
                && holder->Lay().m_cssRect.right < start.right - start.left + leftRoom.x) {
                leftRoom.x = 0;
                leftRoom.y = std::max<LONG>(leftRoom.y, ClampLength(fbox.bottom - start.top));
            }
        } else {
            rightRoom.x = ClampLength(rightRoom.x + fw + kBlockquoteRoom * BlockquotesAround(f) + kFloatGap);
            if (rightFloats)
                rightFloats->AddTail(f);
        }
        box = start;
        box.OffsetRect(leftRoom.x, leftRoom.y);
    };

    if (!indexed) {
        ForEachFloat(root, [&](CElement* f, const CRect& fbox) {
            if (PlacedBefore(f, child))
                consider(f, fbox);
            return true;
        });
        return true;
    }
    for (size_t i = 0; i < near.size(); ++i) {
        const LONG down = leftRoom.y;
        consider(near[i].element, near[i].box);
        // Moved down below a float it clears: the floats beside its new rows
        // placed after that one are tested next.
        if (leftRoom.y != down) {
            const unsigned long rank = near[i].rank;
            PlacedFloatsNear(root, box.top, box.bottom, near, rank);
            i = static_cast<size_t>(-1);
        }
    }
    return true;
}
