#pragma once
// Bounds of layout arithmetic. Every length the layout resolves (margins,
// borders, paddings, widths, heights, font sizes) is held within
// kMaxLayoutLength, and every coordinate it accumulates (line positions,
// heights of long documents) within kMaxLayoutCoord, so that sums of a few
// of them never overflow an int, whatever a style sheet says.

#include <climits>

constexpr int kMaxLayoutLength = 1 << 20; // pixels
constexpr int kMaxLayoutCoord = 1 << 29;  // pixels
constexpr int kMaxFontPixels = 32767;

// v held within [-limit, limit].
inline int ClampLength(long long v, int limit = kMaxLayoutLength)
{
    return v > limit ? limit : v < -limit ? -limit : static_cast<int>(v);
}

// a + b held within the coordinate bound.
inline int AddCoord(long long a, long long b) { return ClampLength(a + b, kMaxLayoutCoord); }
