#pragma once
// Helpers of the layout pass over one element's box: its edges, its size,
// its baseline, how it takes part in lines, and the area it is given.
//
// The model. An element's box (Lay().m_sizeRect, from (0, 0)) holds its borders,
// paddings and content; the body's box also holds its margins. The content
// starts at ContentOffset() inside the box. Lay().m_availRect is the width and
// height available to the content, Lay().m_containerRect what percentages of the
// element's own width and height resolve against. A parent gives each child
// its area (GiveArea) just before laying it out, so the areas follow the
// parent's own width at every pass.

#include "base/geometry/Point.h"

class CElement;

struct BoxEdges
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Horizontal() const { return left + right; }
    int Vertical() const { return top + bottom; }
};

// Border widths (GetBorderRect), never negative; none for a table cell,
// whose table places its borders.
BoxEdges FlowBorders(CElement* e);
// Paddings in pixels, never negative.
BoxEdges Paddings(CElement* e);
// What lies between the box's edge and its content: borders and paddings,
// and on the body its margins.
BoxEdges ContentEdges(CElement* e);
inline CPoint ContentOffset(const BoxEdges& edges) { return CPoint(edges.left, edges.top); }

int BoxWidth(const CElement* e);
int BoxHeight(const CElement* e);
// From the top of the box to the baseline its line aligns: the stored
// baseline, or the bottom of the box when the element has none.
int BaselineOf(const CElement* e);

// Laid out in lines of its own children (a block): every element that is
// not inline, and an inline custom element holding a block child.
bool LaysOutAsBlock(const CElement* e);
// Takes a line of its own in its parent: blocks, center, and inline custom
// elements holding a block child.
bool StandsOnOwnLine(const CElement* e);
// The piece of a wrapped inline element or text run: 0 not wrapped, -1 the
// first piece, 1 the last, 2 a middle one (WrapPieces.cpp).
int WrapStateOf(const CElement* e);
// Whether a piece with that wrap state shows its left (or right) edges:
// borders, paddings and margins.
inline bool ShowsLeftEdge(int wrapState) { return wrapState == 0 || wrapState == -1; }
inline bool ShowsRightEdge(int wrapState) { return wrapState == 0 || wrapState == 1; }

// Whether e's width in percent of its container counts: not while the
// table measures the cell e stands in without a box (SpansGivenWidth), where
// it counts as no width, so that the cell's natural width is its content's.
// Table parts keep theirs: the tables resolve them.
bool PercentWidthCounts(const CElement* e);
// The content width of e's box when a width in percent or em makes the
// box whole pixels wide: less e's edges, at least 1 when whole is positive.
int OwnContentWidth(CElement* e, int whole);

// Gives e the area its parent holds for it: width and height available
// around e (for a block, the parent's content width less e's positive
// horizontal margins) and the container size its percentages resolve
// against. e's own width replaces the available width: in pixels it is the
// content's width, a percentage of the container is the whole box's.
// A text run takes nothing.
void GiveArea(CElement* e, int width, int height, int containerWidth, int containerHeight);

// The element's line-height in pixels (the cell packs the unit in its high
// 16 bits and the number in its low 16 bits); with ownOnly an inherited
// value does not count. False, and 0, when it has none.
bool LineHeightOf(CElement* e, bool ownOnly, int useOwnFont, int& pixels);
