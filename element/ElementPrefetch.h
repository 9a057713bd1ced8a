#pragma once
// A walk over a large tree waits mostly for element records to come from
// memory: the processor cannot guess which element comes next. A walk that
// knows the element it visits next (the next sibling, the first child) asks
// for it early with PrefetchElement, and the fields the walks read (links,
// kind and flags, tag name, text, attributes, owner: the record's first two
// cache lines, ElementFields.h) arrive while the walk works on the current
// element. (The text of the tag name and the style record are held once for
// many elements and stay in the cache.)

#include "element/Element.h"
#include "element/TreeWalk.h"

// The lines of an element's own record (the pool gives records on
// cache-line boundaries): a walk that reads or writes every field of the
// elements it visits (the restyle) asks for all of them.
constexpr int kElementRecordLines = 5;
static_assert(
    sizeof(CElement) <= kElementRecordLines * 64, "an element record fills at most five cache lines");

// Asks for the first lines of e's record: by default the two that hold
// those fields.
inline void PrefetchElement(const CElement* e, int lines = 2)
{
    if (!e)
        return;
    const char* record = reinterpret_cast<const char*>(e);
    for (int i = 0; i < lines; ++i)
        __builtin_prefetch(record + 64 * i);
}

// Prefetching for a walk over root's subtree in document order, whatever
// order the walk takes among siblings. A walk that follows the links of a
// large tree waits for every element in turn; one cursor running ahead of
// it would wait the same, one element after another. Here several lanes
// run ahead, each through the subtree of one of root's children (a unit),
// taking the next unit when its own is done: each step of the walk moves
// two lanes on by one element, so the lanes' waits overlap, and the walk
// finds the records and texts of the units ahead of it in the cache. The
// lanes keep within a few units of the walk. The tree must not change while
// they run.
class CPrefetchLanes
{
public:
    static constexpr int kLanes = 8;
    static constexpr int kLanesAStep = 2;
    static constexpr long kUnitsAhead = 12;
    static_assert(kLanesAStep == 2 && kLanes % kLanesAStep == 0 && (kLanes & (kLanes - 1)) == 0,
        "a step moves on a pair of lanes, the turns wrapping round by a mask");

    explicit CPrefetchLanes(const CElement* root) : m_root(root), m_nextUnit(root->m_firstChild)
    {
        __builtin_prefetch(m_nextUnit);
    }

    // The walk is about to visit e.
    void Step(const CElement* e)
    {
        if (e->m_parent == m_root)
            ++m_unitsEntered;
        // Lanes take turns: what a lane asked for has the time of several
        // steps to arrive before the lane reads it. The turns go round the
        // lanes in pairs (a step costs a few instructions, not a division).
        Lane* lanes = m_lanes + m_turn;
        Advance(lanes[0]);
        Advance(lanes[1]);
        m_turn = (m_turn + kLanesAStep) & (kLanes - 1);
    }

private:
    struct Lane
    {
        const CElement* unit = nullptr;
        const CElement* at = nullptr;
    };

    void Advance(Lane& lane)
    {
        if (lane.at) {
            // The record of lane.at was asked for at the lane's last step:
            // its text's address and its links are there to read now. An
            // element without text has a buffer all the same, which the
            // walk does not read: it is not asked for.
            if (const int length = lane.at->m_text.Length()) {
                const unsigned short* text = lane.at->m_text;
                __builtin_prefetch(text);
                __builtin_prefetch(text + length);
            }
            lane.at = StepInSubtree(lane.at, lane.unit);
        }
        if (!lane.at) {
            if (!m_nextUnit || m_unitsTaken >= m_unitsEntered + kUnitsAhead)
                return;
            lane.unit = lane.at = m_nextUnit;
            ++m_unitsTaken;
            m_nextUnit = m_nextUnit->m_nextSibling;
            __builtin_prefetch(m_nextUnit);
        }
        PrefetchElement(lane.at);
    }

    const CElement* m_root;
    const CElement* m_nextUnit; // the first unit no lane has taken yet
    long m_unitsTaken = 0;
    long m_unitsEntered = 0; // units the walk has come to
    unsigned m_turn = 0;     // the first of the pair of lanes to move on next
    Lane m_lanes[kLanes];
};
