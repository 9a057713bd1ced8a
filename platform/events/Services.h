#pragma once
// The services the host provides to the process: its UI driver, the clock,
// the pasteboards, the network driver and the current input state. Each has
// a default that never blocks; the host (and tests) install their own.
// Installed drivers are not owned: the installer keeps them alive until it
// installs another or calls Reset.

#include "platform/events/InputState.h"
#include "platform/events/UiDriver.h"

namespace qm::clock {
class Clock;
}
namespace qm::dnd {
class PasteboardStore;
}
namespace qm::net {
class NetworkDriver;
}

namespace qm::events {

class Services
{
public:
    static Services& Get();

    UiDriver& Ui() const { return *m_ui; }
    void SetUiDriver(UiDriver* driver); // null: the default

    clock::Clock& Clock() const { return *m_clock; }
    void SetClock(clock::Clock* clock); // null: the process clock

    dnd::PasteboardStore& Pasteboards() const { return *m_pasteboards; }
    void SetPasteboards(dnd::PasteboardStore* store); // null: the process store

    // Null until a network driver is installed.
    net::NetworkDriver* Network() const { return m_network; }
    void SetNetwork(net::NetworkDriver* driver) { m_network = driver; }

    InputState& Input() { return m_input; }

    // Every service back to its default, the input state cleared.
    void Reset();

private:
    Services();
    UiDriver* m_ui;
    clock::Clock* m_clock;
    dnd::PasteboardStore* m_pasteboards;
    net::NetworkDriver* m_network = nullptr;
    InputState m_input;
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
