// The control's two scroll bars: placing, showing and drawing them, a press
// on a part, dragging the thumb, their live action and the mouse wheel.
//
// The bars are the document's (document/DocScrollBar.h): the engine sets
// their range and position as the document's size and scroll offset
// change, and the control scrolls the engine through them. Values are in
// units of 2 pixels.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/shims/CGShims.h"
#include "base/shims/PortShims.h"
#include "document/DocScrollBar.h"
#include "editor/XHTML.h"
#include "platform/events/Event.h"
#include "platform/events/EventTarget.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace {

constexpr int kNoStep = 65535;

// Engine scroll codes by part: (vertical, horizontal).
bool PartCode(int part, bool vertical, unsigned int& code)
{
    switch (part) {
    case qm::ui::kPartThumb: code = 2; return true;
    case qm::ui::kPartUpArrow: code = vertical ? 5 : 11; return true;
    case qm::ui::kPartDownArrow: code = vertical ? 4 : 12; return true;
    case qm::ui::kPartPageUp: code = vertical ? 7 : 13; return true;
    case qm::ui::kPartPageDown: code = vertical ? 6 : 14; return true;
    default: return false;
    }
}

qm::qd::Port* PortOf(const NPWindow* window)
{
    const auto* port = window ? static_cast<const NP_Port*>(window->window) : nullptr;
    return port && qm::qd::IsLivePort(port->port) ? port->port : nullptr;
}

// The bar's action: the part scrolls the control's engine.
void BarAction(qm::ui::ScrollBar& bar, int part, bool vertical, bool savePort)
{
    auto* control = static_cast<CMorvaXEditorCtrl*>(bar.Reference());
    unsigned int code = 0;
    if (part == 0 || !control || !control->m_pXHTML || !PartCode(part, vertical, code))
        return;
    const NPWindow* window = control->m_pPluginWindow;
    qm::qd::Port* port = PortOf(window);
    GrafPtr oldPort = nullptr;
    Rect oldBounds{};
    RgnHandle oldClip = nullptr;
    if (port && savePort)
        BackupOldPort(oldPort, oldBounds, oldClip, port, window->x, window->y);
    else if (port)
        dSetOrigin(static_cast<short>(-window->x), static_cast<short>(-window->y));
    control->ScrollEngine(vertical, code, bar.Value());
    control->DrawScrollBar(&bar);
    RestoreOldPort(oldPort, oldBounds, oldClip);
}

} // namespace

void CMorvaXEditorCtrl::VScrollbarUPP(qm::ui::ScrollBar& bar, int part) { BarAction(bar, part, true, true); }

void CMorvaXEditorCtrl::HScrollbarUPP(qm::ui::ScrollBar& bar, int part)
{
    BarAction(bar, part, false, false);
}

void CMorvaXEditorCtrl::CreateScrollBars()
{
    if (!m_pXHTML)
        return;
    m_pVScrollBar = &m_pXHTML->m_doc.m_verticalBar;
    m_pHScrollBar = &m_pXHTML->m_doc.m_horizontalBar;
    for (qm::ui::ScrollBar* bar : {m_pVScrollBar, m_pHScrollBar}) {
        bar->SetMinimum(-1);
        bar->SetMaximum(-1);
        bar->SetValue(0);
        bar->SetViewSize(60);
        bar->SetReference(this);
    }
    m_pVScrollBar->SetActionProc(&CMorvaXEditorCtrl::VScrollbarUPP);
    m_pHScrollBar->SetActionProc(&CMorvaXEditorCtrl::HScrollbarUPP);
    m_pHScrollBar->SetVisible(m_horizontalBarShown != 0);
    m_placeBars = 1;
}

void CMorvaXEditorCtrl::PlaceScrollBars()
{
    m_placeBars = 0;
    if (!m_pPluginWindow || !m_pVScrollBar || !m_pHScrollBar)
        return;
    const int width = int(m_pPluginWindow->width);
    const int height = int(m_pPluginWindow->height);
    m_pVScrollBar->SetBounds(
        width - 16, m_toolbarHeight + 1, width - 1, m_horizontalBarShown ? height - 16 : height - 1);
    m_pHScrollBar->SetBounds(1, height - 16, width - 15, height - 1);
    m_pHScrollBar->SetVisible(m_horizontalBarShown != 0);
}

