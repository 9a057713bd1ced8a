#pragma once
// The drawing primitives of element painting: simple shapes drawn into the
// document's offscreen bitmap context (a qm::cg::Context passed as void*).
//
// Callers give rectangles and points in element-tree coordinates (integer
// pixels, y growing downwards); the context is y-up. When an element is
// passed, each y is flipped against the flip height H, the height of the
// document's offscreen bitmap as allocated (the body's content height plus
// 200): a document y becomes H - y. Without an element H is 0 and the
// coordinates are used as they are (xDrawLine takes H itself). A flip
// height of 0 always means "not flipped".
//
// Colours are packed RGB values (red in the low byte); each component goes
// to the context as component / 255 with alpha 1. Sizes are taken as
// absolute differences, so a rectangle given with right < left or
// bottom < top still has a positive size, anchored at left and at bottom
// (flipped) or top (not flipped).
//
// Each primitive leaves the context's graphics state (colours, line width,
// dashes) as it found it. A null context draws nothing.

#include "base/geometry/GeometryTypes.h"

class CElement;
class CRect;

// The flip height for e: its document's allocated bitmap height; 0 for a
// null element or one without a document.
int GetFlipHeight(const CElement* e);

// Fills the rectangle: x = left, y = H - bottom (flipped) or top.
void xFillSolidRect(void* context, const CRect& rect, unsigned long colour, const CElement* e);

// A 1-pixel solid frame stroked as four segments of one path at half-pixel
// offsets. Not flipped: the top edge at y = top + 0.5, the bottom edge at
// bottom - 0.5. Flipped: at H - top + 0.5 and H - bottom - 0.5, so in
// top-down rows the top edge covers row top - 1 and the bottom edge row
// bottom. The left edge is at x = left + 0.5 and the right edge at
// right + 0.5 (column right, just outside a half-open rectangle), each
// running from top to bottom.
void xFrameRect(void* context, const CRect& rect, const unsigned long& colour, const CElement* e);

// One 1-pixel segment between the rectangle's two corners, from
// (left, H - top + 0.5) to (right, H - bottom + 0.5).
void xDrawLine(void* context, const CRect& rect, unsigned long colour, int flipHeight);

// The closed outline through points[0..4] (always five points), each y as
// H - y + 0.5, filled with fill and then stroked 1 pixel wide with stroke.
// Without an element (H 0) nothing is drawn.
void xDrawPolygon(
    void* context, const POINT* points, unsigned long fill, unsigned long stroke, const CElement* e);

// A full circle of radius width / 2, centred at (left + width / 2, centre y)
// with centre y = H - (top + height / 2) flipped or top + height / 2, stroked
// 1 pixel wide (xDrawCircle) or filled as a disc (xDrawEllipse). The height
// only places the centre.
void xDrawCircle(void* context, const CRect& rect, unsigned long colour, const CElement* e);
void xDrawEllipse(void* context, const CRect& rect, unsigned long colour, const CElement* e);

// Tints the rectangle with blue (0, 0, 1) at alpha 0.3: how selected areas
// are marked, their content staying readable (over white: about 178, 178,
// 255).
void xInvertRect(void* context, const CRect& rect, const CElement* e);
