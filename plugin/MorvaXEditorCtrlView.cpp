// The control's browser events: where an event goes (toolbar, scroll bars,
// the view that shows), the frame it draws, its port save and restore, the
// focus report and the placement of the editing area and the source view.
//
// Points arrive in the plug-in's local coordinates (the plug-in instance
// has made its window's port current with the origin at minus the window's
// position). The editing area's events go to the engine with the point
// moved into the area's coordinates.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/shims/CGShims.h"
#include "base/shims/PortShims.h"
#include "base/shims/TimeShims.h"
#include "editor/PluginPortScope.h"
#include "editor/XHTML.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/ui/ScrollBar.h"
#include "source_view/ColoringEditor.h"
#include "style/draw/DrawPrimitives.h"

#include <algorithm>

namespace {

// Regions of the plug-in's area.
constexpr int kRegionEditing = 0;
constexpr int kRegionVertical = 1;
constexpr int kRegionHorizontal = 2;
constexpr int kRegionToolbar = 3;

// A held press repeats after more than these many milliseconds: the first
// time, then each further time.
constexpr unsigned long kFirstRepeatMs = 500;
constexpr unsigned long kNextRepeatMs = 49;

constexpr std::uint16_t kControlKey = 0x1000;

bool ButtonHeld() { return (qm::events::Services::Get().Input().buttons & qm::events::kButtonPrimary) != 0; }

qm::qd::Port* PortOf(const NPWindow* window)
{
    const auto* port = window ? static_cast<const NP_Port*>(window->window) : nullptr;
    return port && qm::qd::IsLivePort(port->port) ? port->port : nullptr;
}

} // namespace

void CMorvaXEditorCtrl::FocusChanged()
{
    if (m_focused == m_lastFocusReported)
        return;
    m_lastFocusReported = m_focused;
    if (m_focused)
        FireBrowserFocusSet();
    else
        FireBrowserFocusLost();
}

void CMorvaXEditorCtrl::OnSize(unsigned int, int, int)
{
    if (m_pXHTML)
        m_pXHTML->AssignWnd();
}

void CMorvaXEditorCtrl::PlaceEditingArea()
{
    const NPWindow* window = m_pPluginWindow;
    if (!window || !m_pXHTML)
        return;
    const int bar = m_horizontalBarShown ? 17 : 2;
    m_editWindow = *window;
    m_editWindow.x = window->x + 1;
    m_editWindow.y = window->y + m_toolbarHeight + 1;
    m_editWindow.width = static_cast<std::uint32_t>(std::max(0, int(window->width) - 17));
    m_editWindow.height
        = static_cast<std::uint32_t>(std::max(0, int(window->height) - m_toolbarHeight - bar));
    NarrowClip(m_editWindow);
    m_pXHTML->m_window = &m_editWindow;
    m_pXHTML->OnSize();
}

void CMorvaXEditorCtrl::SetWindow(NPWindow* window, bool pageOnly)
{
    m_pPluginWindow = window;
    if (!window)
        return;
    if (m_pXHTML) {
        m_toolbarSet.SetWindow(*window);
        m_toolbarHeight = std::max(0, m_toolbarSet.CalculateHeight());
        PlaceEditingArea();
    }
    if (pageOnly) {
        // One page of the window's size, drawn on its port.
        if (m_pXHTML) {
            m_pXHTML->m_doc.m_port = PortOf(window);
            m_pXHTML->m_doc.m_viewRect = CRect(0, 0, int(window->width), int(window->height));
            m_pXHTML->m_doc.m_windowRect = m_pXHTML->m_doc.m_viewRect;
        }
        return;
    }
    if (m_coloringEditor) {
        const int width = int(window->width);
        const int height = int(window->height);
        // The source view's record keeps the plug-in area's position (its
        // view rectangle is inside the area) with the clip of its own area.
        m_sourceWindow = *window;
        const int top = m_toolbarHeight + 1;
        const int bottom = std::max(top, height - 1);
        m_coloringEditor->m_viewRect = CRect(1, top, std::max(1, width - 1), bottom);
        NarrowClip(m_sourceWindow, window->x + 1, window->y + top, window->x + std::max(1, width - 1),
            window->y + bottom);
        m_coloringEditor->m_window = &m_sourceWindow;
        // The view draws itself when told of its size: only while it shows
        // (it fits its rows to the area whenever it draws).
        if (m_viewMode == 1)
            m_coloringEditor->SizeChanged(height, 0);
    }
    if (m_pXHTML) {
        // Laying the document out for the new area may draw it, on whatever
        // origin the port has now: it draws nothing until the next update
        // draws it where the area now is.
        const unsigned char pending = m_windowChangePending;
        m_windowChangePending = 1;
        m_pXHTML->AssignWnd();
        m_windowChangePending = pending;
    }
    m_placeBars = 1;
}

