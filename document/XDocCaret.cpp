// The document's copy of the caret. The caret is held by the caret element
// and its offset (element/Caret.h); the document keeps its foot (the row
// just below it, document pixels), height and colour for drawing, places it
// at document points (a click, an undo, a vertical move) and puts it at the
// start of elements.

#include "document/XDoc.h"

#include "element/Caret.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "elements/TableElement.h"
#include "style/layout/ElementPosition.h"

#include <cstdlib>

namespace {

// The side of an inline element the caret stands before or after (an
// image) nearest the point, when the element is on the point's row and
// that side is nearer than the stop found among the text runs (or that stop
// is on another row): the search for the nearest stop looks at text runs
// only. offset: 0 before, 1 after.
CElement* NearerEdgeStop(CElement* from, CPoint pt, CPoint found, long& offset)
{
    CElement* best = nullptr;
    CRect bestBox;
    long bestDx = 0;
    for (CElement* e = NextInSubtree(from, from); e; e = NextInSubtree(e, from)) {
        if (!e->m_edgeCaret || e->m_block)
            continue;
        const CRect box = DocumentRect(e);
        // The caret's foot stands one row below the box.
        if (pt.y < box.top || pt.y > box.bottom + 1)
            continue;
        for (long side = 0; side < 2; ++side) {
            const long dx = std::labs((side ? box.right : box.left) - pt.x);
            if (!best || dx < bestDx) {
                best = e;
                bestBox = box;
                bestDx = dx;
                offset = side;
            }
        }
    }
    // A text stop's foot may stand below an image on the same row, by
    // about its descent: a band as tall again as the image below it.
    const bool foundOnRow = found.x >= 0 && found.y >= bestBox.top
        && found.y <= bestBox.bottom + (bestBox.bottom - bestBox.top) + 1;
    if (best && foundOnRow && std::labs(found.x - pt.x) <= bestDx)
        return nullptr;
    return best;
}

} // namespace

bool CXDoc::IsInTree(const CElement* e) const
{
    if (!m_root || !IsElementExist(e))
        return false;
    // An unlinked element keeps its parent pointer: each level must also be
    // among its parent's children.
    for (; e->m_parent; e = e->m_parent) {
        const CElement* linked
            = e->m_prevSibling ? e->m_prevSibling->m_nextSibling : e->m_parent->m_firstChild;
        if (linked != e)
            return false;
    }
    return e == m_root;
}

bool CXDoc::UpdateKeyCursor()
{
    if (!IsInTree(m_caretElement))
        return false;
    try {
        const int height = m_caretElement->GetKeyLen();
        const unsigned long colour = m_caretElement->GetKeyColor();
        CPoint foot = m_caretPoint;
        m_caretElement->GetKeyPos(foot, -1);
        m_caretHeight = height;
        m_caretColor = colour;
        m_caretPoint = foot;
        return true;
    } catch (...) {
        WriteExcpInfo("UpdateKeyCursor");
        return false;
    }
}

void CXDoc::SetLastKeyPos(CPoint pt)
{
    m_lastKeyPoint = pt;
    m_lastKeyPos = pt;
    UpdateKeyCursor();
}

bool CXDoc::OfferCaret(CElement* e, CPoint pt, bool commit)
{
    bool enabled = m_caretEnabled != 0;
    CPoint point = m_caretPoint;
    int height = m_caretHeight;
    bool selection = m_selectionPresent != 0;
    if (!e->LButtonDown(0xFFFF, pt, enabled, point, height, selection))
        return false;
    if (commit) {
        m_caretElement = e;
        m_caretEnabled = enabled ? 1 : 0;
        m_caretPoint = point;
        m_caretHeight = height;
        m_caretColor = e->GetKeyColor();
        m_selectionPresent = selection ? 1 : 0;
        m_caretPhase = 1;
    }
    return true;
}

