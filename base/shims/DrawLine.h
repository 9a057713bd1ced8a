#pragma once
// Lines in top-down coordinates on a y-up graphics context: each y is
// flipped as height - y against the height of the drawing area.

#include "base/geometry/Rect.h"

// Styles 3 (dotted: dashes {width, width}) and 4 (dash and dot: {20, 5, 6,
// 5}) are stroked `width` wide along the line, shifted by width / 2 across
// it; every other style is a filled rectangle that covers the `width` pixels
// above a horizontal line (alongX) or to the right of a vertical one. The
// context's own line width, dash and colours are left as they were.
void MacDrawLine(void* context, int x1, int y1, int x2, int y2, int width, int height, int style,
    unsigned long colour, bool alongX);
// Fills `rect` (top-down) in the colour; the unnamed arguments play no part.
void MacDrawLine(void* context, CRect& rect, int, int height, int, unsigned long colour, bool);
