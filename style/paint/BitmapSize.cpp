#include "style/paint/BitmapSize.h"

namespace {

// One side with its slack, at least 1 pixel; the caller has refused sides
// past the limits, so the sum cannot overflow.
std::int64_t WithSlack(std::int64_t side) { return side + kBitmapSlack < 1 ? 1 : side + kBitmapSlack; }

} // namespace

bool ComputeBitmapSize(std::int64_t layoutWidth, std::int64_t layoutHeight, BitmapSize& out)
{
    out = BitmapSize();
    if (layoutWidth > kMaxBitmapWidth || layoutHeight > kMaxBitmapHeight)
        return false;
    if (layoutWidth < -kMaxBitmapHeight)
        layoutWidth = 0;
    if (layoutHeight < -kMaxBitmapHeight)
        layoutHeight = 0;
    const std::int64_t w = WithSlack(layoutWidth);
    const std::int64_t h = WithSlack(layoutHeight);
    if (w > kMaxBitmapWidth || h > kMaxBitmapHeight)
        return false;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.bytesPerRow = static_cast<int>(4 * w);
    out.bytes = 4 * w * h;
    return true;
}
