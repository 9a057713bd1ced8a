#pragma once
// How deep among tables the table being laid out stands, and what the deep
// tables laid out inside one another share.
//
// A table up to kFullLayoutDepth deep measures its cells by laying them out
// at the width it offers, then lays them out again at their boxes' widths,
// as often as its columns change: a table nested in a cell is laid out at
// least twice for each layout of the table around it. Deeper tables would
// make that work grow exponentially with the depth, so a deep table
// measures its cells once per layout pass, at the width the deep table
// around it measured at (the first deep table: its own measuring width):
// while it measures, the tables inside its cells only measure too (they
// take their natural width without laying out their rows), and it keeps
// the measured widths for the rest of the pass. Each table is then measured
// once and laid out once for each layout of the first deep table above it,
// in time linear in the depth.

class CElement;

constexpr int kFullLayoutDepth = 3;

struct TableNesting
{
    int depth = 0;          // tables being laid out, the innermost included
    bool measuring = false; // a deep table is measuring its cells
    int measureWidth = -1;  // the width the innermost deep table measures at (-1: none)
};

// Entered for each table laid out or measured; the state it found is back
// when it ends (normally or by an exception).
class TableNestingScope
{
public:
    // One table deeper than the one laid out around it; the first of a
    // layout counts the tables it stands in.
    explicit TableNestingScope(const CElement* table);
    ~TableNestingScope();
    TableNestingScope(const TableNestingScope&) = delete;
    TableNestingScope& operator=(const TableNestingScope&) = delete;

    static TableNesting& Current();
    bool Deep() const { return Current().depth > kFullLayoutDepth; }

private:
    TableNesting m_saved;
};

// The table and the tables it stands in, counted up its ancestors.
int TableDepth(const CElement* table);

// A table's requested width (CTableElement::m_requestedWidth) counts for
// its next layout only: each table laid out or measured with one is
// counted, so that a layout around it is not kept for later ones.
void NoteRequestedWidthTaken();
unsigned long RequestedWidthsTaken();