void CXDoc::SetKeyToPosition(CPoint pt, unsigned int flags)
{
    if (!m_root)
        return;
    try {
        const CElement* oldElement = m_caretElement;
        const long oldOffset = m_caretElement ? m_caretElement->m_caretOffset : -1;
        const CPoint oldPoint = m_caretPoint;
        CElement* hit = nullptr;
        if (flags & 1) {
            hit = m_root->WhereCursorOn(pt);
        } else {
            if (!ValidateCursorOn(pt))
                return;
            hit = m_pointerElement;
        }
        // The caret stops are searched in the whole document, or with flag
        // 2 inside the cell, dd or dt that was hit.
        CElement* from = m_root;
        for (CElement* e = (flags & 2) ? hit : nullptr; e; e = e->m_parent) {
            if (IsCellKind(e->m_kind) || e->m_kind == kKindDd || e->m_kind == kKindDt) {
                from = e;
                break;
            }
        }
        CPoint found(-1, -1);
        if (hit && OfferCaret(hit, pt, true)) {
            if (hit->IsTextElement() && m_caretElement == hit)
                found = m_caretPoint;
            else
                from = nullptr; // placed on the element pressed
        } else {
            CElement* nearest = nullptr;
            from->FindNearElement(pt, 0, found, &nearest, 0, true, nullptr);
            // Only a caret that was on moves to the stop found.
            if (nearest)
                OfferCaret(nearest, found, m_caretEnabled != 0);
            else
                found = CPoint(-1, -1);
        }
        // The search for stops and a text run's press look at text only: an
        // image nearer the press on its row takes the caret at its side.
        long side = 0;
        CElement* edge = from && m_caretEnabled ? NearerEdgeStop(from, pt, found, side) : nullptr;
        if (edge) {
            edge->m_caretOffset = side;
            m_caretElement = edge;
            m_caretPhase = 1;
            UpdateKeyCursor();
        }
        const bool moved = m_caretElement != oldElement || m_caretPoint != oldPoint
            || (m_caretElement && m_caretElement->m_caretOffset != oldOffset);
        if (!m_caretEnabled && m_caretPhase) {
            m_caretPhase = 0;
            Redraw();
        } else if (moved) {
            Redraw();
        }
    } catch (...) {
        WriteExcpInfo("SetKeyToPosition");
    }
}

bool CXDoc::ValidateCursorOn(CPoint pt)
{
    if (IsInTree(m_pointerElement))
        return true;
    m_pointerElement = m_root ? m_root->WhereCursorOn(pt) : nullptr;
    return m_pointerElement != nullptr;
}

bool CXDoc::ValidateKeyCursor()
{
    if (!IsInTree(m_caretElement))
        SetKeyToPosition(m_caretPoint, 1);
    return true;
}

void CXDoc::PutCursorIn(CElement* e)
{
    if (!IsInTree(e))
        return;
    // The first element that takes the caret: the first text run (kind 0
    // of GetFirstValidSubElement).
    CElement* target = nullptr;
    if (e->m_kind == kKindTable) {
        CElement* part = e->FindChild(kKindCaption, 0, false);
        if (!part) {
            if (const auto* table = dynamic_cast<const CTableElement*>(e))
                part = table->GetSingleCell(0, 0);
        }
        target = part ? part->GetFirstValidSubElement(0, false) : nullptr;
    } else if (e->m_kind == kKindDl) {
        target = e->m_firstChild ? e->m_firstChild->GetFirstValidSubElement(0, false) : nullptr;
    } else if (e->IsTextElement()) {
        target = e;
    }
    if (!target)
        return;
    m_caretElement = target;
    target->m_caretOffset = 0;
    UpdateKeyCursor();
    m_lastKeyPoint = m_caretPoint;
    m_lastKeyPos = m_caretPoint;
    m_caretPhase = 1;
}

void CXDoc::ChangeCursorElement(CElement* e, int offset)
{
    m_caretPhase = 0;
    DisplayCursorInView();
    if (e)
        m_caretElement = e;
    if (offset >= 0 && m_caretElement)
        m_caretElement->m_caretOffset = offset;
    m_caretPhase = 1;
    DisplayCursorInView();
}

CElement* CXDoc::MoveFocusToNextElement(CElement* e)
{
    if (!IsInTree(e) || !e->m_parent)
        return nullptr;
    CElement* next = e->m_parent->MoveKeyFocusToNext(e->GetID(), 1);
    if (!next)
        next = e->m_parent->MoveKeyFocusToNext(e->GetID(), 0);
    if (next)
        m_caretElement = next;
    return next;
}

CElement* CXDoc::SetCursorFromSource()
{
    CElement* marked = m_root ? FindCursorFromSource(m_root) : nullptr;
    if (marked)
        m_caretElement = marked;
    return marked;
}