void CMorvaXEditorCtrl::ShowScrollBar(int, bool show)
{
    const bool changed = (m_horizontalBarShown != 0) != show;
    m_horizontalBarShown = show ? 1 : 0;
    if (!m_pPluginWindow)
        return;
    const int width = int(m_pPluginWindow->width);
    const int height = int(m_pPluginWindow->height);
    if (m_pHScrollBar)
        m_pHScrollBar->SetVisible(show);
    if (m_pVScrollBar)
        m_pVScrollBar->SetBounds(width - 16, m_toolbarHeight + 1, width - 1,
            m_toolbarHeight + 1 + std::max(0, height - m_toolbarHeight - (show ? 17 : 2)));
    // The document asks for this while it updates its bars and lays itself
    // out again afterwards: the engine only takes the new area here.
    if (changed && PortOf(m_pPluginWindow))
        PlaceEditingArea();
}

void CMorvaXEditorCtrl::ScrollEngine(bool vertical, unsigned int code, int value)
{
    if (!m_pXHTML)
        return;
    EngineOrigin(true);
    if (vertical)
        m_pXHTML->OnVScroll(code, static_cast<unsigned int>(value));
    else
        m_pXHTML->OnHScroll(code, static_cast<unsigned int>(value));
    EngineOrigin(false);
}

void CMorvaXEditorCtrl::DrawFrameAndBars()
{
    if (m_placeBars)
        PlaceScrollBars();
    OnDraw();
    if (m_viewMode != 0)
        return;
    DrawScrollBar(m_pVScrollBar);
    if (m_horizontalBarShown)
        DrawScrollBar(m_pHScrollBar);
}

void CMorvaXEditorCtrl::PressScrollBar(bool vertical, int h, int v)
{
    qm::ui::ScrollBar* bar = vertical ? m_pVScrollBar : m_pHScrollBar;
    if (!bar)
        return;
    const int part = bar->TestPart(h, v);
    unsigned int code = 0;
    if (part == qm::ui::kPartThumb) {
        m_trackingBar = vertical ? 1 : 2;
        m_trackingStart = qm::qd::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
        m_trackingLast = m_trackingStart;
        m_trackingStartValue = bar->Value();
        m_lastTrackingStep = 0;
    } else if (PartCode(part, vertical, code)) {
        ScrollEngine(vertical, code, bar->Value());
        DrawScrollBar(bar);
    }
}

void CMorvaXEditorCtrl::DragThumb(int h, int v)
{
    if (!m_trackingBar)
        return;
    if (!(qm::events::Services::Get().Input().buttons & qm::events::kButtonPrimary)) {
        m_trackingBar = 0;
        return;
    }
    if (h == m_trackingLast.h && v == m_trackingLast.v)
        return;
    m_trackingLast = qm::qd::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
    const bool vertical = m_trackingBar == 1;
    qm::ui::ScrollBar* bar = vertical ? m_pVScrollBar : m_pHScrollBar;
    if (!bar)
        return;
    const long long maximum = bar->Maximum();
    if (maximum < 1)
        return;
    long long step = 0;
    if (vertical) {
        const long long length = (bar->Bottom() - bar->Top()) - 50;
        const long long range = length - (length * 60) / (maximum + 60);
        if (range < 1)
            return;
        step = maximum * (v - m_trackingStart.v) / range;
    } else {
        const long long per = ((bar->Right() - bar->Left()) * 1000LL - 50000) / maximum;
        if (per < 1)
            return;
        const long long dh = h - m_trackingStart.h;
        step = h > m_trackingStart.h ? (dh + per / 2000) * 1000 / per : (dh - per / 2000) * 1000 / per;
    }
    if (step == kNoStep || step == m_lastTrackingStep)
        return;
    m_lastTrackingStep = static_cast<int>(step);
    ScrollEngine(vertical, 2, static_cast<int>(m_trackingStartValue + step));
    DrawScrollBar(bar);
}

