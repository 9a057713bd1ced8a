// Drag and drop in the markup source view. The view's own drags carry the
// editor's token ('QMD1') beside the text ('utxt'); a drop compares the
// token with its own to tell a move from a copy.

#include "source_view/ColoringEditor.h"

#include "base/shims/Pasteboard.h"
#include "platform/dnd/DragSession.h"

bool CColoringEditor::MoveDrag(CPoint point)
{
    const int pos = PosFromPoint(point);
    m_dropCaret = pos;
    m_caretHidden = true;
    Redraw();
    // Inside the selection being dragged (its edges are fine).
    return m_dragging && pos > m_dragStart && pos < m_dragEnd;
}

void CColoringEditor::HideDragCursor(bool showCaret)
{
    m_dropCaret = -1;
    if (showCaret)
        m_caretHidden = false;
    Redraw();
}

bool CColoringEditor::DragTextTo(const unsigned short* text, bool own)
{
    int length = 0;
    while (text && text[length])
        ++length;
    int at = m_dropCaret >= 0 ? m_dropCaret : m_caret;
    m_dropCaret = -1;
    m_caretHidden = false;
    if (length == 0)
        return false;
    SourceUndoStep step;
    step.anchorBefore = m_anchor;
    step.caretBefore = m_caret;
    m_undo.BreakTyping();
    if (own && m_dragging && m_dragEnd > m_dragStart) {
        if (at > m_dragStart && at < m_dragEnd)
            return false; // onto itself
        const int count = m_dragEnd - m_dragStart;
        ApplyEdit(step, m_dragStart, count, nullptr, 0);
        if (at >= m_dragEnd)
            at -= count;
        m_dragEnd = m_dragStart; // moved: nothing is left to remove
    }
    at = std::clamp(at, 0, m_text.Length());
    ApplyEdit(step, at, 0, text, length);
    SetSelection(at, at + length);
    Commit(step, false);
    return true;
}

bool CColoringEditor::ReceiveDrop(qm::dnd::DragSession& drag, CPoint point)
{
    qm::dnd::DragItemRef item = 0;
    if (!drag.GetItemReference(1, item))
        return false;
    const bool refused = MoveDrag(point);
    CSafeBuf text;
    if (refused || !GetDragData(&drag, item, kFlavorUnicodeText, &text, nullptr) || text.IsEmpty()) {
        HideDragCursor(true);
        return false;
    }
    unsigned char token[4] = {0, 0, 0, 0};
    const bool tagged = GetDragData(&drag, item, kFlavorEditorTag, token, nullptr);
    std::uint32_t theirs = 0;
    for (int i = 0; i < 4; ++i)
        theirs |= static_cast<std::uint32_t>(token[i]) << (8 * i);
    return DragTextTo(text, tagged && theirs == m_dragToken);
}

int CColoringEditor::StartDrag()
{
    if (!HasSelection())
        return -1;
    qm::dnd::DragSession drag;
    unsigned char token[4];
    for (int i = 0; i < 4; ++i)
        token[i] = static_cast<unsigned char>(m_dragToken >> (8 * i));
    drag.AddFlavor(1, kFlavorEditorTag, token, sizeof token);
    const int start = SelectionStart();
    drag.AddFlavor(1, kFlavorUnicodeText, m_text.Data() + start,
        static_cast<std::size_t>(SelectionEnd() - start) * sizeof(unsigned short));
    m_dragging = true;
    m_dragStart = start;
    m_dragEnd = SelectionEnd();
    const int result = drag.Track();
    m_dragging = false;
    HideDragCursor(true);
    return result;
}
