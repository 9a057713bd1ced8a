#pragma once
// Values an element shows, found along its ancestors: its font size in
// pixels, its text and background colours, and its paddings; and the final
// box size step of layout.

class CElement;
class CRect;
struct STYLE_TYPE;

// The base font size, then from the root down to e each element whose font
// size is its own (not inherited) replaces it (pixels) or scales it
// (percent and em hundredths: size x value / 100, rounded). Held within the
// range of int. The base font size for null.
int GetActualFontSize(const CElement* e);

// The text colour of the nearest element, e included, that sets one; 0
// (black) when none does.
unsigned long GetActualColor(const CElement* e);

// The background colour of the nearest element, e included, that sets one;
// otherwise colourDefault.
unsigned long GetActualBackColor(const CElement* e, unsigned long colourDefault);

// colour unchanged unless it is -2 (transparent); then the text colour of
// the nearest ancestor that sets one other than -2, else the colour held by
// the body's colour cell, else -2.
long ValidateColor(const CElement* e, long colour);

// One padding of e in pixels: a percentage is of the width that e's parent
// holds for its content (GetPercentValue), on every side, as for margins;
// other units go through GetPxValue with e's own font size.
int PaddingPixels(CElement* e, const STYLE_TYPE& padding);

// e's left, top, right and bottom padding in pixels (PaddingPixels), 0 where
// not set. False (padding emptied) for null.
bool GetCellpadding(CElement* e, CRect& padding);

// After layout: the box is at least as wide and tall as the width and
// height the style records (Lay().m_cssRect); a body whose recorded height did not
// raise its height grows by 10; a block widens by the largest negative right
// margin among its block children.
void HandleFinalWidth(CElement* e);
