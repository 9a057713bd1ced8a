#pragma once
// The steps of CalcWinReg, shared by the files of style/layout/.

#include "base/geometry/Point.h"

class CElement;
struct CalcInfo;

// What one CalcWinReg call was asked: lay the children out again (unless
// noChildCalc), and whether only the floats of a child's own block count.
struct LayoutCall
{
    void* dc = nullptr;
    bool noChildCalc = false;
    bool sameBlockOnly = false;
    CalcInfo* info = nullptr;
};

// Puts child at pos in its parent's box, gives it its area (width and
// height around it, and the container its percentages resolve against),
// lays it out unless the call says not to, and marks it placed in this pass.
void LayOutChildAt(CElement* child, CPoint pos, int width, int height, int containerWidth,
    int containerHeight, const LayoutCall& call);

// An inline element: its children side by side on its baseline.
void LayOutInline(CElement* e, const LayoutCall& call);
// A block: its children in lines, blocks on lines of their own, floats at
// the edges, then alignment.
void LayOutLines(CElement* e, const LayoutCall& call);
