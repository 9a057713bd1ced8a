#pragma once
// Joining what a deletion across two blocks leaves of them. A selection
// from inside one paragraph, heading, list item or definition entry into
// the text of another leaves the text before it in the first block and the
// text after it in the second; those belong together again as one block, as
// the text stood around the part taken, so that no word is left split over
// two blocks. A cut, a moving drop and Backspace, Delete, typing or Return
// over such a selection all join them the same way.
//
// The edges are taken from the selection before the deletion, the join is
// made after it.

#include <vector>

class CElement;
class CXDoc;

// The two blocks the selection starts and ends in, when they may be joined:
// the second may lie in a list nested in the first, or in another list;
// the way from either up to the element holding both passes only through
// lists and their items, never through a table's cells or other
// containers. before: the children of the first block up to the one the
// selection starts in, which the second's content follows. All are held by
// identifier, as the deletion may remove them. Both 0 when the selection
// allows no join.
struct DeletionEdges
{
    long first = 0;
    long last = 0;
    std::vector<long> before;
};

DeletionEdges EdgesOfSelection(CElement* root);

// After the deletion: when both blocks are still in doc's tree and apart,
// and nothing the deletion left stands between their texts, what is left of
// the second follows the child of the first the selection started in; the
// second block and the lists and items emptied by that go, and a blank held
// at the seam as a no-break space becomes a plain blank again. Whether the
// two were joined.
bool JoinDeletionEdges(const CXDoc& doc, const DeletionEdges& edges);
