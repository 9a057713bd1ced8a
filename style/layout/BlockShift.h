#pragma once
// Moving the blocks after an edited block instead of laying its parent out
// again. When an edit changes only a block's height, its parent's lines
// after it are those of the last layout moved down or up by the difference,
// as long as nothing there depends on where it stands: no floats in the
// document, no alignment or height of the parent's own, a block that keeps
// its width, position and baseline. ShiftFollowing then moves the siblings
// after the block and the parent's bottom edge, which costs one step per
// sibling instead of a layout of each.

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"

class CElement;

// parent's lines after child, whose box was childBefore with its baseline
// baselineBefore, moved by the change of child's height, and parent's
// bottom edge with them; parent's box is then what laying it out again
// (CalcWinReg without its children, then HandleFinalWidth) gives. False,
// with nothing changed, where that cannot be known without the layout.
bool ShiftFollowing(CElement* parent, CElement* child, const CRect& childBefore, CPoint baselineBefore);
