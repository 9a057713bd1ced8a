// The engine's pointer: null events that track it, presses (single, double
// and Control-presses), releases and moves, and the selections a double
// click or a press after one makes.
//
// The state between events is the engine's: whether the button went down in
// the document (m_buttonHeld), the last single press (time and point, for
// double clicks), where the last null event had the pointer, the time of the
// last word selection, and the automatic-scroll request the timer carries
// out. Points are in the editing area's coordinates.

#include "editor/XHTML.h"

#include "base/shims/Keys.h"
#include "base/shims/TimeShims.h"
#include "element/Element.h"
#include "platform/events/Services.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"

namespace {

// Two presses at one point at most this many milliseconds apart are a
// double click; a press this soon after a word selection selects the
// paragraph.
constexpr unsigned int kDoubleClickMs = 499;
constexpr unsigned int kParagraphMs = 500;

// Automatic-scroll requests (m_scrollDirection).
constexpr unsigned int kScrollDown = 1;
constexpr unsigned int kScrollUp = 2;
constexpr unsigned int kScrollRight = 3;
constexpr unsigned int kScrollLeft = 4;

constexpr std::uint16_t kControlModifier = 0x1000;
constexpr unsigned int kButtonHeldFlag = 2;

bool PlatformButtonUp()
{
    return (qm::events::Services::Get().Input().buttons & qm::events::kButtonPrimary) == 0;
}

// Word units: digits, ASCII letters and everything from 0x80 up.
bool IsSeparator(unsigned short u)
{
    return u < 0x30 || (u >= 0x3A && u <= 0x40) || (u >= 0x5B && u <= 0x60) || (u >= 0x7B && u <= 0x7F);
}

} // namespace

void CXHTML::TrackPointer(CPoint point)
{
    const long width = m_window ? long(m_window->width) : 0;
    const long height = m_window ? long(m_window->height) : 0;
    if (m_buttonHeld) {
        if (point.y >= height)
            m_scrollDirection = kScrollDown;
        else if (point.y < 0)
            m_scrollDirection = kScrollUp;
        else if (point.x >= width)
            m_scrollDirection = kScrollRight;
        else if (point.x < 0)
            m_scrollDirection = kScrollLeft;
    }
    if (point.y > 0 && point.x > 0) {
        if (point.y == m_lastPointerY && point.x == m_lastPointerX)
            return;
        if (m_buttonHeld && PlatformButtonUp())
            OnLButtonUp(0, point);
        if (point.x > width || point.y > height)
            return;
        m_lastPointerY = static_cast<short>(point.y);
        m_lastPointerX = static_cast<short>(point.x);
        OnMouseMove(m_buttonHeld ? kButtonHeldFlag : 0, point);
        return;
    }
    if (m_buttonHeld && PlatformButtonUp())
        OnLButtonUp(0, point);
}

bool CXHTML::PressEvent(const EventRecord& record, CPoint point)
{
    const auto now = static_cast<unsigned int>(GetTickCount());
    if (record.modifiers & kControlModifier) {
        m_lastPressTime = 0;
        OnContextMenu(point);
        return false;
    }
    // A stored time of 0 means no single press to pair with (after a
    // double click or a Control-press), even while the clock is young.
    const bool doubleClick = m_lastPressTime != 0 && record.where.v == m_lastPressV
        && record.where.h == m_lastPressH && now - m_lastPressTime <= kDoubleClickMs;
    m_lastPressTime = doubleClick ? 0 : now;
    m_lastPressV = record.where.v;
    m_lastPressH = record.where.h;
    if (doubleClick)
        OnLButtonDblClk(kButtonHeldFlag, point);
    else
        OnLButtonDown(kButtonHeldFlag, point);
    return true;
}

void CXHTML::OnLButtonDown(unsigned int flags, CPoint point)
{
    try {
        if (flags != 0)
            m_doc.m_dragSelectMode = 1;
        m_pastePoint.x = -1;
        const auto now = static_cast<unsigned int>(GetTickCount());
        CElement* caret = m_doc.m_caretElement;
        if (m_lastDoubleClickTime != 0 && now - m_lastDoubleClickTime < kParagraphMs
            && m_doc.IsElementInTree(caret) && caret->IsTextElement()) {
            if (CElement* block = caret->GetFirstBlockParent()) {
                m_doc.m_root->CleanSelection(true);
                block->SelectAllChildren(true);
                m_doc.m_selectionPresent = 1;
                m_doc.DisplaySelectionStyle();
                ShowSelection();
                return;
            }
        }
        ActAsLButDown(flags, point);
    } catch (...) {
        // The press is abandoned; the button still counts as held.
    }
    m_buttonHeld = 1;
}

