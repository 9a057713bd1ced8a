#include "platform/events/Services.h"

#include "platform/clock/Clock.h"
#include "platform/dnd/DragRegistry.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/EventTarget.h"
#include "platform/qd/PortState.h"
#include "platform/ui/UiState.h"

namespace qm::events {

namespace {

UiDriver& DefaultUi()
{
    static UiDriver driver;
    return driver;
}

Services* g_adopted = nullptr;

} // namespace

Services::Services()
    : m_ui(&DefaultUi()),
      m_clock(&clock::Clock::Process()),
      m_pasteboards(&dnd::PasteboardStore::Process()),
      m_application(new EventTarget()),
      m_drags(new dnd::DragRegistry()),
      m_ports(new qd::PortState()),
      m_windows(new ui::UiState())
{ }

Services::~Services() = default;

Services& Services::Get()
{
    if (g_adopted)
        return *g_adopted;
    // Never destroyed: ports, windows and handlers may outlive any static.
    static Services* own = new Services();
    return *own;
}

void Services::Adopt(Services* shared) { g_adopted = shared; }

bool Services::IsAdopted() { return g_adopted != nullptr; }

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