void CMorvaXEditorCtrl::DrawScrollBar(qm::ui::ScrollBar* bar)
{
    qm::qd::Port* port = PortOf(m_pPluginWindow);
    if (!bar || !port || !bar->IsVisible() || bar->Right() <= bar->Left() || bar->Bottom() <= bar->Top())
        return;
    CGContextRef ctx = CreateCGContext(port);
    if (!ctx)
        return;
    const NPWindow& w = *m_pPluginWindow;
    // Local rectangles of the plug-in's area in the context's y-up space.
    auto user = [&](int left, int top, int right, int bottom) {
        return qm::cg::Rect{double(w.x + left), double(port->Height() - (w.y + bottom)), double(right - left),
            double(bottom - top)};
    };
    auto fill = [&](const qm::cg::Rect& r, double grey) {
        ctx->SetRGBFillColor(grey, grey, grey, 1);
        ctx->FillRect(r);
    };
    const int l = bar->Left(), t = bar->Top(), r = bar->Right(), b = bar->Bottom();
    fill(user(l, t, r, b), 0.93);
    const bool vertical = bar->IsVertical();
    const int thickness = vertical ? r - l : b - t;
    const int arrow = std::min(thickness, (vertical ? b - t : r - l) / 2);
    if (vertical) {
        fill(user(l, t, r, t + arrow), 0.8);
        fill(user(l, b - arrow, r, b), 0.8);
    } else {
        fill(user(l, t, l + arrow, b), 0.8);
        fill(user(r - arrow, t, r, b), 0.8);
    }
    // A bar the document disabled shows no thumb, whatever its range says
    // to the platform's bar.
    int start = 0, end = 0;
    if (!DocScrollBarDisabled(*bar) && bar->ThumbExtent(start, end))
        fill(vertical ? user(l + 2, start, r - 2, end) : user(start, t + 2, end, b - 2), 0.6);
    EndCGContext(port, &ctx);
}

void CMorvaXEditorCtrl::InstallWheelHandler()
{
    qm::qd::Port* port = PortOf(m_pPluginWindow);
    qm::ui::Window* window = port ? qm::ui::Window::FromPort(port) : nullptr;
    if (!window || m_wheelHandler)
        return;
    m_wheelHandler
        = window->Target().InstallHandler({{qm::events::kEventClassMouse, qm::events::kEventMouseWheelMoved}},
            [this](const qm::events::NextHandler& next, qm::events::Event& event) {
                return MouseWheelMoved(next, event);
            });
}

int CMorvaXEditorCtrl::MouseWheelMoved(const qm::events::NextHandler& next, qm::events::Event& event)
{
    qm::events::Point at;
    const NPWindow* w = m_pPluginWindow;
    if (!m_focused || !w || !event.GetParam(qm::events::kParamWindowMouseLocation, at)) {
        qm::events::CallNextHandler(next, event);
        return 0;
    }
    const NPRect& clip = w->clipRect;
    if (at.h < clip.left || at.h > clip.right || at.v < clip.top || at.v > clip.bottom) {
        qm::events::CallNextHandler(next, event);
        return 0;
    }
    std::int64_t axis = 0, delta = 0;
    event.GetParam(qm::events::kParamWheelAxis, axis);
    event.GetParam(qm::events::kParamWheelDelta, delta);
    if (m_viewMode != 0)
        return 0; // the other views do not scroll by the wheel yet
    GrafPtr oldPort = nullptr;
    Rect oldBounds{};
    RgnHandle oldClip = nullptr;
    if (qm::qd::Port* port = PortOf(w))
        BackupOldPort(oldPort, oldBounds, oldClip, port, w->x, w->y);
    if (axis == 0) {
        ScrollEngine(true, delta < 0 ? 4 : 5, 0);
        DrawScrollBar(m_pVScrollBar);
    } else {
        ScrollEngine(false, delta < 0 ? 12 : 11, 0);
        DrawScrollBar(m_pHScrollBar);
    }
    RestoreOldPort(oldPort, oldBounds, oldClip);
    return 0;
}
