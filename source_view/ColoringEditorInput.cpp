// Browser events of the markup source view: keys, the mouse, focus, typed
// Unicode text and scrolling.

#include "source_view/ColoringEditor.h"

#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/ui/ScrollBar.h"

namespace {

const unsigned short kLineBreak[] = {'\r', '\n'};

// The key a unit of typed text stands for, or -1 for a character to type.
// The browser hands every press on as text input too, and the view takes
// keys only from there once text input has started: the editing keys come
// as their control characters and, with Command held, the shortcuts as
// their letters.
int KeyOfUnit(unsigned short unit, bool command)
{
    using namespace qm::input;
    switch (unit) {
    case 1: return kVK_Home;
    case 3: return kVK_ANSI_KeypadEnter;
    case 4: return kVK_End;
    case 8: return kVK_Delete; // Backspace
    case 9: return kVK_Tab;
    case 11: return kVK_PageUp;
    case 12: return kVK_PageDown;
    case 28: return kVK_LeftArrow;
    case 29: return kVK_RightArrow;
    case 30: return kVK_UpArrow;
    case 31: return kVK_DownArrow;
    case 127: return kVK_ForwardDelete;
    default: break;
    }
    if (command) {
        switch (unit | 0x20) {
        case 'a': return kVK_ANSI_A;
        case 'c': return kVK_ANSI_C;
        case 'v': return kVK_ANSI_V;
        case 'x': return kVK_ANSI_X;
        case 'z': return kVK_ANSI_Z;
        default: break;
        }
    }
    return -1;
}

} // namespace

int CColoringEditor::HandleEvent(EventRecord* event)
{
    if (!event)
        return 0;
    const CPoint point(event->where.h, event->where.v);
    switch (event->what) {
    case updateEvt: Redraw(); return 1;
    case mouseDown: OnMouseDown(point, event->modifiers); return 1;
    case mouseUp:
        if (m_thumbTracking) {
            OnThumbMove(point);
            m_thumbTracking = false;
            return 1;
        }
        if (!m_tracking)
            return 0;
        OnMouseMove(point);
        m_tracking = false;
        return 1;
    case nullEvent:
        if (m_thumbTracking) {
            OnThumbMove(point);
            return 1;
        }
        if (!m_tracking)
            return 0;
        OnMouseMove(point);
        return 1;
    case keyDown:
    case autoKey: return OnKey(event->message, event->modifiers) ? 1 : 0;
    case NPEventType_GetFocusEvent: SetFocus(); return 1;
    case NPEventType_LoseFocusEvent: KillFocus(); return 1;
    default: return 0;
    }
}

void CColoringEditor::MoveCaret(int pos, bool extend)
{
    const int anchor = extend ? m_anchor : pos;
    SetSelection(anchor, pos);
    m_markedStart = -1;
    m_markedLength = 0;
    m_undo.BreakTyping();
    ScrollToCaret();
    Redraw();
}