void CXHTML::ActAsLButDown(unsigned int flags, CPoint point)
{
    try {
        // A Shift-press extends the selection from where it started: the
        // last press, or the caret's place before a run of Shift-moves
        // (the last key position is then the end those moves reached).
        const bool shiftRun = m_doc.m_selectionAnchor && m_doc.IsElementInTree(m_doc.m_selectionAnchor);
        const CPoint anchor = shiftRun ? m_shiftRunStart : m_doc.m_lastKeyPos;
        m_doc.LButtonDown(flags, point);
        if (GetKeyState(kKeyShift) < 0) {
            m_doc.SetLastKeyPos(anchor);
            m_doc.ProcessSelectionFrom(m_doc.m_caretPoint);
        } else {
            // A press puts the caret anew: a Shift-move after it selects
            // from here, not from where an earlier Shift-move started.
            m_doc.m_selectionAnchor = nullptr;
            m_doc.SetLastKeyPos(m_doc.m_caretPoint);
            DisplayStyleButton(m_doc.m_caretElement);
        }
        SetCopyState();
        m_doc.SaveUndo(false);
    } catch (...) {
        // The rest of the press is abandoned.
    }
}

void CXHTML::OnLButtonUp(unsigned int flags, CPoint point)
{
    try {
        m_doc.OnLButtonUp(flags, point);
        if (m_doc.m_resizeCommitted) {
            // A new size written by a resize is an edit like any other.
            m_doc.m_resizeCommitted = 0;
            NotifyChange(true);
        }
    } catch (...) {
        // The release still ends the press below.
    }
    m_buttonHeld = 0;
}

void CXHTML::OnMouseMove(unsigned int flags, CPoint point)
{
    if (m_buttonHeld && !(flags & kButtonHeldFlag))
        m_buttonHeld = 0;
    try {
        m_doc.MouseMove(flags, point);
        SetCopyState();
    } catch (...) {
        // The move is abandoned.
    }
}

void CXHTML::OnLButtonDblClk(unsigned int, CPoint)
{
    try {
        CElement* target = m_doc.m_pointerElement;
        m_targetElement = target;
        if (!target || !m_doc.IsElementInTree(target) || m_doc.CheckForCustomSelection(target, true))
            return;
        CElement* link = target->IsTextElement() ? target->IsElementUnderTag(kKindA) : nullptr;
        if (target->IsTextElement() && !link) {
            SelectWord(target);
            return;
        }
        if (link) {
            CPtrList pieces;
            link->GetWrappedInlineBrothers(&pieces);
            m_doc.m_root->CleanSelection(true);
            link->SelectAllChildren(true);
            CElement* first = link;
            pieces.ForEachItem([&](void* item) {
                auto* piece = static_cast<CElement*>(item);
                piece->SelectAllChildren(true);
                if (m_doc.m_root->IsBeyondElement(piece, first) == 1)
                    first = piece;
            });
            m_targetElement = first;
            m_doc.m_selectionPresent = 1;
            m_doc.DisplaySelectionStyle();
            ShowSelection();
            DoProperty(first);
            return;
        }
        if (!IsRowGroupKind(target->m_kind))
            DoProperty(target);
    } catch (...) {
        // The double click is abandoned.
    }
}

void CXHTML::SelectWord(CElement* run)
{
    const CSafeBuf& text = run->m_text;
    const long length = text.Length();
    const long caret = run->m_caretOffset;
    long start = -1;
    long end = length - 1;
    bool passed = false;
    for (long i = 0; i < length; ++i) {
        if (i >= caret)
            passed = true;
        if (IsSeparator(text[i])) {
            if (passed) {
                end = i - 1;
                break;
            }
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    if (!passed)
        return;
    // On a separator the scan finds no word start: nothing is selected.
    if (start < 0 || end < start)
        return;
    m_lastDoubleClickTime = static_cast<unsigned int>(GetTickCount());
    m_doc.m_root->CleanSelection(true);
    run->m_selStart = start;
    run->m_selEnd = end;
    run->m_selected = 1;
    m_doc.m_selectionPresent = 1;
    m_doc.DisplaySelectionStyle();
    ShowSelection();
}

void CXHTML::SelectAll()
{
    if (!m_doc.m_root)
        return;
    try {
        m_doc.m_root->SelectAllChildren(true);
        m_doc.m_selectionPresent = 1;
        ShowSelection();
        m_doc.DisplaySelectionStyle();
    } catch (...) {
        // What was selected stays selected.
    }
}

void CXHTML::ShowSelection()
{
    m_doc.DrawDoc(1);
    m_doc.Redraw();
}
