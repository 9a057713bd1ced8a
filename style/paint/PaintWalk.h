#pragma once
// The pieces of painting that the files of style/paint/ share: the walks
// over the tree (iterative, so a tree of any depth paints), painting limited
// to a band of rows, the geometry records and the rules several painting
// steps apply alike.

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"

#include <climits>

class CElement;
class CPaintState;

namespace qm::paint {

// Document rows top .. bottom - 1.
struct Band
{
    int top;
    int bottom;
};

// The top of e's tree: the document's body (a body nested in it included),
// or the top of a subtree not in a document.
CElement* RootOf(const CElement* e);
// e owns the document's bitmap: a body without a parent.
bool IsRoot(const CElement* e);
// e's document's paint state, created on first use; null without an owner.
CPaintState* StateOf(const CElement* e);

// DrawPaint of e at origin; with a band, subtrees whose recorded rows miss
// it are passed over (the clip hides them anyway).
void PaintTree(CElement* e, void* dc, CPoint origin, bool floatPass, const Band* band);
// DrawElement of e at origin with the same band rule.
void PaintFloats(CElement* e, void* dc, CPoint origin, const Band* band);
// Clears the rows of the bitmap (its resident tiles) and repaints them from
// the body down, clipped to them, or to their columns left .. right - 1.
// Rows known to be clear (tiles just made resident) are not cleared again.
void PaintRows(CElement* root, int top, int bottom, bool clear = true, int left = 0, int right = INT_MAX);
// PaintRows of the resident tiles' rows among top .. bottom - 1: rows that
// no tile holds are not walked.
void PaintResidentRows(CElement* root, int top, int bottom);
// Records the geometry of every element of the tree (PaintState.h).
void RecordGeometry(CElement* root);
// Records the geometry of e's subtree after an edit changed it; e's parent's
// record must be current.
void RecordChanged(CElement* e);
// The records of e's subtree after e moved dy rows with nothing in it laid
// out again: positions and painted rows move with it, and e's ancestors'
// rows grow to hold its new ones. Only e's own record changes at once; its
// descendants' follow when a walk reaches them (Lay().m_recordShift).
void ShiftRecords(CElement* e, int dy);
// Hands e's pending record shift to its children, whose records are then
// current when e's are. Every walk that reads a child's record calls it
// before descending.
void PushRecordShift(CElement* e);
// Makes the records of e's ancestors, e and its whole subtree current.
void SettleRecords(CElement* e);

// Step 3 and 4 of painting one element: its background colour, the
// selection tint and its background picture. Records the painted colour.
void PaintBackground(CElement* e, void* dc, CPoint origin, bool floatPass, const Band* band);
// The width a block fills when its background or border spans what its
// parent gives it: its available width with its borders and paddings.
int FillWidth(CElement* e);
// box (e's box where it is painted) from its left edge over FillWidth. A
// parent that centres or right-aligns its lines moves a block narrower than
// that width to the right: the width it fills is then held within the
// parent's content, ending at its right edge (less e's right margin) and
// starting that width before it. A float keeps the width from its left.
CRect FilledBox(CElement* e, CRect box);
// A border side's width in pixels.
int BorderWidth(CElement* e, int side);
// Whether e draws any border side of its own.
bool HasOwnBorder(CElement* e);

} // namespace qm::paint
