// The engine's browser events: their routing, painting, size changes,
// scrolling and focus (the pointer and keys are XHTMLPointer.cpp and
// XHTMLKeys.cpp).
//
// The control hands the engine the events of the WYSIWYG view with their
// point in the editing area's coordinates and the plug-in's port current
// (origin at minus the editing area's position). The engine's window
// record (m_window) is the editing area: its port, position, size and the
// browser's clip in port coordinates.

#include "editor/XHTML.h"

#include "element/services/ControlServices.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"
#include "platform/qd/Port.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Scroll actions (the first argument of OnVScroll and OnHScroll).
constexpr unsigned int kToPosition = 1;
constexpr unsigned int kThumbPosition = 2;
constexpr unsigned int kToBottom = 3;
constexpr unsigned int kTenDown = 4;
constexpr unsigned int kTenUp = 5;
constexpr unsigned int kHalfDown = 6;
constexpr unsigned int kHalfUp = 7;
constexpr unsigned int kToTop = 8;
constexpr unsigned int kToRight = 9;
constexpr unsigned int kToLeft = 10;
constexpr unsigned int kOneLeft = 11;
constexpr unsigned int kOneRight = 12;
constexpr unsigned int kHalfLeft = 13;
constexpr unsigned int kHalfRight = 14;

// The far end, held at the bar's maximum.
constexpr int kFarEnd = 10000;

qm::qd::Port* WindowPort(const NPWindow* window)
{
    const auto* port = window ? static_cast<const NP_Port*>(window->window) : nullptr;
    return port ? port->port : nullptr;
}

short ClipEdge(long edge) { return static_cast<short>(std::max(-32768L, std::min(32767L, edge))); }

} // namespace

bool CXHTML::HandleEvent(void* event)
{
    const auto* record = static_cast<const EventRecord*>(event);
    if (!record)
        return false;
    const CPoint point(record->where.h, record->where.v);
    switch (record->what) {
    case nullEvent: TrackPointer(point); return true;
    case mouseDown: return PressEvent(*record, point);
    case mouseUp: OnLButtonUp(0, point); return true;
    case keyDown:
    case autoKey: {
        unsigned short character = 0;
        if (TranslateKey(*record, character)) {
            OnChar(character, 1, 0);
            // What the key took out of the tree is freed now that nothing
            // up the stack holds it.
            m_doc.ReleaseRemovedElements();
        }
        return true;
    }
    case updateEvt: OnPaint(); return true;
    case activateEvt: return true;
    case NPEventType_GetFocusEvent: OnSetFocus(); return true;
    case NPEventType_LoseFocusEvent: OnKillFocus(); return true;
    default: return false;
    }
}

void CXHTML::OnPaint()
{
    try {
        CRect rect = m_doc.m_viewRect;
        rect.right = rect.left + m_doc.m_viewWidth;
        m_doc.Draw(m_doc.m_port, &rect, false);
    } catch (...) {
        // The window keeps what it showed.
    }
}

void CXHTML::OnSize(unsigned int, int, int)
{
    if (!m_window)
        return;
    const int width = static_cast<int>(m_window->width);
    const int height = static_cast<int>(m_window->height);
    m_doc.m_port = WindowPort(m_window);
    // The browser's clip is in port coordinates; the document draws in the
    // editing area's.
    const NPRect& clip = m_window->clipRect;
    m_doc.m_clipTop = ClipEdge(long(clip.top) - m_window->y);
    m_doc.m_clipLeft = ClipEdge(long(clip.left) - m_window->x);
    m_doc.m_clipBottom = ClipEdge(long(clip.bottom) - m_window->y);
    m_doc.m_clipRight = ClipEdge(long(clip.right) - m_window->x);
    if (clip.top == clip.bottom)
        m_doc.m_clipTop = m_doc.m_clipBottom = 0; // clipped away
    m_doc.m_viewRect = CRect(0, 0, (width + 7) / 8 * 8, height);
    m_doc.m_viewWidth = width;
    CRect rect(0, 0, width, height);
    m_doc.ResizeWindow(rect);
}

void CXHTML::OnVScroll(unsigned int action, unsigned int position, void*)
{
    DOC_SCROLL_BAR& bar = m_doc.m_verticalBar;
    if (DocScrollBarDisabled(bar))
        return;
    const int half = int(std::labs(m_doc.m_viewRect.bottom - m_doc.m_viewRect.top)) / 2;
    int value = bar.Value();
    switch (action) {
    case kToPosition:
    case kThumbPosition: value = static_cast<int>(position); break;
    case kToBottom: value = kFarEnd; break;
    case kTenDown: value += 10; break;
    case kTenUp: value -= 10; break;
    case kHalfDown: value += half; break;
    case kHalfUp: value -= half; break;
    case kToTop: value = 0; break;
    default: break;
    }
    bar.SetValue(value);
    m_doc.m_scrollY = bar.Value() * 2;
    m_doc.Redraw();
}

void CXHTML::OnHScroll(unsigned int action, unsigned int position, void*)
{
    DOC_SCROLL_BAR& bar = m_doc.m_horizontalBar;
    const int half = m_doc.m_viewWidth / 2;
    int value = bar.Value();
    switch (action) {
    case kToPosition:
    case kThumbPosition: value = static_cast<int>(position); break;
    case kToRight: value = kFarEnd; break;
    case kToLeft: value = 0; break;
    case kOneLeft: value -= 1; break;
    case kOneRight: value += 1; break;
    case kHalfLeft: value -= half; break;
    case kHalfRight: value += half; break;
    default: break;
    }
    bar.SetValue(value);
    m_doc.m_scrollX = bar.Value() * 2;
    m_doc.Redraw();
}

void CXHTML::OnSetFocus(void*)
{
    if (m_control)
        m_control->FocusChanged();
    CElement* caret = m_doc.m_caretElement;
    if (!m_doc.m_root || !caret || !m_doc.IsElementExist(caret))
        return;
    m_doc.m_caretEnabled = m_doc.m_caretEnabledSaved;
    if (!m_doc.m_selectionPresent) {
        m_doc.m_caretPhase = 1;
        DisplayCursor();
    }
}

void CXHTML::OnKillFocus(void*)
{
    if (m_control)
        m_control->FocusChanged();
    m_doc.m_caretEnabledSaved = m_doc.m_caretEnabled;
    m_doc.m_caretPhase = 0;
    DisplayCursor();
    m_doc.m_caretEnabled = 0;
}
