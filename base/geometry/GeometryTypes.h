#pragma once
// The plain geometry records: a point, a rectangle and a size in integer
// pixels, with the Windows field layout (a rectangle is left, top, right,
// bottom). x grows to the right, y grows downwards; rectangles are half-open,
// so the right column and the bottom row lie outside.

#include "base/shims/WinTypes.h"

struct POINT
{
    LONG x;
    LONG y;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

typedef POINT* LPPOINT;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
typedef SIZE* LPSIZE;
