#pragma once
// Event targets (the application, each window, each control) and their
// handlers.
//
// A target keeps its handlers in a stack: the one installed last is asked
// first. A handler answers kNoErr when it handled the event, or
// kEventNotHandledErr to let the event go on to the next handler. It may
// instead call the rest of the chain itself (CallNextHandler) and do more work
// around it; its own answer is then final. After the target's own handlers
// the event goes on to the target's parent (a window's parent is the
// application target). When nobody handles it, SendEvent answers
// kEventNotHandledErr.
//
// Handlers may be installed and removed while an event is being sent; one
// that is removed is never called afterwards, and one installed meanwhile
// sees the next event. A handler that throws counts as not having handled the
// event.

#include "platform/events/Event.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qm::events {

class EventTarget;

using HandlerId = std::uint64_t; // 0 is never a valid handler

// What a handler gets to pass the event on to the rest of the chain.
class NextHandler
{
public:
    struct Chain;

    // Runs the rest of the chain (then the parents) and answers its result.
    int Call(Event& event) const;

    NextHandler(std::shared_ptr<const Chain> chain, std::size_t index)
        : m_chain(std::move(chain)), m_index(index)
    { }
    bool WasCalled() const { return m_called; }

private:
    std::shared_ptr<const Chain> m_chain;
    std::size_t m_index;
    mutable bool m_called = false;
};

inline int CallNextHandler(const NextHandler& next, Event& event) { return next.Call(event); }

class EventTarget
{
public:
    using Handler = std::function<int(const NextHandler& next, Event& event)>;

    explicit EventTarget(EventTarget* parent = nullptr) : m_parent(parent) { }
    EventTarget(const EventTarget&) = delete;
    EventTarget& operator=(const EventTarget&) = delete;
    ~EventTarget();

    // The application's target, the default parent of every window's target.
    static EventTarget& Application();

    EventTarget* Parent() const { return m_parent; }
    void SetParent(EventTarget* parent) { m_parent = parent; }

    // Installs a handler for the given types; answers its id (0 when no
    // handler or no type was given).
    HandlerId InstallHandler(const std::vector<EventType>& types, Handler handler);
    bool RemoveHandler(HandlerId id);
    std::size_t HandlerCount() const { return m_handlers.size(); }

    // Sends the event through the handlers of this target and then its parents.
    int SendEvent(Event& event) const;

    struct Entry;

private:
    EventTarget* m_parent;
    std::vector<std::shared_ptr<Entry>> m_handlers; // last installed at the back
    HandlerId m_nextId = 1;
};

} // namespace qm::events
