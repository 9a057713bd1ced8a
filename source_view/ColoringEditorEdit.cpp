// Editing primitives, the clipboard commands and the undo history of the
// markup source view.

#include "source_view/ColoringEditor.h"

#include "base/shims/Pasteboard.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

namespace {

const char* const kTextFlavor = "public.utf16-plain-text";

} // namespace

void CColoringEditor::ApplyEdit(
    SourceUndoStep& step, int pos, int count, const unsigned short* text, int length)
{
    SourceEdit edit;
    edit.pos = pos;
    edit.removed.assign(m_text.Data() + pos, m_text.Data() + pos + count);
    if (text && length > 0)
        edit.inserted.assign(text, text + length);
    m_text.Replace(pos, count, text, length);
    step.edits.push_back(std::move(edit));
}

void CColoringEditor::Commit(SourceUndoStep& step, bool typing)
{
    step.anchorAfter = m_anchor;
    step.caretAfter = m_caret;
    step.typing = typing;
    m_undo.Push(std::move(step));
    m_goalColumn = -1;
    ScrollToCaret();
    Redraw();
}

bool CColoringEditor::ReplaceSelection(const unsigned short* text, int length, bool typing)
{
    if (!text)
        length = 0;
    const int start = SelectionStart();
    const int count = SelectionEnd() - start;
    if (count == 0 && length <= 0)
        return false;
    SourceUndoStep step;
    step.anchorBefore = m_anchor;
    step.caretBefore = m_caret;
    ApplyEdit(step, start, count, text, length);
    m_anchor = m_caret = start + std::max(0, length);
    Commit(step, typing && count == 0);
    return true;
}

void CColoringEditor::ApplyStep(const SourceUndoStep& step, bool undo)
{
    if (undo) {
        for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it)
            m_text.Replace(it->pos, static_cast<int>(it->inserted.size()), it->removed.data(),
                static_cast<int>(it->removed.size()));
        SetSelection(step.anchorBefore, step.caretBefore);
    } else {
        for (const SourceEdit& edit : step.edits)
            m_text.Replace(edit.pos, static_cast<int>(edit.removed.size()), edit.inserted.data(),
                static_cast<int>(edit.inserted.size()));
        SetSelection(step.anchorAfter, step.caretAfter);
    }
    m_markedStart = -1;
    m_markedLength = 0;
    m_goalColumn = -1;
    ScrollToCaret();
    Redraw();
}

void CColoringEditor::OnUndo()
{
    if (const SourceUndoStep* step = m_undo.TakeUndo())
        ApplyStep(*step, true);
}

void CColoringEditor::OnRedo()
{
    if (const SourceUndoStep* step = m_undo.TakeRedo())
        ApplyStep(*step, false);
}

void CColoringEditor::InitUndo() { m_undo.Clear(); }

void CColoringEditor::CopySelection() const
{
    qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
    board.Clear();
    const int start = SelectionStart();
    const std::size_t bytes = static_cast<std::size_t>(SelectionEnd() - start) * sizeof(unsigned short);
    board.PutItemFlavor(1, kTextFlavor, m_text.Data() + start, bytes);
}

void CColoringEditor::OnCopy()
{
    if (HasSelection())
        CopySelection();
}

void CColoringEditor::OnCut()
{
    if (!HasSelection())
        return;
    CopySelection();
    ReplaceSelection(nullptr, 0, false);
}

void CColoringEditor::OnPaste()
{
    CSafeBuf text;
    if (!GetClipboardString(kTextFlavor, text, true))
        return;
    m_undo.BreakTyping();
    ReplaceSelection(text, text.Length(), false);
}
