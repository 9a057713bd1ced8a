#pragma once
// Where an element stands in the document. Positions are relative to the
// parent's box; the document position adds them up to the root. A float
// inside an inline element is placed relative to the block around it, so
// below a float the x of inline ancestors is passed over.

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"

class CElement;

// The document position of e's box; top receives e's topmost ancestor (e
// itself without a parent) when given.
CPoint DocumentPosition(const CElement* e, const CElement** top = nullptr);
// e's box in document coordinates.
CRect DocumentRect(const CElement* e);
// e's box (its laid-out size) with its top left corner at the document
// point at.
CRect BoxAt(const CElement* e, CPoint at);
