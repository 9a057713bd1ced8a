#include "platform/dnd/DragSession.h"

#include "platform/dnd/DragRegistry.h"

#include "platform/events/Services.h"

#include <algorithm>

namespace qm::dnd {

namespace {

DragRegistry& Handlers() { return events::Services::Get().DragHandlers(); }

// The handlers of one window, copied so that they may be removed while running.
template <typename Handler>
std::vector<Handler> ForWindow(const std::vector<DragRegistry::Registered<Handler>>& all, WindowKey window)
{
    std::vector<Handler> out;
    for (const auto& r : all)
        if (r.window == window)
            out.push_back(r.handler);
    return out;
}

template <typename Handler>
bool RemoveFrom(std::vector<DragRegistry::Registered<Handler>>& all, DragHandlerId id)
{
    auto it = std::find_if(all.begin(), all.end(), [id](const auto& r) { return r.id == id; });
    if (it == all.end())
        return false;
    all.erase(it);
    return true;
}

} // namespace

bool DragSession::AddFlavor(DragItemRef item, FlavorType type, const void* data, std::size_t size)
{
    if (size > 0 && !data)
        return false;
    try {
        Item* target = nullptr;
        for (Item& it : m_items)
            if (it.ref == item)
                target = &it;
        if (!target) {
            m_items.push_back(Item{item, {}});
            target = &m_items.back();
        }
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        std::vector<std::uint8_t> copy(bytes, bytes + size);
        for (auto& f : target->flavors) {
            if (f.first == type) {
                f.second = std::move(copy);
                return true;
            }
        }
        target->flavors.emplace_back(type, std::move(copy));
        return true;
    } catch (...) {
        return false;
    }
}

const DragSession::Item* DragSession::Find(DragItemRef item) const
{
    for (const Item& it : m_items)
        if (it.ref == item)
            return &it;
    return nullptr;
}

bool DragSession::GetItemReference(std::size_t index, DragItemRef& item) const
{
    if (index < 1 || index > m_items.size())
        return false;
    item = m_items[index - 1].ref;
    return true;
}

bool DragSession::HasFlavor(DragItemRef item, FlavorType type) const
{
    const Item* it = Find(item);
    if (!it)
        return false;
    for (const auto& f : it->flavors)
        if (f.first == type)
            return true;
    return false;
}

bool DragSession::GetFlavorData(DragItemRef item, FlavorType type, std::vector<std::uint8_t>& out) const
{
    out.clear();
    const Item* it = Find(item);
    if (!it)
        return false;
    for (const auto& f : it->flavors) {
        if (f.first == type) {
            try {
                out = f.second;
            } catch (...) {
                return false;
            }
            return true;
        }
    }
    return false;
}

int DragSession::Track()
{
    try {
        return events::Services::Get().Ui().TrackDrag(*this);
    } catch (...) {
        return events::kUserCanceledErr;
    }
}

int DragSession::TrackIn(WindowKey window, short message)
{
    try {
        for (auto& handler : ForWindow(Handlers().tracking, window)) {
            const int result = handler(message, window, *this);
            if (result != 0)
                return result;
        }
    } catch (...) {
        return kDragNotAcceptedErr;
    }
    return 0;
}

int DragSession::DropOn(WindowKey window)
{
    int result = kDragNotAcceptedErr;
    try {
        for (auto& handler : ForWindow(Handlers().receive, window)) {
            result = handler(window, *this);
            if (result == kDragAccepted)
                break;
        }
    } catch (...) {
        result = kDragNotAcceptedErr;
    }
    if (result == kDragAccepted)
        m_dropped = true;
    return result;
}

DragHandlerId DragSession::InstallTrackingHandler(WindowKey window, TrackingHandler handler)
{
    if (!handler)
        return 0;
    DragRegistry& r = Handlers();
    try {
        r.tracking.push_back({r.nextId, window, std::move(handler)});
    } catch (...) {
        return 0;
    }
    return r.nextId++;
}

DragHandlerId DragSession::InstallReceiveHandler(WindowKey window, ReceiveHandler handler)
{
    if (!handler)
        return 0;
    DragRegistry& r = Handlers();
    try {
        r.receive.push_back({r.nextId, window, std::move(handler)});
    } catch (...) {
        return 0;
    }
    return r.nextId++;
}

bool DragSession::RemoveTrackingHandler(DragHandlerId id) { return RemoveFrom(Handlers().tracking, id); }

bool DragSession::RemoveReceiveHandler(DragHandlerId id) { return RemoveFrom(Handlers().receive, id); }

std::size_t DragSession::InstalledHandlerCount()
{
    const DragRegistry& r = Handlers();
    return r.tracking.size() + r.receive.size();
}

} // namespace qm::dnd
