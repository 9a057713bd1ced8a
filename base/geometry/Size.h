#pragma once
// CSize is a SIZE (width cx, height cy) with constructors; it derives from
// SIZE, so it is passed wherever a SIZE is taken.

#include "base/geometry/GeometryTypes.h"

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} { }
    CSize(int cx0, int cy0) : SIZE{cx0, cy0} { }
    CSize(const SIZE& size) : SIZE(size) { }
    CSize(const CSize& other) = default;
    CSize& operator=(const CSize& other) = default;
    CSize& operator=(const SIZE& size)
    {
        cx = size.cx;
        cy = size.cy;
        return *this;
    }
};
