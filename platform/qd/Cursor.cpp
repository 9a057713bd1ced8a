#include "platform/qd/Cursor.h"

#include "platform/events/Services.h"
#include "platform/qd/PortState.h"

#include <cstring>

namespace qm::qd {

namespace {

const Cursor kArrow = {{0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00, 0x7F80, 0x7C00,
                           0x6C00, 0x4600, 0x0600, 0x0300, 0x0300, 0x0000},
    {0xC000, 0xE000, 0xF000, 0xF800, 0xFC00, 0xFE00, 0xFF00, 0xFF80, 0xFFC0, 0xFFE0, 0xFE00, 0xEF00, 0xCF00,
        0x0780, 0x0780, 0x0380},
    {1, 1}};

Cursor& Current() { return events::Services::Get().Ports().cursor; }

} // namespace

const Cursor& ArrowCursor() { return kArrow; }

void SetCursor(const Cursor* cursor) { Current() = cursor ? *cursor : kArrow; }

void InitCursor() { Current() = kArrow; }

const Cursor& CurrentCursor() { return Current(); }

bool CursorIsArrow() { return std::memcmp(&Current(), &kArrow, sizeof(Cursor)) == 0; }

} // namespace qm::qd
