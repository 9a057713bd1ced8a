#pragma once
// The layout pass: what a document calls to lay its tree out, and the model
// the pass keeps.
//
// A document lays its body out at a width: LayoutDocument(body, width)
// gives the body that width (its CSS width, so the body spans it, and its
// available area less its own edges) and runs the body's BuildCDC and
// CalculateReg. CalculateReg lays out each child first (BuildCDC, then
// CalcWinReg, then the final size step HandleFinalWidth), so every element
// ends with:
//
//   Lay().m_sizeRect   (0, 0, width, height) of its box: borders, paddings and
//                content (the body's also its margins);
//   Lay().m_position   the box's top-left corner in the parent's box;
//   Lay().m_baseline   y: from the top of the box to its first baseline;
//   Lay().m_lineGroup  the identifier of the first child of its line (0 for
//                floats and blocks' own lines' elements keep theirs);
//   Lay().m_availRect, Lay().m_containerRect: the widths it was given.
//
// CalcWinReg lays a block's children out in lines (LineLayout.cpp) and an
// inline element's side by side (InlineLayout.cpp); floats and the room
// they take are style/floats/. Partial passes after an edit: FastReCalc,
// ReCalcReg, ReCalcWin (CElement).
//
// Lengths and coordinates are held within LayoutLimits.h; a tree nested
// deeper than the layout's nesting bound is laid out down to the bound
// (LayoutNesting.h).

class CElement;

// Gives root the width: its CSS width and its area (the height is free).
void SetLayoutWidth(CElement* root, int width);
// SetLayoutWidth, then root->BuildCDC and root->CalculateReg. False (the
// layout abandoned) for a null root, a negative width, or a failure during
// the pass.
bool LayoutDocument(CElement* root, int width);
