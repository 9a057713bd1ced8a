#pragma once
// CRect is a RECT (left, top, right, bottom) with constructors and the
// arithmetic the drawing and layout code uses. It derives from RECT, so
// `rc.left = 5` writes the rectangle's own edge, a CRect converts to the
// RECT* that RECT-taking calls want, and a copy never shares storage with
// the rectangle it was copied from.
//
// Rectangles are half-open: a point on the right edge or the bottom edge is
// outside.

#include "base/geometry/GeometryTypes.h"

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} { }
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} { }
    // A null rectangle pointer gives the empty rectangle.
    CRect(const RECT* rc) : RECT{0, 0, 0, 0} { CopyRect(rc); }
    CRect(const RECT& rc) : RECT(rc) { }
    CRect(const CRect& other) = default;

    CRect& operator=(const CRect& other) = default;
    CRect& operator=(const RECT& rc)
    {
        CopyRect(&rc);
        return *this;
    }
    // A null pointer leaves the rectangle unchanged.
    CRect& operator=(const RECT* rc)
    {
        CopyRect(rc);
        return *this;
    }
    void CopyRect(const RECT* rc)
    {
        if (rc) {
            left = rc->left;
            top = rc->top;
            right = rc->right;
            bottom = rc->bottom;
        }
    }

    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    // Edge-by-edge comparison. Without these, `a == b` would silently compare
    // the RECT* conversions (two addresses).
    bool operator==(const RECT& rc) const
    {
        return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
    }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }

    void SetRectEmpty() { left = top = right = bottom = 0; }

    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    CRect& operator+=(const POINT& pt)
    {
        OffsetRect(pt.x, pt.y);
        return *this;
    }
    CRect& operator-=(const POINT& pt)
    {
        OffsetRect(-pt.x, -pt.y);
        return *this;
    }

    void InflateRect(int dx, int dy)
    {
        left -= dx;
        top -= dy;
        right += dx;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy)
    {
        left += dx;
        top += dy;
        right -= dx;
        bottom -= dy;
    }

    bool PtInRect(const POINT& pt) const
    {
        return left <= pt.x && pt.x < right && top <= pt.y && pt.y < bottom;
    }
};
