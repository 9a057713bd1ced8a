#pragma once
// Walking the root's float list. An entry whose element is no longer a live
// element of the document (destroyed without going through DeleteElement)
// is dropped from the list without being read; an element that is not in
// the root's tree (taken out, waiting to be destroyed) is passed over.

#include "base/geometry/Rect.h"

#include <functional>

class CElement;

// Calls fn with each float of root's list that stands in root's tree, with
// its margin box in document coordinates (vertical margins left out for an
// inline float). fn answers false to stop the walk.
void ForEachFloat(CElement* root, const std::function<bool(CElement* f, const CRect& box)>& fn);

// As ForEachFloat, but in a pass that began at the root only the floats the
// pass has placed so far (style/floats/FloatIndex.h).
void ForEachCountingFloat(CElement* root, const std::function<bool(CElement* f, const CRect& box)>& fn);

// The float's side: kFloatLeft or kFloatRight.
int FloatSide(const CElement* f);
