#include "style/floats/Overlap.h"

#include "base/geometry/GeometryTypes.h"

#include <algorithm>

bool IsOverlap(const RECT* a, const RECT* b)
{
    if (!a || !b)
        return false;
    auto span = [](LONG lo, LONG hi) { return std::max<long long>(hi, static_cast<long long>(lo) + 1); };
    return a->left < span(b->left, b->right) && b->left < span(a->left, a->right)
        && a->top < span(b->top, b->bottom) && b->top < span(a->top, a->bottom);
}
