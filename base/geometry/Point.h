#pragma once
// CPoint is a POINT with constructors and arithmetic. It derives from POINT,
// so `pt.x = 5` writes the point's own coordinate, a CPoint can be passed
// wherever a POINT is taken, and every copy is an independent value.

#include "base/geometry/GeometryTypes.h"

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} { }
    CPoint(int x0, int y0) : POINT{x0, y0} { }
    CPoint(const POINT& pt) : POINT(pt) { }
    CPoint(const CPoint& other) = default;
    CPoint& operator=(const CPoint& other) = default;

    bool operator==(const POINT& pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(const POINT& pt) const { return !(*this == pt); }

    CPoint& operator+=(const POINT& pt)
    {
        x += pt.x;
        y += pt.y;
        return *this;
    }
    CPoint& operator-=(const POINT& pt)
    {
        x -= pt.x;
        y -= pt.y;
        return *this;
    }
};
