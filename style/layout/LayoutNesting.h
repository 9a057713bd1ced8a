#pragma once
// How deep the layout operations are nested, and which layout pass is
// running.
//
// The layout pass descends the tree by recursion: an element lays out each
// child (CalculateReg) inside its own CalcWinReg. Markup is read with the
// parser's depth bound (about 256 levels), but edits can nest further, so
// every operation that descends holds a LayoutNesting for its element:
// past kMaxLayoutNesting levels the element is left empty (no size, its
// children not laid out) instead of descending further. The stack then stays
// bounded at any tree depth.
//
// A pass begins when the outermost operation starts and ends when it
// returns. Floats placed during the pass carry its number (Lay().m_layoutPass), so
// that the content after a float can tell whether the float has already
// been placed in this pass. A pass that began at the root lays out the whole
// tree; any other covers only part of it.

class CElement;

// Nested layout calls allowed: two per tree level (CalculateReg and
// CalcWinReg), so about 600 levels of elements.
constexpr int kMaxLayoutNesting = 1200;

class LayoutNesting
{
public:
    explicit LayoutNesting(const CElement* e);
    ~LayoutNesting();
    LayoutNesting(const LayoutNesting&) = delete;
    LayoutNesting& operator=(const LayoutNesting&) = delete;

    // Past the nesting bound: the caller leaves its element empty.
    bool TooDeep() const { return m_tooDeep; }

    // The running pass (0 when none runs) and whether it began at the root.
    static unsigned long CurrentPass();
    static bool PassFromRoot();

private:
    bool m_tooDeep;
};
