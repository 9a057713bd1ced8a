#pragma once
// The floats placed during the running layout pass, found by where they
// stand.
//
// Testing every child against every float of the document costs children
// times floats. During a pass that began at the root only the floats placed
// so far in the pass count, and only those beside the child's rows matter:
// the index keeps their margin boxes (document coordinates) sorted by top,
// so a query looks at the floats near the rows it asks about.
//
// The boxes stay exact as long as every element moved after it was laid out
// in the pass is moved through MoveBox: moving an element that has a float
// of this pass below it (or is one) marks the boxes out of date, and they are
// worked out again at the next query. Floats of other passes are not in the
// index; a pass over part of the tree walks the whole float list instead.

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"

#include <vector>

class CElement;

struct PlacedFloat
{
    CElement* element;
    CRect box;          // margin box, document coordinates
    unsigned long rank; // placement order in the pass
};

// The float has its place in the running pass (again, when placed twice).
void NoteFloatPlaced(CElement* f);
// Sets e's position; when that moves a float of this pass (e is one, or
// holds one), the index's boxes are worked out again before the next query.
void MoveBox(CElement* e, CPoint position);
// Whether the running pass began at the root, so that the index holds every
// float that counts.
bool FloatIndexCovers();
// The floats of root placed so far in this pass whose boxes meet the rows
// [top, bottom) (at least one row), in placement order; with rank, only
// those placed after that rank.
void PlacedFloatsNear(
    const CElement* root, int top, int bottom, std::vector<PlacedFloat>& out, unsigned long afterRank = 0);
// Every float of root placed so far in this pass, in placement order.
void PlacedFloats(const CElement* root, std::vector<PlacedFloat>& out);
// Whether a float placed so far in this pass meets the rows of e's box
// where it stands now.
bool PlacedFloatsMeet(const CElement* e);
// Whether e's layout in the running pass may depend on floats: the
// document has floats, and the pass did not begin at the root (its index
// is not kept), or a float inside e was placed in the pass, or one placed
// so far meets e's rows.
bool FloatsMayReach(const CElement* e);
// The float's margin box in document coordinates (vertical margins left out
// for an inline float); false when f is not in root's tree.
bool FloatMarginBox(const CElement* f, const CElement* root, CRect& box);
