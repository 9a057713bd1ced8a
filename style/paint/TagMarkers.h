#pragma once
// Tag markers: an element whose style gives it a marker label
// (m_markerLabel, worked out by the cascade from "-qm-marker-label") is
// drawn with two small labelled arrows, a start marker pointing right before
// it and an end marker pointing left after it.
//
// Room. The layout reserves the markers' room in the element's margins when
// it resolves them (CElement::CalcForMarker, the last step of CalcForAll),
// from the label's ink size w x h, h rounded up to an even number. With
// s = h / 2 + w + 9, each box is s wide and h + 2 high:
//   inline element  left margin + s where its start shows (a first piece or
//                   not wrapped), right margin + s where its end shows (a
//                   last piece or not wrapped); a middle piece none;
//   block, list or table part   top and bottom margins + h + 8 each;
//   anything else (an image)    left and right margins + s each.
// The box sizes are kept in m_startMarker and m_endMarker (left and top 0);
// an element without a label, and the root, reserve nothing.
//
// Place. MarkerBoxes puts the boxes around the element's box at a drawing
// origin: an inline element's start box in its left margin and end box in
// its right margin, both from its top (an image's centred on its height); a
// block's start box above its top-left corner and end box below its
// bottom-right corner, ending at the available width (a table part's at its
// own width).
//
// Repaint. Boxes lie in the element's margins and painted rows, so the rows a
// repaint clears after an edit hold the old markers too (PaintState.h).

#include "base/geometry/Colour.h"
#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"

class CElement;

namespace qm::paint {

// The marker room for a label of ink size width x height: box width and
// height, and what each margin grows by.
struct MarkerRoom
{
    int boxWidth = 0;
    int boxHeight = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool start = false; // a start box is reserved
    bool end = false;   // an end box is reserved
};

// How an element takes marker room.
enum class MarkerShape
{
    Inline,
    Block,
    Other
};

MarkerShape MarkerShapeOf(const CElement* e);
// wrapState as WrapStateOf: 0 not wrapped, -1 first piece, 1 last, 2 middle.
MarkerRoom ComputeMarkerRoom(MarkerShape shape, int wrapState, int labelWidth, int labelHeight);

// The two boxes in document coordinates for an element drawn at origin;
// empty rectangles where no box is reserved.
void MarkerBoxes(const CElement* e, CPoint origin, CRect& start, CRect& end);

// Default marker colours: label and border black, background light yellow.
constexpr unsigned long kMarkerDefaultBackground = RGB(255, 255, 153);

} // namespace qm::paint
