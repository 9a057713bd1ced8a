#pragma once
// Pixels of a bitmap context as a text grid, one character a pixel, one line
// a device row (top row first), so expected pictures can be kept as small
// data files:
//
//   .  transparent            W  white       K  black
//   R  red (255, 0, 0)        G  green       B  blue (0, 0, 255)
//   Y  yellow (255, 255, 0)   T  the selection tint over white (178, 178, 255)
//   g  light grey outline (200, 200, 200)    d  dotted outline grey (160, 160, 160)
//   +  anything else (partly covered edges, other colours)
//
// Colours are compared straight (not premultiplied) with a tolerance of 2
// per channel, at full opacity.

#include <string>

namespace qm::cg {
class Context;
}

namespace qmtest {

// Rows top .. top + height - 1, columns left .. left + width - 1.
std::string PixelGrid(const qm::cg::Context& ctx, int left, int top, int width, int height);
inline std::string PixelGrid(const qm::cg::Context& ctx, int width, int height)
{
    return PixelGrid(ctx, 0, 0, width, height);
}

} // namespace qmtest
