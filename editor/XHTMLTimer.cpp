// The engine's 0.1-second timer and the caret it blinks.
//
// The timer first fires at once, then every 0.1 s of the host's clock. Every
// fifth tick (0.5 s) the caret changes phase, but only in the WYSIWYG view
// and only while the caret is on; the count of ticks runs in every view. Each
// tick also takes the automatic-scroll request that the pointer tracking left
// (m_scrollDirection) and scrolls one step. While the control cannot display
// the editor (its window is hidden) a tick does neither: the count stands
// and a scroll request waits for a tick in which the editor shows.

#include "editor/XHTML.h"

#include "property_dialogs/XPrpEditorDlg.h"

#include "base/shims/CGShims.h"
#include "base/shims/PortShims.h"
#include "editor/PluginPortScope.h"
#include "element/services/ControlServices.h"
#include "platform/np/Window.h"
#include "platform/qd/Port.h"

namespace {

// Ticks after which the caret changes phase: it does so when the count
// passes this.
constexpr int kBlinkTicks = 4;

// Scroll actions of one automatic step (one bar unit is 2 pixels): ten units
// down or up, one unit right or left.
constexpr int kScrollTenDown = 4;
constexpr int kScrollTenUp = 5;
constexpr int kScrollOneRight = 12;
constexpr int kScrollOneLeft = 11;

// The plug-in's port record; null without a window or a live port.
NP_Port* LivePort(const NPWindow* window)
{
    auto* port = window ? static_cast<NP_Port*>(window->window) : nullptr;
    return port && qm::qd::IsLivePort(port->port) ? port : nullptr;
}

} // namespace

void CXHTML::MacTimer(qm::events::EventLoopTimerRef, void* engine)
{
    auto* self = static_cast<CXHTML*>(engine);
    if (!self)
        return;
    CPluginPortScope port(self->m_window);
    try {
        self->OnTimer(1);
    } catch (...) {
        // A tick that fails is abandoned; the next one starts afresh.
    }
}

void CXHTML::OnTimer(unsigned int)
{
    if (m_focusPage) {
        // The request is used once.
        CXPrpEditorDlg* page = m_focusPage;
        m_focusPage = nullptr;
        page->SetNewFocus();
    }
    if (!CanDisplay())
        return;
    if (++m_blinkCount > kBlinkTicks) {
        m_blinkCount = 0;
        if (DocIsCaretOn() && IsWindowVisible()) {
            DocFlipCaretPhase();
            DisplayCursor();
        }
    }
    const unsigned int direction = m_scrollDirection;
    m_scrollDirection = 0;
    switch (direction) {
    case 1: ScrollStep(true, kScrollTenDown); break;
    case 2: ScrollStep(true, kScrollTenUp); break;
    case 3: ScrollStep(false, kScrollOneRight); break;
    case 4: ScrollStep(false, kScrollOneLeft); break;
    default: break;
    }
}

int CXHTML::ScrollStep(bool vertical, int action)
{
    if (vertical)
        OnVScroll(static_cast<unsigned int>(action), 0);
    else
        OnHScroll(static_cast<unsigned int>(action), 0);
    return 1;
}

void CXHTML::DisplayCursor()
{
    if (!CanDisplay())
        return;
    NP_Port* port = LivePort(m_window);
    if (!port)
        return;
    try {
        DocDisplayCursor(port->port);
    } catch (...) {
        // Drawing the caret never fails an event: it is left undrawn.
    }
}

void CXHTML::ForceHaveFocus()
{
    if (!m_doc.m_selectionPresent)
        DocCaretOnErased();
}

bool CXHTML::CanDisplay() const { return m_control && m_control->CanXEditorDisplay(); }
