#include "source_view/SourceText.h"

#include <algorithm>

namespace {

bool IsLowSurrogate(unsigned short c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(unsigned short c) { return c >= 0xD800 && c <= 0xDBFF; }

// The columns a unit takes when it starts at column col.
int UnitColumns(unsigned short c, int col)
{
    if (c == '\t')
        return CSourceText::kTabColumns - col % CSourceText::kTabColumns;
    return IsLowSurrogate(c) ? 0 : 1;
}

} // namespace

CSourceText::CSourceText() { Assign(nullptr, 0); }

void CSourceText::Assign(const unsigned short* text, int length)
{
    m_text.assign(text, text + (text && length > 0 ? length : 0));
    m_lineStarts.clear();
    ScanLines(0, Length(), true, m_lineStarts);
    Relayout();
}

void CSourceText::SetWrapColumns(int columns)
{
    columns = std::max(0, columns);
    if (columns == m_wrapColumns)
        return;
    m_wrapColumns = columns;
    Relayout();
}

void CSourceText::Relayout()
{
    m_rowStarts.clear();
    RowsOfLines(m_lineStarts, m_rowStarts);
}

void CSourceText::ScanLines(int from, int to, bool toEnd, std::vector<int>& starts) const
{
    starts.push_back(from);
    const unsigned short* t = m_text.data();
    for (int i = from; i < to; ++i) {
        const unsigned short c = t[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < Length() && t[i + 1] == '\n')
            ++i;
        // A start at `to` belongs to the lines after the range, but for the
        // empty last line of a text that ends with a break.
        if (i + 1 < to || (toEnd && i + 1 == to))
            starts.push_back(i + 1);
    }
}

void CSourceText::WrapLine(int start, int end, std::vector<int>& rows) const
{
    rows.push_back(start);
    if (m_wrapColumns <= 0)
        return;
    const unsigned short* t = m_text.data();
    int rowStart = start;
    int col = 0;
    int afterBlank = -1; // the position after the row's last blank
    for (int i = start; i < end; ++i) {
        const unsigned short c = t[i];
        const bool blank = c == ' ' || c == '\t';
        const int w = UnitColumns(c, col);
        // Blanks may hang past the row's end; anything else starts a new row.
        if (!blank && w > 0 && col + w > m_wrapColumns && i > rowStart) {
            rowStart = afterBlank > rowStart ? afterBlank : i;
            rows.push_back(rowStart);
            afterBlank = -1;
            col = 0;
            for (int k = rowStart; k < i; ++k)
                col += UnitColumns(t[k], col);
        }
        col += UnitColumns(c, col);
        if (blank)
            afterBlank = i + 1;
    }
}

void CSourceText::RowsOfLines(const std::vector<int>& lineStarts, std::vector<int>& rows) const
{
    // The line table is up to date when this runs.
    for (const int start : lineStarts)
        WrapLine(start, LineEnd(LineOf(start)), rows);
}

int CSourceText::Replace(int pos, int count, const unsigned short* text, int length)
{
    pos = std::clamp(pos, 0, Length());
    count = std::clamp(count, 0, Length() - pos);
    if (!text || length < 0)
        length = 0;

    // The lines touched, one more on each side: an edit may join a CR with
    // an LF across its edges.
    const int firstLine = std::max(0, LineOf(pos) - 1);
    const int lastLine = LineOf(pos + count) + 1;
    const bool toEnd = lastLine + 1 >= LineCount();
    const int from = m_lineStarts[firstLine];
    const int oldTo = toEnd ? Length() : m_lineStarts[lastLine + 1];
    const int delta = length - count;

    m_text.erase(m_text.begin() + pos, m_text.begin() + pos + count);
    m_text.insert(m_text.begin() + pos, text, text + length);

    const int newTo = toEnd ? Length() : oldTo + delta;
    std::vector<int> lines;
    ScanLines(from, newTo, toEnd, lines);
    const auto lineEnd = toEnd ? m_lineStarts.end() : m_lineStarts.begin() + lastLine + 1;
    for (auto it = lineEnd; it != m_lineStarts.end(); ++it)
        *it += delta;
    const auto lineAt = m_lineStarts.erase(m_lineStarts.begin() + firstLine, lineEnd);
    m_lineStarts.insert(lineAt, lines.begin(), lines.end());

    const auto rowBegin = std::lower_bound(m_rowStarts.begin(), m_rowStarts.end(), from);
    const auto rowEnd = toEnd ? m_rowStarts.end() : std::lower_bound(rowBegin, m_rowStarts.end(), oldTo);
    for (auto it = rowEnd; it != m_rowStarts.end(); ++it)
        *it += delta;
    const auto rowAt = m_rowStarts.erase(rowBegin, rowEnd);
    std::vector<int> rows;
    RowsOfLines(lines, rows);
    m_rowStarts.insert(rowAt, rows.begin(), rows.end());
    return pos + length;
}

int CSourceText::LineStart(int line) const
{
    if (line <= 0)
        return 0;
    return line < LineCount() ? m_lineStarts[line] : Length();
}

int CSourceText::LineEnd(int line) const
{
    if (line < 0)
        line = 0;
    if (line + 1 >= LineCount())
        return Length();
    const int next = m_lineStarts[line + 1];
    return next >= 2 && m_text[next - 2] == '\r' && m_text[next - 1] == '\n' ? next - 2 : next - 1;
}

int CSourceText::LineOf(int pos) const
{
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
    return std::max(0, static_cast<int>(it - m_lineStarts.begin()) - 1);
}

int CSourceText::RowStart(int row) const
{
    if (row <= 0)
        return 0;
    return row < RowCount() ? m_rowStarts[row] : Length();
}

int CSourceText::RowEnd(int row) const
{
    row = std::clamp(row, 0, RowCount() - 1);
    const int lineEnd = LineEnd(LineOf(m_rowStarts[row]));
    if (row + 1 < RowCount() && m_rowStarts[row + 1] <= lineEnd)
        return m_rowStarts[row + 1];
    return lineEnd;
}

int CSourceText::RowOf(int pos) const
{
    const auto it = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), pos);
    return std::max(0, static_cast<int>(it - m_rowStarts.begin()) - 1);
}

