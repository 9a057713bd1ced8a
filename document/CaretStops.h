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

// The stops a walk has reached.
class CStopVisits
{
public:
    // True when e was reached before (the walk goes round and must end).
    bool Again(const CElement* e) { return !m_seen.insert(e).second; }

private:
    std::unordered_set<const CElement*> m_seen;
};
