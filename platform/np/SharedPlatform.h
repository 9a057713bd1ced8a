#pragma once
// Sharing one platform state between the browser and a plug-in module.
//
// The plug-in module carries its own copy of the platform layer. Our test
// browser hands the module its platform state (platform/events/Services.h:
// UI driver, clock, pasteboards, network, input state, application target,
// drag handlers, ports, windows) through a get-value variable private to
// this system, NPNVqmSharedPlatform; any other browser refuses it, and the
// module then keeps its own state with its non-blocking defaults. The
// record carries its own size, the layout stamp and the size of the shared
// object, and the module adopts the state only when all three match its own
// build.

#include "platform/events/Services.h"
#include "platform/np/Functions.h"

#include <cstdint>

struct NPQmSharedPlatform
{
    std::uint32_t size;         // sizeof(NPQmSharedPlatform)
    std::uint32_t layoutStamp;  // qm::events::Services::kLayoutStamp
    std::uint64_t servicesSize; // sizeof(qm::events::Services)
    qm::events::Services* services;
};

namespace qm::np {

// The browser's side: the record describing this copy's state.
inline NPQmSharedPlatform* SharedPlatformRecord()
{
    static NPQmSharedPlatform record{sizeof(NPQmSharedPlatform), events::Services::kLayoutStamp,
        sizeof(events::Services), &events::Services::Get()};
    record.services = &events::Services::Get();
    return &record;
}

// The module's side: asks the browser for its state and adopts it. False,
// with the module's own state kept, when the browser refuses or the record
// does not match this build.
inline bool ShareBrowserPlatform(const NPNetscapeFuncs* browser, NPP instance)
{
    if (!browser || !browser->getvalue)
        return false;
    NPQmSharedPlatform* record = nullptr;
    if (browser->getvalue(instance, NPNVqmSharedPlatform, &record) != NPERR_NO_ERROR || !record)
        return false;
    if (record->size != sizeof(NPQmSharedPlatform) || record->layoutStamp != events::Services::kLayoutStamp
        || record->servicesSize != sizeof(events::Services) || !record->services)
        return false;
    events::Services::Adopt(record->services);
    return true;
}

// The module's side at shutdown: back to its own state.
inline void StopSharingBrowserPlatform() { events::Services::Adopt(nullptr); }

} // namespace qm::np
