#pragma once
// The pointer shape: a 16 x 16 one-bit image with its mask and hot spot.
// Setting a cursor records it as the current one, which the host's window
// layer reads when it shows the pointer; `InitCursor` resets to the arrow.

#include <cstdint>

#include "platform/qd/Region.h"

namespace qm::qd {

struct Cursor
{
    std::uint16_t data[16];
    std::uint16_t mask[16];
    Point hotSpot;
};

// The standard arrow.
const Cursor& ArrowCursor();

// Makes a copy of `cursor` current; null resets to the arrow.
void SetCursor(const Cursor* cursor);
void InitCursor();
const Cursor& CurrentCursor();
bool CursorIsArrow();

} // namespace qm::qd
