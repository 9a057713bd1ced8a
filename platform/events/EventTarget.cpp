#include "platform/events/EventTarget.h"

#include "platform/events/Services.h"

#include <algorithm>

namespace qm::events {

struct EventTarget::Entry
{
    HandlerId id = 0;
    std::vector<EventType> types;
    Handler handler;
    bool removed = false;

    bool Wants(const Event& e) const
    {
        for (const EventType& t : types)
            if (t.eventClass == e.Class() && t.kind == e.Kind())
                return true;
        return false;
    }
};

// The handlers of one target in calling order, fixed when the event was sent,
// and the parent to go on to.
struct NextHandler::Chain
{
    std::vector<std::shared_ptr<EventTarget::Entry>> entries;
    const EventTarget* parent = nullptr;
};

namespace {

int Dispatch(const std::shared_ptr<const NextHandler::Chain>& chain, std::size_t from, Event& event)
{
    for (std::size_t i = from; i < chain->entries.size(); ++i) {
        const auto& entry = chain->entries[i];
        if (entry->removed || !entry->Wants(event))
            continue;
        NextHandler next(chain, i + 1);
        int result = kEventNotHandledErr;
        try {
            EventTarget::Handler handler = entry->handler; // survives its own removal
            result = handler(next, event);
        } catch (...) {
            result = kEventNotHandledErr;
        }
        if (next.WasCalled() || result != kEventNotHandledErr)
            return result;
    }
    return chain->parent ? chain->parent->SendEvent(event) : kEventNotHandledErr;
}

} // namespace

int NextHandler::Call(Event& event) const
{
    if (m_called)
        return kEventNotHandledErr; // the rest of the chain runs once
    m_called = true;
    return Dispatch(m_chain, m_index, event);
}

EventTarget::~EventTarget()
{
    for (auto& entry : m_handlers)
        entry->removed = true;
}

EventTarget& EventTarget::Application() { return Services::Get().ApplicationTarget(); }

HandlerId EventTarget::InstallHandler(const std::vector<EventType>& types, Handler handler)
{
    if (!handler || types.empty())
        return 0;
    auto entry = std::make_shared<Entry>();
    entry->id = m_nextId++;
    entry->types = types;
    entry->handler = std::move(handler);
    m_handlers.push_back(entry);
    return entry->id;
}

bool EventTarget::RemoveHandler(HandlerId id)
{
    auto it = std::find_if(
        m_handlers.begin(), m_handlers.end(), [id](const std::shared_ptr<Entry>& e) { return e->id == id; });
    if (it == m_handlers.end())
        return false;
    (*it)->removed = true;
    m_handlers.erase(it);
    return true;
}

int EventTarget::SendEvent(Event& event) const
{
    try {
        auto chain = std::make_shared<NextHandler::Chain>();
        chain->entries.assign(m_handlers.rbegin(), m_handlers.rend());
        chain->parent = m_parent;
        return Dispatch(chain, 0, event);
    } catch (...) {
        return kEventNotHandledErr;
    }
}

} // namespace qm::events
