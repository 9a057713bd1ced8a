#pragma once
// The size of the document's offscreen bitmap for a laid-out size: 200
// pixels of slack in each direction, so that small growth does not
// reallocate; 4 bytes a pixel, 4 x width bytes a row. Computed in 64 bits,
// so no layout size can overflow it, and refused past the limits.

#include <cstdint>

// The logical size is not memory: only resident tiles hold pixels, within
// the budget (OffscreenView.h), so a bitmap's height is limited only by the
// coordinates: at most kMaxBitmapHeight rows (slack included), which leaves
// room below the largest int for the margins and slack that painting adds
// to a row. Past 32767 pixels across the tiles lie side by side too, so the
// width is bounded only by a row's bytes, which must fit an int. (A bitmap
// whose tiles would be too many to keep a record of each is refused by the
// context, cg/Context.h.)
constexpr int kMaxBitmapHeight = 1 << 30;
constexpr int kMaxBitmapWidth = (1 << 29) - 1;
constexpr int kBitmapSlack = 200;

struct BitmapSize
{
    int width = 0; // allocated
    int height = 0;
    int bytesPerRow = 0;
    std::int64_t bytes = 0; // painted whole; resident tiles hold a part
};

// The bitmap for a laid-out width and height (absolute values of the body's
// size rectangle; a side that is not positive after the slack becomes 1
// pixel). False when it would pass either limit.
bool ComputeBitmapSize(std::int64_t layoutWidth, std::int64_t layoutHeight, BitmapSize& out);
