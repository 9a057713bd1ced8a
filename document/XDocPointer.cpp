// Presses, moves and releases of the pointer in the document view. The
// engine hands them over in view coordinates; each adds the scroll offset
// and works in document points.
//
// One cycle is press, moves with the button held, release. A press places
// the caret, or selects an image, rule, break, div or another element that
// is handled as a whole; a press inside an existing selection starts a drag
// of it instead (tracked modally, so the release that ends it is
// synthesised). Moves with the button held extend the selection from the
// press point; moves without follow the pointer's element for its hover
// marks and pointer shape. A press inside a selection of text that never
// became a drag collapses the selection at the release point.

#include "document/XDoc.h"

#include "base/shims/Pasteboard.h"
#include "document/SrcElement.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "platform/qd/Cursor.h"

namespace {

// Options bit: images show no resize handles.
constexpr int kNoImageHandlesOption = 0x20;
// Bit of a move's flags: the button is held.
constexpr unsigned int kButtonHeld = 2;

// Elements a press selects as a whole.
bool IsSelectedWhole(long kind)
{
    switch (kind) {
    case kKindImg:
    case kKindHr:
    case kKindBr:
    case kKindCustom:
    case kKindObject:
    case kKindDiv:
    case kKindForm:
    case kKindFieldset:
    case kKindMap:
    case kKindComment:
    case kKindScript: return true;
    default: return false;
    }
}

// Elements whose selection a press drags as an element, not as text.
bool IsDraggedAsElement(long kind)
{
    switch (kind) {
    case kKindTable:
    case kKindImg:
    case kKindHr:
    case kKindBr:
    case kKindCustom:
    case kKindMap:
    case kKindObject:
    case kKindComment:
    case kKindScript: return true;
    default: return false;
    }
}

bool IsTableLike(long kind) { return kind == kKindTable || IsCellKind(kind) || kind == kKindTr; }

// The caret shows only while the control has the keyboard focus.
unsigned char CaretShownWith(const CControlServices* control)
{
    return !control || control->HasKeyboardFocus() ? 1 : 0;
}

} // namespace

void CXDoc::SetPointerShape(int shape)
{
    const qm::qd::Cursor* cursor = nullptr;
    switch (shape) {
    case 0: cursor = m_cursors.arrow; break;
    case 2: cursor = &GetEditorCursor(EditorCursor::Text); break;
    case 3: cursor = m_cursors.hand; break;
    case 4: cursor = m_cursors.horizontal; break;
    case 5: cursor = m_cursors.diagonalDown; break;
    case 6: cursor = m_cursors.diagonalUp; break;
    case 7: cursor = m_cursors.vertical; break;
    default: return;
    }
    m_pointerShape = shape;
    qm::qd::SetCursor(cursor);
}

bool CXDoc::LButtonDown(unsigned int, CPoint point)
{
    if (!m_root)
        return false;
    try {
        point.x += m_scrollX;
        point.y += m_scrollY;
        m_lastKeyPoint = point;
        m_lastKeyPos = point;
        m_pressPoint = point;
        CElement* hit = nullptr;
        try {
            hit = m_root->WhereCursorOn(point);
        } catch (...) {
            ValidateCursorOn(point);
            return false;
        }
        if (!hit)
            return false;
        m_pointerElement = hit;
        if (StartResize(hit, point))
            return true;

        bool changed = false;
        bool madeNow = false;
        m_selectionPresent = CheckSelection() ? 1 : 0;
        if (!m_selectionPresent && IsSelectedWhole(hit->m_kind) && !IsElementLocked(hit, false, 0, false)) {
            hit->m_selected = 1;
            if (hit->m_kind == kKindDiv || hit->m_kind == kKindForm || hit->m_kind == kKindFieldset
                || hit->m_kind == kKindCustom)
                hit->SelectAllChildren(true);
            m_selectionPresent = 1;
            m_caretEnabled = 0;
            m_caretElement = hit;
            if (hit->m_kind == kKindImg && !(m_owner && (m_owner->Options() & kNoImageHandlesOption))) {
                m_resizeState = 1;
                m_handleElement = hit;
            }
            madeNow = true;
            changed = true;
        }
        if (m_selectionPresent) {
            m_pressInSelection = m_root->IsCursorInsideSelection(point) ? 1 : 0;
            if (m_pressInSelection && !madeNow) {
                if (!IsDraggedAsElement(hit->m_kind))
                    m_textDrag = 1;
                return StartSelectionDrag();
            }
            if (m_pressInSelection) {
                DrawDoc(1);
            } else {
                m_root->CleanSelection(true);
                if (m_resizeState) {
                    m_resizeState = 0;
                    m_handleElement = nullptr;
                    DrawDoc(2);
                }
                Redraw();
                m_selectionPresent = 0;
                changed = true;
            }
        } else {
            m_pressInSelection = 0;
        }
        if (m_cellMarkMode) {
            m_root->CleanMark();
            m_cellMarkMode = 0;
            m_selectedCellCount = 0;
            m_markedTable = nullptr;
            changed = true;
        }
        if (!m_selectionPresent) {
            // The caret shows again once no selection hides it.
            m_caretEnabled = CaretShownWith(Control());
            SetKeyToPosition(point, 2);
        } else
            m_caretEnabled = 0;
        if (changed) {
            DrawDoc(2);
            Redraw();
        }
        return changed;
    } catch (...) {
        WriteExcpInfo("LButtonDown");
        return false;
    }
}