bool CColoringEditor::OnKey(std::uint32_t message, std::uint16_t modifiers)
{
    const unsigned short ch = message & charCodeMask;
    const std::uint8_t key = (message & keyCodeMask) >> 8;
    const bool shift = modifiers & qm::events::kModShift;
    const bool command = modifiers & qm::events::kModCommand;

    if (command) {
        switch (key) {
        case qm::input::kVK_ANSI_C: OnCopy(); return true;
        case qm::input::kVK_ANSI_X: OnCut(); return true;
        case qm::input::kVK_ANSI_V: OnPaste(); return true;
        case qm::input::kVK_ANSI_Z: shift ? OnRedo() : OnUndo(); return true;
        case qm::input::kVK_ANSI_A:
            SetSelection(0, m_text.Length());
            Redraw();
            return true;
        default: break;
        }
    }

    const int row = m_text.RowOf(m_caret);
    auto vertical = [&](int rows) {
        if (m_goalColumn < 0)
            m_goalColumn = m_text.ColumnOf(m_caret);
        const int goal = m_goalColumn;
        const int target = row + rows;
        int pos;
        if (target < 0)
            pos = 0;
        else if (target >= m_text.RowCount())
            pos = m_text.Length();
        else
            pos = m_text.PosAtColumn(target, goal);
        MoveCaret(pos, shift);
        m_goalColumn = goal;
    };

    switch (key) {
    case qm::input::kVK_LeftArrow:
        if (HasSelection() && !shift)
            MoveCaret(SelectionStart(), false);
        else
            MoveCaret(command ? m_text.RowStart(row) : m_text.PreviousPos(m_caret), shift);
        return true;
    case qm::input::kVK_RightArrow:
        if (HasSelection() && !shift)
            MoveCaret(SelectionEnd(), false);
        else
            MoveCaret(command ? m_text.RowEnd(row) : m_text.NextPos(m_caret), shift);
        return true;
    case qm::input::kVK_UpArrow:
        if (command)
            MoveCaret(0, shift);
        else
            vertical(-1);
        return true;
    case qm::input::kVK_DownArrow:
        if (command)
            MoveCaret(m_text.Length(), shift);
        else
            vertical(1);
        return true;
    case qm::input::kVK_PageUp: vertical(-std::max(1, VisibleRows() - 1)); return true;
    case qm::input::kVK_PageDown: vertical(std::max(1, VisibleRows() - 1)); return true;
    case qm::input::kVK_Home: MoveCaret(command ? 0 : m_text.RowStart(row), shift); return true;
    case qm::input::kVK_End: MoveCaret(command ? m_text.Length() : m_text.RowEnd(row), shift); return true;
    case qm::input::kVK_Delete: // Backspace
        if (!HasSelection())
            SetSelection(m_text.PreviousPos(m_caret), m_caret);
        m_undo.BreakTyping();
        ReplaceSelection(nullptr, 0, false);
        return true;
    case qm::input::kVK_ForwardDelete:
        if (!HasSelection())
            SetSelection(m_caret, m_text.NextPos(m_caret));
        m_undo.BreakTyping();
        ReplaceSelection(nullptr, 0, false);
        return true;
    case qm::input::kVK_Return:
    case qm::input::kVK_ANSI_KeypadEnter:
        m_undo.BreakTyping();
        ReplaceSelection(kLineBreak, 2, false);
        return true;
    case qm::input::kVK_Tab: {
        const unsigned short tab = '\t';
        ReplaceSelection(&tab, 1, true);
        return true;
    }
    default: break;
    }
    if (command || ch < 32 || ch == 127 || ch >= 128)
        return false; // other characters arrive as Unicode text input
    ReplaceSelection(&ch, 1, true);
    return true;
}

void CColoringEditor::MacUnicodeInput(const unsigned short* text, int fixed)
{
    if (!text)
        return;
    if (m_markedStart >= 0) {
        // The provisional text of the last input goes.
        SetSelection(m_markedStart, m_markedStart + m_markedLength);
        m_markedStart = -1;
        m_markedLength = 0;
    }
    const std::uint16_t modifiers = static_cast<std::uint16_t>(qm::events::Services::Get().Input().modifiers);
    const bool command = modifiers & qm::events::kModCommand;
    const int start = SelectionStart();
    int count = 0;
    for (const unsigned short* p = text; *p; ++p) {
        const int key = KeyOfUnit(*p, command);
        if (key >= 0) {
            OnKey(static_cast<std::uint32_t>(key) << 8 | *p, modifiers);
            continue;
        }
        // Other control characters and Command with another key type
        // nothing: they would put characters XML does not allow, or the
        // shortcut's letter, into the markup.
        if (command || (*p < 32 && *p != '\r' && *p != '\n'))
            continue;
        if (*p == '\r' || *p == '\n') {
            if (*p == '\n' && p > text && p[-1] == '\r')
                continue;
            ReplaceSelection(kLineBreak, 2, false);
            count += 2;
        } else {
            ReplaceSelection(p, 1, true);
            ++count;
        }
    }
    if (!fixed && count > 0) {
        m_markedStart = start;
        m_markedLength = count;
        SetSelection(start, start);
        Redraw();
    }
}

