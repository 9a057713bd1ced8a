#pragma once
// Drags. A drag session carries items, each named by a reference number the
// starter chooses, with flavours keyed by four-character type ('utxt',
// 'furl' ...). Starting it (Track) hands it to the host's UI driver, which
// moves it over windows and drops it - or cancels it, as the default driver
// does.
//
// Windows take part through handlers installed for them: tracking handlers
// follow the pointer (messages below), receive handlers take the drop. A
// window is known here only by an opaque key (the address of whatever
// represents it).

#include "platform/events/Event.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace qm::dnd {

using DragItemRef = std::uint32_t;
using FlavorType = std::uint32_t;
using DragHandlerId = std::uint64_t; // 0 is never a valid handler
using WindowKey = const void*;

// Tracking messages.
constexpr short kDragTrackingEnterHandler = 1;
constexpr short kDragTrackingEnterWindow = 2;
constexpr short kDragTrackingInWindow = 3;
constexpr short kDragTrackingLeaveWindow = 4;
constexpr short kDragTrackingLeaveHandler = 5;

// Answers of handlers and of a drop nobody took.
constexpr int kDragAccepted = 0;
constexpr int kDragNotAcceptedErr = -1857;

class DragSession
{
public:
    using TrackingHandler = std::function<int(short message, WindowKey window, DragSession& drag)>;
    using ReceiveHandler = std::function<int(WindowKey window, DragSession& drag)>;

    // Adds (or replaces) a flavour of an item; the item is created after the
    // others when it is new. False when data is null with a non-zero size.
    bool AddFlavor(DragItemRef item, FlavorType type, const void* data, std::size_t size);

    std::size_t CountItems() const { return m_items.size(); }
    // The reference of the item at a 1-based index; false when out of range.
    bool GetItemReference(std::size_t index, DragItemRef& item) const;
    bool HasFlavor(DragItemRef item, FlavorType type) const;
    // The flavour's bytes; false (out emptied) when the item has no such flavour.
    bool GetFlavorData(DragItemRef item, FlavorType type, std::vector<std::uint8_t>& out) const;

    // The pointer position, global coordinates.
    events::Point Mouse() const { return m_mouse; }
    void SetMouse(events::Point p) { m_mouse = p; }

    // Hands the drag to the UI driver; answers its result (0 dropped,
    // events::kUserCanceledErr cancelled).
    int Track();

    // Used by UI drivers: send a tracking message to the window's tracking
    // handlers (the first non-zero answer, else 0), and drop onto the window
    // (receive handlers in order until one accepts; kDragNotAcceptedErr when
    // the window has none).
    int TrackIn(WindowKey window, short message);
    int DropOn(WindowKey window);
    bool WasDropped() const { return m_dropped; }

    // Handlers for a window, process-wide.
    static DragHandlerId InstallTrackingHandler(WindowKey window, TrackingHandler handler);
    static DragHandlerId InstallReceiveHandler(WindowKey window, ReceiveHandler handler);
    static bool RemoveTrackingHandler(DragHandlerId id);
    static bool RemoveReceiveHandler(DragHandlerId id);
    // Tracking and receive handlers installed and not yet removed.
    static std::size_t InstalledHandlerCount();

private:
    struct Item
    {
        DragItemRef ref = 0;
        std::vector<std::pair<FlavorType, std::vector<std::uint8_t>>> flavors;
    };
    const Item* Find(DragItemRef item) const;

    std::vector<Item> m_items;
    events::Point m_mouse;
    bool m_dropped = false;
};

} // namespace qm::dnd
