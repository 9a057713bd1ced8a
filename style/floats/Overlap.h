#pragma once
// Whether two rectangles overlap. Rectangles are half-open, so two that
// only touch along an edge do not. An empty rectangle counts as one pixel
// wide (or high) at its left (or top) edge, so that an empty element lying
// inside another is found overlapping it. False for null.

struct RECT;

bool IsOverlap(const RECT* a, const RECT* b);
