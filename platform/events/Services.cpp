#include "platform/events/Services.h"

#include "platform/clock/Clock.h"
#include "platform/dnd/Pasteboard.h"

namespace qm::events {

namespace {

UiDriver& DefaultUi()
{
    static UiDriver driver;
    return driver;
}

} // namespace

Services::Services()
    : m_ui(&DefaultUi()), m_clock(&clock::Clock::Process()), m_pasteboards(&dnd::PasteboardStore::Process())
{ }

Services& Services::Get()
{
    static Services services;
    return services;
}

void Services::SetUiDriver(UiDriver* driver) { m_ui = driver ? driver : &DefaultUi(); }

void Services::SetClock(clock::Clock* clock) { m_clock = clock ? clock : &clock::Clock::Process(); }

void Services::SetPasteboards(dnd::PasteboardStore* store)
{
    m_pasteboards = store ? store : &dnd::PasteboardStore::Process();
}

void Services::Reset()
{
    SetUiDriver(nullptr);
    SetClock(nullptr);
    SetPasteboards(nullptr);
    m_network = nullptr;
    m_input = InputState();
}

} // namespace qm::events
