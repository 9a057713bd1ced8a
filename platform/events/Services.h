#pragma once
// The services the host provides to the process: its UI driver, the clock,
// the pasteboards, the network driver and the current input state. Each has
// a default that never blocks; the host (and tests) install their own.
// Installed drivers are not owned: the installer keeps them alive until it
// installs another or calls Reset.
//
// The object also holds what the platform modules keep process-wide: the
// application's event target, the innermost modal loop, the drag handlers,
// the drawing ports and cursor, and the windows, modeless dialogs and help
// tag of the window layer. So everything a host and the code it drives must
// agree on lives in one place.
//
// Sharing it with a loaded module: a module that carries its own copy of
// this layer (the plug-in) would otherwise have a second set of all that
// state, and the host's driver, clock and windows would not reach it. The
// host hands its object to the module (platform/np/SharedPlatform.h), and
// the module's copy adopts it: from then on Get() in the module answers the
// host's object. Both copies must be built from the same sources; the
// hand-over checks the layout stamp and the object's size.

#include "platform/clock/LocalTime.h"
#include "platform/events/InputState.h"
#include "platform/events/UiDriver.h"

#include <cstdint>
#include <memory>

namespace qm::clock {
class Clock;
}
namespace qm::dnd {
class PasteboardStore;
struct DragRegistry;
} // namespace qm::dnd
namespace qm::net {
class NetworkDriver;
}
namespace qm::qd {
struct PortState;
}
namespace qm::ui {
struct UiState;
}

namespace qm::events {

class EventTarget;
class ModalLoop;

class Services
{
public:
    // Changes whenever the layout of this object or of a state it holds
    // changes, so that a module built from other sources refuses to share.
    static constexpr std::uint32_t kLayoutStamp = 0x514D0002;

    // The process's object: the adopted one when a host's was adopted.
    static Services& Get();
    // Makes Get() answer the host's object (null: this copy's own again).
    static void Adopt(Services* shared);
    static bool IsAdopted();

    UiDriver& Ui() const { return *m_ui; }
    void SetUiDriver(UiDriver* driver); // null: the default

    clock::Clock& Clock() const { return *m_clock; }
    void SetClock(clock::Clock* clock); // null: the process clock

    // The source of the local date and time (platform/clock/LocalTime.h);
    // empty: the system clock. Shared like the clock, so a time a host
    // fixes is the time its module reads too. Reset leaves it as it is.
    clock::LocalTimeSource& LocalTime() { return m_localTime; }

    dnd::PasteboardStore& Pasteboards() const { return *m_pasteboards; }
    void SetPasteboards(dnd::PasteboardStore* store); // null: the process store

    // Null until a network driver is installed.
    net::NetworkDriver* Network() const { return m_network; }
    void SetNetwork(net::NetworkDriver* driver) { m_network = driver; }

    InputState& Input() { return m_input; }

    // Process-wide state of the platform modules (see above).
    EventTarget& ApplicationTarget() { return *m_application; }
    ModalLoop*& InnermostModal() { return m_innermost; }
    dnd::DragRegistry& DragHandlers() { return *m_drags; }
    qd::PortState& Ports() { return *m_ports; }
    ui::UiState& Windows() { return *m_windows; }

    // Every service back to its default, the input state cleared. The
    // process-wide state is left as it is.
    void Reset();

    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

private:
    Services();
    ~Services();

    UiDriver* m_ui;
    clock::Clock* m_clock;
    clock::LocalTimeSource m_localTime;
    dnd::PasteboardStore* m_pasteboards;
    net::NetworkDriver* m_network = nullptr;
    InputState m_input;
    std::unique_ptr<EventTarget> m_application;
    ModalLoop* m_innermost = nullptr;
    std::unique_ptr<dnd::DragRegistry> m_drags;
    std::unique_ptr<qd::PortState> m_ports;
    std::unique_ptr<ui::UiState> m_windows;
};

// Installs a UI driver for the life of a scope, then brings back the one before.
class ScopedUiDriver
{
public:
    explicit ScopedUiDriver(UiDriver& driver) : m_previous(&Services::Get().Ui())
    {
        Services::Get().SetUiDriver(&driver);
    }
    ~ScopedUiDriver() { Services::Get().SetUiDriver(m_previous); }
    ScopedUiDriver(const ScopedUiDriver&) = delete;
    ScopedUiDriver& operator=(const ScopedUiDriver&) = delete;

private:
    UiDriver* m_previous;
};

} // namespace qm::events