void CMorvaXEditorCtrl::NarrowClip(NPWindow& area)
{
    NarrowClip(area, area.x, area.y, area.x + int(area.width), area.y + int(area.height));
}

void CMorvaXEditorCtrl::NarrowClip(NPWindow& record, int left, int top, int right, int bottom)
{
    // The browser's clip narrowed to the area, its left edge 1 further left
    // and its bottom edge 1 up; a window clipped away stays clipped away.
    NPRect& clip = record.clipRect;
    if (clip.top == clip.bottom && clip.left == clip.right)
        return;
    clip.top = static_cast<std::uint16_t>(std::max<int>(clip.top, top));
    clip.left = static_cast<std::uint16_t>(std::max<int>(std::max<int>(clip.left, left) - 1, 0));
    clip.bottom = static_cast<std::uint16_t>(std::max<int>(std::min<int>(clip.bottom, bottom) - 1, 0));
    clip.right = static_cast<std::uint16_t>(std::min<int>(clip.right, right));
    if (clip.bottom < clip.top)
        clip.bottom = clip.top;
    if (clip.right < clip.left)
        clip.right = clip.left;
}

void CMorvaXEditorCtrl::BackupPort()
{
    // Every call is paired with a RestorePort: one without a port saves an
    // empty state, which restores nothing.
    m_savedPorts.emplace_back();
    qm::qd::Port* port = PortOf(m_pPluginWindow);
    if (!port)
        return;
    // The origin where the engine draws: the editing area's.
    const NPWindow& area = m_pXHTML && m_pXHTML->m_window == &m_editWindow ? m_editWindow : *m_pPluginWindow;
    SavedPortState& saved = m_savedPorts.back();
    BackupOldPort(saved.port, saved.bounds, saved.clip, port, area.x, area.y);
}

void CMorvaXEditorCtrl::RestorePort()
{
    if (m_savedPorts.empty())
        return;
    SavedPortState saved = m_savedPorts.back();
    m_savedPorts.pop_back();
    RestoreOldPort(saved.port, saved.bounds, saved.clip);
}

void CMorvaXEditorCtrl::UpdateWindow()
{
    // Outside a browser event the plug-in's port is not current: the port
    // is set up as the browser sets it up for its own update event.
    CPluginPortScope port(m_pPluginWindow);
    EventRecord update{};
    update.what = updateEvt;
    HandleEvent(&update);
}

void CMorvaXEditorCtrl::OnDraw()
{
    qm::qd::Port* port = PortOf(m_pPluginWindow);
    if (!port)
        return;
    const NPWindow& w = *m_pPluginWindow;
    const int width = int(w.width);
    const int height = int(w.height);
    CGContextRef ctx = CreateCGContext(port);
    if (!ctx)
        return;
    // The plug-in's area, y growing upwards from its bottom edge.
    ctx->TranslateCTM(w.x, port->Height() - (w.y + height));
    const NPRect& clip = w.clipRect;
    ctx->ClipToRect(qm::cg::Rect{double(int(clip.left) - int(w.x)), double(w.y + height - int(clip.bottom)),
        double(int(clip.right) - int(clip.left)), double(int(clip.bottom) - int(clip.top))});
    xFrameRect(ctx, CRect(0, 0, width - 1, height), m_borderColor, nullptr);
    if (m_toolbarHeight > 0)
        xFrameRect(ctx, CRect(0, height - m_toolbarHeight, width - 1, height), m_borderColor, nullptr);
    // The square between the bars, with the row above it: the vertical bar
    // ends there once the horizontal bar shows, and the horizontal bar ends
    // left of it.
    xFillSolidRect(ctx, CRect(width - 15, 1, width - 1, 16), m_backgroundColor, nullptr);
    // The row between that line and the parts below it belongs to none of
    // them: filled too, so that nothing a part drew there before the toolbar
    // changed height stays.
    if (m_toolbarHeight > 0)
        xFillSolidRect(ctx, CRect(1, height - m_toolbarHeight - 1, width - 1, height - m_toolbarHeight),
            m_backgroundColor, nullptr);
    // So is the row above the bottom line: the views' clips end one row
    // above it, and what the other view drew there (a scroll bar's or the
    // source view's last row) must not stay after a switch.
    xFillSolidRect(ctx, CRect(1, 1, width - 1, 2), m_backgroundColor, nullptr);
    EndCGContext(port, &ctx);
}

