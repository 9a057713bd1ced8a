#include "source_view/SourceUndo.h"

void CSourceUndo::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_units = 0;
}

std::size_t CSourceUndo::Units(const SourceUndoStep& step)
{
    std::size_t n = 0;
    for (const SourceEdit& edit : step.edits)
        n += edit.removed.size() + edit.inserted.size();
    return n;
}

void CSourceUndo::Trim()
{
    while (m_undo.size() > kMaxSteps || (m_units > kMaxUnits && m_undo.size() > 1)) {
        m_units -= Units(m_undo.front());
        m_undo.pop_front();
    }
}

void CSourceUndo::BreakTyping()
{
    if (!m_undo.empty())
        m_undo.back().typing = false;
}

void CSourceUndo::Push(SourceUndoStep step)
{
    for (const SourceUndoStep& undone : m_redo)
        m_units -= Units(undone);
    m_redo.clear();
    if (step.typing && step.edits.size() == 1 && step.edits[0].removed.empty() && !m_undo.empty()) {
        SourceUndoStep& last = m_undo.back();
        if (last.typing && last.edits.size() == 1) {
            SourceEdit& edit = last.edits[0];
            const SourceEdit& next = step.edits[0];
            if (next.pos == edit.pos + static_cast<int>(edit.inserted.size())) {
                edit.inserted.insert(edit.inserted.end(), next.inserted.begin(), next.inserted.end());
                m_units += next.inserted.size();
                last.anchorAfter = step.anchorAfter;
                last.caretAfter = step.caretAfter;
                return;
            }
        }
    }
    m_units += Units(step);
    m_undo.push_back(std::move(step));
    Trim();
}

const SourceUndoStep* CSourceUndo::TakeUndo()
{
    if (m_undo.empty())
        return nullptr;
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    m_redo.back().typing = false;
    return &m_redo.back();
}

const SourceUndoStep* CSourceUndo::TakeRedo()
{
    if (m_redo.empty())
        return nullptr;
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    return &m_undo.back();
}
