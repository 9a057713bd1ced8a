#pragma once
// Walking the caret stops of a document one by one. The caret walk of the
// elements can come back to a stop it passed (or stay on one) in unusual
// trees, so every walk that loops over it remembers what it has seen and
// ends at the first stop seen twice.

#include "element/Element.h"

#include <unordered_set>

// The next (previous) caret stop after e; the walk sets offsets on the stops
// it reaches, which the caller restores where it matters.
inline CElement* NextStop(CElement* e, bool forward)
{
    return e->MoveKeyFocusToNext(e->GetID(), forward ? 1 : 0);
}

// The same for a walk that leaves the caret where it is: the elements' walk
// takes an edge stop (an image, a line break) that does not hold the caret
// for one the caret comes out of, and answers its far side again each time
// it is left, so a walk along a line ended at the first image. The stop is
// stepped from as the caret element (caretElement, the document's, is
// restored at once).
inline CElement* NextStopPast(CElement* e, bool forward, CElement*& caretElement)
{
    if (!e->m_edgeCaret || caretElement == e)
        return NextStop(e, forward);
    CElement* const caret = caretElement;
    caretElement = e;
    CElement* next = NextStop(e, forward);
    caretElement = caret;
    return next;
}

// The stops a walk has reached.
class CStopVisits
{
public:
    // True when e was reached before (the walk goes round and must end).
    bool Again(const CElement* e) { return !m_seen.insert(e).second; }
    // The same, with the two sides of a whole-caret-stop element (an image,
    // a line break) as two stops: the walk reaches such an element once at
    // each side, and a walk along a line goes on past it.
    bool AgainAtSide(const CElement* e)
    {
        if (!e->m_edgeCaret)
            return Again(e);
        return !(e->m_caretOffset ? m_after : m_before).insert(e).second;
    }

private:
    std::unordered_set<const CElement*> m_seen;
    std::unordered_set<const CElement*> m_before;
    std::unordered_set<const CElement*> m_after;
};
