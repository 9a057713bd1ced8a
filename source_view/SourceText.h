#pragma once
// CSourceText: the markup source view's text and its rows.
//
// The text is held as one growable array of UTF-16 units, with no limit on
// its length or on the length of a line. Logical lines end at CR LF, LF or a
// lone CR (the break belongs to the line it ends); a text that ends with a
// break has an empty last line. Each logical line is shown as one or more
// rows: one without word wrap, or as many as it needs to fit a number of
// columns with word wrap (a row breaks after the last blank that fits, or
// inside a word that alone is wider than the row).
//
// Columns: a tab moves to the next multiple of kTabColumns, the second unit
// of a surrogate pair takes none, every other unit one.
//
// Edits (Replace) re-scan only the lines they touch and shift the rest, so a
// keystroke in a megabyte of text costs a pass over the tables of line and
// row starts, not over the text.

#include <vector>

class CSourceText
{
public:
    static constexpr int kTabColumns = 4;

    CSourceText();

    // Replaces the whole text.
    void Assign(const unsigned short* text, int length);
    // Replaces count units at pos by length units of text (pos and count are
    // cut to the text). Answers the position after the inserted text.
    int Replace(int pos, int count, const unsigned short* text, int length);

    int Length() const { return static_cast<int>(m_text.size()); }
    const unsigned short* Data() const { return m_text.data(); }
    // The unit at i; 0 outside the text.
    unsigned short At(int i) const { return i >= 0 && i < Length() ? m_text[i] : 0; }

    // Word wrap at a number of columns; 0 turns it off. Rows are laid out again.
    void SetWrapColumns(int columns);
    int WrapColumns() const { return m_wrapColumns; }

    // ---- logical lines ----
    int LineCount() const { return static_cast<int>(m_lineStarts.size()); }
    int LineStart(int line) const;
    // The end of the line's text, before its break.
    int LineEnd(int line) const;
    // The line that holds pos (a position at a line's start belongs to it).
    int LineOf(int pos) const;

    // ---- rows ----
    int RowCount() const { return static_cast<int>(m_rowStarts.size()); }
    int RowStart(int row) const;
    // The end of the row's text: before the line's break on a line's last
    // row, else the next row's start.
    int RowEnd(int row) const;
    int RowOf(int pos) const;
    // Whether the row is the first of its logical line.
    bool RowStartsLine(int row) const;

    // The column of pos within its row, and the position in a row nearest
    // a column (never past the row's end).
    int ColumnOf(int pos) const;
    // The column of pos counted from from (a row's start at or before pos).
    int ColumnFrom(int from, int pos) const;
    int PosAtColumn(int row, int column) const;

    // Whether a line break (CR or LF) is at i.
    bool IsBreak(int i) const
    {
        const unsigned short c = At(i);
        return c == '\r' || c == '\n';
    }
    // Steps over one unit, or a whole CR LF pair or surrogate pair.
    int NextPos(int pos) const;
    int PreviousPos(int pos) const;

private:
    // The line starts found in [from, to), where from is a line start; with
    // toEnd (to is the text's end) also the start of an empty last line.
    void ScanLines(int from, int to, bool toEnd, std::vector<int>& starts) const;
    // The row starts of the logical line [start, end) (end before the break).
    void WrapLine(int start, int end, std::vector<int>& rows) const;
    // The rows of the lines that start at lineStarts (in the line table).
    void RowsOfLines(const std::vector<int>& lineStarts, std::vector<int>& rows) const;
    void Relayout();

    std::vector<unsigned short> m_text;
    std::vector<int> m_lineStarts; // ascending, first 0
    std::vector<int> m_rowStarts;  // ascending, first 0; every line start is one
    int m_wrapColumns = 0;
};