bool CSourceText::RowStartsLine(int row) const
{
    const int start = RowStart(row);
    return start == 0 || IsBreak(start - 1);
}

int CSourceText::ColumnOf(int pos) const
{
    pos = std::clamp(pos, 0, Length());
    return ColumnFrom(RowStart(RowOf(pos)), pos);
}

int CSourceText::ColumnFrom(int from, int pos) const
{
    pos = std::clamp(pos, 0, Length());
    int col = 0;
    for (int i = std::max(0, from); i < pos; ++i)
        col += UnitColumns(m_text[i], col);
    return col;
}

int CSourceText::PosAtColumn(int row, int column) const
{
    row = std::clamp(row, 0, RowCount() - 1);
    const int end = RowEnd(row);
    int col = 0;
    int i = RowStart(row);
    while (i < end) {
        const int w = UnitColumns(m_text[i], col);
        // Past the middle of a unit: the position after it.
        if (col + w > column) {
            if (column * 2 >= col * 2 + w)
                i = NextPos(i);
            break;
        }
        col += w;
        ++i;
    }
    if (i < Length() && IsLowSurrogate(At(i)) && IsHighSurrogate(At(i - 1)))
        --i;
    return std::min(i, end);
}

int CSourceText::NextPos(int pos) const
{
    if (pos >= Length())
        return Length();
    if (At(pos) == '\r' && At(pos + 1) == '\n')
        return pos + 2;
    if (IsHighSurrogate(At(pos)) && IsLowSurrogate(At(pos + 1)))
        return pos + 2;
    return pos + 1;
}

int CSourceText::PreviousPos(int pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && At(pos - 2) == '\r' && At(pos - 1) == '\n')
        return pos - 2;
    if (pos >= 2 && IsHighSurrogate(At(pos - 2)) && IsLowSurrogate(At(pos - 1)))
        return pos - 2;
    return pos - 1;
}
