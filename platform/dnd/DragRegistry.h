#pragma once
// The drag handlers installed for windows, process-wide. Kept in the shared
// platform state (platform/events/Services.h), so that a handler a loaded
// module installs is found by a drag that the host delivers.

#include "platform/dnd/DragSession.h"

#include <vector>

namespace qm::dnd {

struct DragRegistry
{
    template <typename Handler>
    struct Registered
    {
        DragHandlerId id;
        WindowKey window;
        Handler handler;
    };

    std::vector<Registered<DragSession::TrackingHandler>> tracking;
    std::vector<Registered<DragSession::ReceiveHandler>> receive;
    DragHandlerId nextId = 1;
};

} // namespace qm::dnd
