#pragma once
// Floating-point geometry of the 2-D graphics contexts: user space is y-up
// with its origin at the bottom left unless the caller transforms it.

namespace qm::cg {

struct Point
{
    double x;
    double y;
};

struct Size
{
    double width;
    double height;
};

// Origin (x, y) at the corner with the smallest coordinates.
struct Rect
{
    double x;
    double y;
    double width;
    double height;
};

// An affine transform: x' = a x + c y + tx, y' = b x + d y + ty.
struct AffineTransform
{
    double a;
    double b;
    double c;
    double d;
    double tx;
    double ty;
};

inline AffineTransform IdentityTransform() { return AffineTransform{1, 0, 0, 1, 0, 0}; }

} // namespace qm::cg
