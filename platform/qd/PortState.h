#pragma once
// What the drawing ports keep process-wide: the ports that exist, the
// current one and the current pointer shape. Kept in the shared platform
// state (platform/events/Services.h), so that a loaded module draws into the
// host's ports and the host sees the cursor the module set.

#include "platform/qd/Cursor.h"
#include "platform/qd/Port.h"

#include <unordered_set>

namespace qm::qd {

struct PortState
{
    PortState() : cursor(ArrowCursor()) { }

    Port* current = nullptr;
    std::unordered_set<const Port*> live;
    Cursor cursor;
};

} // namespace qm::qd
