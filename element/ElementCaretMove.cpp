// Moving the caret from stop to stop through the tree. A move starts at the
// element the caret leaves and walks its siblings in the direction; an
// element that is not a stop is entered (its children searched from the
// near end), and at the end of a child list the parent goes on after this
// element. An edge-caret element is a stop twice, before and after it: the
// caret reaches it at one offset and leaves from the other, entering its
// children in between (an image or a rule has none: its offset flips).
// Directions 2 and 3 pass over edge-caret stops and enter them directly.

#include "element/Element.h"

#include "element/services/XHTMLServices.h"

namespace {

bool IsForward(int direction) { return direction == 1 || direction == 3; }
bool StopsAtEdges(int direction) { return direction == 0 || direction == 1; }

bool IsStop(CElement* c, int direction)
{
    return (c->m_edgeCaret && StopsAtEdges(direction)) || c->CanGetKeyFocus();
}

// A stop reached from outside: forward at its start, backward at its end.
CElement* Arrive(CElement* c, bool forward)
{
    c->m_caretOffset = forward ? 0 : (c->m_edgeCaret ? 1 : c->m_text.Length());
    return c;
}

// The first stop inside e's children in the direction, entering those that
// are not stops; null when there is none. It never looks beyond e: a caller
// that finds nothing goes on with e's next sibling itself, so each element
// is visited once per move (handing the rest of the walk up from inside
// would visit the siblings after e again for every empty one before them).
CElement* SearchInside(CElement* e, int direction)
{
    const bool forward = IsForward(direction);
    for (CElement* c = forward ? e->m_firstChild : e->m_lastChild; c;
         c = forward ? c->m_nextSibling : c->m_prevSibling) {
        if (IsStop(c, direction))
            return Arrive(c, forward);
        if (CElement* inside = SearchInside(c, direction))
            return inside;
    }
    return nullptr;
}

} // namespace

CElement* CElement::MoveKeyFocusToNext(long fromId, int direction)
{
    const bool forward = IsForward(direction);
    const bool edges = StopsAtEdges(direction);
    if (fromId == m_id) {
        // Leaving this element: from its near edge into its children.
        if (m_edgeCaret && edges && m_caretOffset == (forward ? 0 : 1)) {
            if (m_kind == kKindImg || m_kind == kKindHr) {
                m_caretOffset = forward ? 1 : 0;
                return this;
            }
            if (CElement* inside = SearchInside(this, direction))
                return inside;
        }
        return m_parent ? m_parent->MoveKeyFocusToNext(m_id, direction) : nullptr;
    }
    if (fromId == 0) {
        if (CElement* inside = SearchInside(this, direction))
            return inside;
        return m_parent ? m_parent->MoveKeyFocusToNext(m_id, direction) : nullptr;
    }
    CElement* child = GetChild(fromId, 0);
    if (!child) {
        // A stale identifier moves nothing; a live element that is not a
        // child hands the move up.
        if (m_owner && !m_owner->m_doc.IsElementExist(fromId))
            return nullptr;
        return m_parent ? m_parent->MoveKeyFocusToNext(m_id, direction) : nullptr;
    }
    if (child->m_edgeCaret && edges) {
        if (GetKeyOnElement() != child) {
            // The caret comes out of the child's content: its far edge.
            child->m_caretOffset = forward ? 1 : 0;
            return child;
        }
        if (forward && child->m_caretOffset == 0) {
            child->m_caretOffset = 1;
            return child;
        }
        if (!forward && child->m_caretOffset == 1 && child->m_kind == kKindHr) {
            child->m_caretOffset = 0;
            return child;
        }
    }
    for (CElement* c = forward ? child->m_nextSibling : child->m_prevSibling; c;
         c = forward ? c->m_nextSibling : c->m_prevSibling) {
        if (IsStop(c, direction))
            return Arrive(c, forward);
        if (CElement* inside = SearchInside(c, direction))
            return inside;
    }
    return m_parent ? m_parent->MoveKeyFocusToNext(m_id, direction) : nullptr;
}

CElement* CElement::FindNextElementInParent(bool forward)
{
    return m_parent ? m_parent->GetChild(m_id, forward ? 1 : 2) : nullptr;
}

CElement* CElement::GetElementAfter(long id)
{
    CElement* top = this;
    while (top->m_parent)
        top = top->m_parent;
    CElement* from = id == 0 ? this : nullptr;
    if (!from) {
        if (m_owner) {
            from = m_owner->m_doc.FindElement(id);
        } else {
            for (CElement* e = top; e && !from;) {
                if (e->m_id == id)
                    from = e;
                else if (e->m_firstChild)
                    e = e->m_firstChild;
                else {
                    while (e && !e->m_nextSibling)
                        e = e->m_parent;
                    e = e ? e->m_nextSibling : nullptr;
                }
            }
        }
    }
    if (!from)
        return nullptr;
    // The element must stand under this element's root.
    const CElement* above = from;
    while (above->m_parent)
        above = above->m_parent;
    if (above != top)
        return nullptr;
    if (from->m_firstChild)
        return from->m_firstChild;
    for (const CElement* e = from; e; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}