int CMorvaXEditorCtrl::HandleEvent(void* event)
{
    auto* record = static_cast<EventRecord*>(event);
    if (!record || !m_pPluginWindow || !m_bShown)
        return 0;
    if (m_dialogOpen)
        return 1;
    const bool wysiwyg = m_viewMode == 0;
    switch (record->what) {
    case keyDown:
        if (m_textInputSeen)
            return 1;
        break;
    case NPEventType_GetFocusEvent: m_focused = 1; break;
    case NPEventType_LoseFocusEvent: m_focused = 0; break;
    default: break;
    }
    bool endsToolbarPress = false;
    if (record->what == mouseUp) {
        m_pressCount = 0;
        endsToolbarPress = m_toolbarPress != 0;
        m_toolbarPress = 0;
    } else if (record->what == mouseDown) {
        m_toolbarPress = 0;
    }

    const int width = int(m_pPluginWindow->width);
    const int height = int(m_pPluginWindow->height);
    if (m_placeBars)
        PlaceScrollBars();

    if (record->what == updateEvt) {
        DrawFrameAndBars();
        int used = 1;
        if (wysiwyg && m_pXHTML)
            used = EngineEvent(*record, 0, 0);
        else if (m_viewMode == 1 && m_coloringEditor)
            used = m_coloringEditor->HandleEvent(record);
        // The control does not show its preview or screen-reader view yet:
        // their updates are taken without drawing.
        m_toolbarSet.OnDraw(nullptr);
        return used;
    }
    if (m_bPopupShowing)
        return 1;

    // Focus, activation and keys carry no pointer position: they go to the
    // view whatever their point says.
    const bool pointer = record->what == nullEvent || record->what == mouseDown || record->what == mouseUp;
    if (!pointer) {
        if (wysiwyg && m_pXHTML)
            return EngineEvent(*record, 0, 0);
        // The source view keeps its own focus: its caret shows while the
        // control has the focus.
        const bool focus
            = record->what == NPEventType_GetFocusEvent || record->what == NPEventType_LoseFocusEvent;
        if (focus && m_viewMode == 1 && m_coloringEditor)
            return m_coloringEditor->HandleEvent(record);
        return 1;
    }
    const int h = record->where.h;
    const int v = record->where.v;
    if (h >= 0 && v >= 0) {
        DragThumb(h, v);
        if (m_pressCount > 0 && !ButtonHeld())
            m_pressCount = 0;
    }

    int region = kRegionEditing;
    if (h >= width - 16 && h <= width && v >= m_toolbarHeight + 1 && v <= height - 1) {
        region = kRegionVertical;
    } else if (m_horizontalBarShown && h >= 1 && h <= width - 16 && v >= height - 16 && v <= height - 1) {
        region = kRegionHorizontal;
    } else if (m_toolbarHeight >= 1 && h >= 1 && h <= width && v >= 1 && v <= m_toolbarHeight) {
        region = kRegionToolbar;
        m_pressCount = 0;
    } else if (h == 0 || h == width || v == 0 || v == height) {
        return 1;
    }

    bool repeat = false;
    if (region == kRegionVertical || region == kRegionHorizontal) {
        const unsigned long since = GetTickCount() - m_lastPressTime;
        repeat = (m_pressCount == 1 && since > kFirstRepeatMs) || (m_pressCount > 1 && since > kNextRepeatMs);
    }

    if (region == kRegionToolbar) {
        m_lastRegion = kRegionToolbar;
        if (record->what == mouseUp && endsToolbarPress)
            return 1;
        return m_toolbarSet.HandleEvent(record);
    }

    if ((region == kRegionVertical || region == kRegionHorizontal)
        && (record->what == mouseDown || (repeat && record->what == nullEvent))
        && (record->modifiers & kControlKey) == 0 && wysiwyg) {
        ++m_pressCount;
        m_lastPressTime = GetTickCount();
        PressScrollBar(region == kRegionVertical, h, v);
    }

    if (m_lastRegion == kRegionToolbar) {
        // The toolbar sees the pointer leave first, so that a button
        // released outside it is not clicked.
        EventRecord moved = *record;
        moved.what = nullEvent;
        m_toolbarSet.HandleEvent(&moved);
        if (record->what != nullEvent)
            m_toolbarSet.HandleEvent(record);
    }
    m_lastRegion = region;
    if (region != kRegionEditing && record->what != nullEvent && wysiwyg)
        return 1;

    if (wysiwyg && m_pXHTML)
        return EngineEvent(
            *record, h - (m_editWindow.x - m_pPluginWindow->x), v - (m_editWindow.y - m_pPluginWindow->y));
    return 1;
}

int CMorvaXEditorCtrl::EngineEvent(const EventRecord& record, int h, int v)
{
    EventRecord moved = record;
    moved.where.h = static_cast<std::int16_t>(h);
    moved.where.v = static_cast<std::int16_t>(v);
    EngineOrigin(true);
    const bool used = m_pXHTML->HandleEvent(&moved);
    EngineOrigin(false);
    return used ? 1 : 0;
}

void CMorvaXEditorCtrl::EngineOrigin(bool editingArea)
{
    if (!m_pPluginWindow || !qm::qd::GetPort() || qm::qd::GetPort() != PortOf(m_pPluginWindow))
        return;
    const NPWindow& w = editingArea ? m_editWindow : *m_pPluginWindow;
    dSetOrigin(static_cast<short>(-w.x), static_cast<short>(-w.y));
}
