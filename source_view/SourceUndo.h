#pragma once
// CSourceUndo: the markup source view's own undo and redo history.
//
// A step is a list of replacements of the text (position, the units
// removed, the units inserted) with the caret and selection before and
// after, so undoing a keystroke in a long text keeps only that keystroke.
// Typing one character after another at the caret makes one step until a
// line break is typed or the caret moves elsewhere. A new step empties the
// redo list; the oldest steps go when there are more than kMaxSteps, or
// when the steps hold more than kMaxUnits units of text between them (the
// last step always stays).

#include <cstddef>
#include <deque>
#include <vector>

struct SourceEdit
{
    int pos = 0;
    std::vector<unsigned short> removed;
    std::vector<unsigned short> inserted;
};

struct SourceUndoStep
{
    std::vector<SourceEdit> edits; // applied in order
    int anchorBefore = 0;
    int caretBefore = 0;
    int anchorAfter = 0;
    int caretAfter = 0;
    bool typing = false; // may take the next typed character
};

class CSourceUndo
{
public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxUnits = std::size_t(1) << 24;

    void Clear();
    // Adds a step (a typing step may join the last one); empties the redo list.
    void Push(SourceUndoStep step);
    // Ends the current typing step, so the next keystroke starts a new one.
    void BreakTyping();

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // Moves the last step to the redo list and answers it (null when none).
    const SourceUndoStep* TakeUndo();
    // Moves the last undone step back to the undo list (null when none).
    const SourceUndoStep* TakeRedo();

    std::size_t UndoCount() const { return m_undo.size(); }

private:
    std::deque<SourceUndoStep> m_undo;
    std::deque<SourceUndoStep> m_redo;
    std::size_t m_units = 0; // held by both lists

    static std::size_t Units(const SourceUndoStep& step);
    void Trim();
};