void CColoringEditor::OnMouseDown(CPoint point, std::uint16_t modifiers)
{
    m_focused = true;
    if (ScrollBarRect().PtInRect(point)) {
        OnScrollBarClick(point);
        return;
    }
    const int pos = PosFromPoint(point);
    const bool shift = modifiers & qm::events::kModShift;
    if (!shift && HasSelection() && pos >= SelectionStart() && pos < SelectionEnd()) {
        // A press on the selection drags it; a drag that ends nowhere is a click.
        if (StartDrag() != 0)
            MoveCaret(pos, false);
        return;
    }
    MoveCaret(pos, shift);
    m_tracking = true;
}

void CColoringEditor::OnMouseMove(CPoint point)
{
    if (!m_tracking)
        return;
    // Above or below the view the rows scroll one at a time.
    if (point.y < 0 && m_topRow > 0)
        --m_topRow;
    else if (point.y >= TextRect().bottom)
        ++m_topRow;
    ClampScroll();
    const int pos = PosFromPoint(point);
    SetSelection(m_anchor, pos);
    Redraw();
}

bool CColoringEditor::OnScrollBarClick(CPoint point)
{
    const CRect bar = ScrollBarRect();
    qm::ui::ScrollBar geometry;
    geometry.SetBounds(bar.left, bar.top, bar.right, bar.bottom);
    geometry.SetMaximum(std::max(0, m_text.RowCount() - VisibleRows()));
    geometry.SetValue(m_topRow);
    geometry.SetViewSize(VisibleRows());
    switch (geometry.TestPart(point.x, point.y)) {
    case qm::ui::kPartUpArrow: OnVScroll(5, 0, nullptr); return true;
    case qm::ui::kPartDownArrow: OnVScroll(4, 0, nullptr); return true;
    case qm::ui::kPartPageUp: OnVScroll(7, 0, nullptr); return true;
    case qm::ui::kPartPageDown: OnVScroll(6, 0, nullptr); return true;
    case qm::ui::kPartThumb:
        m_thumbTracking = true;
        m_thumbStartY = point.y;
        m_thumbStartRow = m_topRow;
        return true;
    default: return false;
    }
}

void CColoringEditor::OnThumbMove(CPoint point)
{
    // The rows the thumb's travel stands for: the track less the thumb.
    const CRect bar = ScrollBarRect();
    qm::ui::ScrollBar geometry;
    geometry.SetBounds(bar.left, bar.top, bar.right, bar.bottom);
    const int maxRow = std::max(0, m_text.RowCount() - VisibleRows());
    geometry.SetMaximum(maxRow);
    geometry.SetViewSize(VisibleRows());
    int start = 0;
    int end = 0;
    if (!geometry.ThumbExtent(start, end))
        return;
    const int arrow = std::min(bar.right - bar.left, (bar.bottom - bar.top) / 2);
    const int travel = (bar.bottom - bar.top) - 2 * arrow - (end - start);
    if (travel <= 0)
        return;
    const long long rows = static_cast<long long>(point.y - m_thumbStartY) * maxRow / travel;
    OnVScroll(2, static_cast<int>(std::clamp<long long>(m_thumbStartRow + rows, 0, maxRow)), nullptr);
}

void CColoringEditor::OnVScroll(int code, int value, void*)
{
    const int page = std::max(1, VisibleRows() - 1);
    switch (code) {
    case 2: m_topRow = value; break;
    case 4: ++m_topRow; break;
    case 5: --m_topRow; break;
    case 6: m_topRow += page; break;
    case 7: m_topRow -= page; break;
    default: return;
    }
    ClampScroll();
    Redraw();
}

void CColoringEditor::OnHScroll(int code, int value, void*)
{
    if (m_wordWrap)
        return;
    const int page = std::max(1, VisibleColumns() - 1);
    switch (code) {
    case 2: m_leftColumn = value; break;
    case 11: --m_leftColumn; break;
    case 12: ++m_leftColumn; break;
    case 13: m_leftColumn -= page; break;
    case 14: m_leftColumn += page; break;
    default: return;
    }
    ClampScroll();
    Redraw();
}
