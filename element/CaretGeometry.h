#pragma once
// Geometry shared by the caret operations (ElementCaret*.cpp).

#include "base/geometry/Rect.h"

class CElement;

// The right edge of the area e's content was given, in e's own coordinates:
// the left edges (borders, paddings) plus the available width. It lies
// further right than the box when the box is narrower than its area.
int ContentBoxRight(CElement* e);
// e's box in its parent's coordinates, its right edge widened to
// ContentBoxRight - 1 for headings, lists, li, dl, dd and dt that set no
// width (an auto width still widens, except inside a div).
CRect HitRect(CElement* e);