bool CXDoc::StartSelectionDrag()
{
    CSafeBuf markup;
    bool inPre = false;
    GetSelectionCode(markup, 2, &inPre);
    qm::dnd::DragSession drag;
    drag.AddFlavor(kDragItem, kFlavorEditorMarkup, static_cast<const unsigned short*>(markup),
        static_cast<std::size_t>(markup.Length()) * sizeof(unsigned short));
    unsigned char token[4];
    for (int i = 0; i < 4; ++i)
        token[i] = static_cast<unsigned char>(m_dragToken >> (8 * i));
    drag.AddFlavor(kDragItem, kFlavorEditorTag, token, sizeof token);
    if (!markup.IsEmpty()) {
        CSafeBuf text;
        SelectionPlainText(markup, CSafeBuf(), m_owner, text, inPre);
        drag.AddFlavor(kDragItem, kFlavorUnicodeText, static_cast<const unsigned short*>(text),
            static_cast<std::size_t>(text.Length()) * sizeof(unsigned short));
    }
    drag.Track();
    // A drop that moved the selection away leaves none: the press is over.
    if (m_selectionPresent)
        return false;
    m_caretEnabled = CaretShownWith(Control());
    m_caretPhase = 1;
    m_textDrag = 0;
    OnLButtonUp(0, CPoint(0, 0));
    return false;
}

bool CXDoc::MouseMove(unsigned int flags, CPoint point)
{
    if (!m_root)
        return false;
    try {
        point.x += m_scrollX;
        point.y += m_scrollY;
        if (m_resizeState >= 2 && ResizingAllowed()) {
            if (flags & kButtonHeld) {
                DrawResizeBorder(point);
            } else {
                // The button went up unseen: the resize is dropped.
                HideTooltip(true);
                const bool image = m_handleElement && m_handleElement->m_kind == kKindImg;
                m_resizeState = image ? 1 : 0;
                if (!image)
                    m_handleElement = nullptr;
            }
            return true;
        }
        if ((flags & kButtonHeld) && m_dragSelectMode) {
            // A press inside the selection drags it from the press instead.
            if (!m_pressInSelection)
                ProcessSelectionFrom(point);
            return false;
        }
        CElement* hit = m_root->WhereCursorOn(point);
        bool redraw = false;
        if (hit != m_pointerElement && IsInTree(m_pointerElement))
            redraw = m_pointerElement->MouseLeaveElement(point) != 0;
        if (!(flags & kButtonHeld) && TrackImageHandles(hit, point)) {
            if (m_root->MouseMove(flags, point) != 0 || redraw)
                Redraw();
            return true;
        }
        bool reacts = false;
        if (hit) {
            if (hit != m_pointerElement || IsTableLike(hit->m_kind)) {
                m_pointerElement = hit;
                if (hit->MouseEnterElement(point) && IsTableLike(hit->m_kind)) {
                    DrawDoc(2);
                    redraw = true;
                }
            }
            int shape = hit->MouseCursorType(point);
            if (shape != 0 && shape != 2 && shape != 3 && shape != 4)
                shape = m_pointerShape;
            if (m_selectionPresent && m_root->IsCursorInsideSelection(point))
                shape = 0;
            SetPointerShape(shape);
            reacts = shape != 0;
        }
        redraw = m_root->MouseMove(flags, point) != 0 || redraw;
        if (redraw)
            Redraw();
        return reacts;
    } catch (...) {
        WriteExcpInfo("MouseMove");
        return false;
    }
}

void CXDoc::OnLButtonUp(unsigned int, CPoint point)
{
    m_dragSelectMode = 0;
    try {
        if (CommitResize()) {
            // The press was on a handle: nothing else ends with it.
        } else if (m_root && m_selectionPresent && m_textDrag) {
            CleanSelection();
            DrawDoc(1);
            Redraw();
            m_caretEnabled = CaretShownWith(Control());
            SetKeyToPosition(CPoint(point.x + m_scrollX, point.y + m_scrollY), 0);
        }
    } catch (...) {
        WriteExcpInfo("OnLButtonUp");
    }
    m_textDrag = 0;
}
