// Table layout: the grid's column widths, the cells' boxes, and the rows and
// caption stacked.
//
// The model. S is the cell spacing. Every grid column has a width that
// includes one spacing (the gap after it), so a cell spanning columns a..b
// is as wide as their widths less one S, and a row's cells stand at the
// running sum of the widths before their column. The table is its left
// border, S, the columns, S and its right border wide; rows stand one S
// apart, with S above the first and below the last.
//
// A run (TableLayout::Run), one named step each:
//   CollectRows         the rows (direct and in row groups), their cells and
//                       the grid's extent;
//   ValidateTableWidth  the width the table wants from its own width (in
//                       pixels or a percentage of its container) or a
//                       requested one, and the width offered to the cells
//                       while they are measured;
//   MeasureCells        every cell laid out without a box, at that width,
//                       which gives its natural size;
//   GetTableInfo        per row (GetRowInfo) each column takes the widest
//                       natural width among its cells without span, a cell
//                       with a width of its own marks its column; then the
//                       spanning cells share what they need more among the
//                       columns they cover that have no width of their own;
//   WidthWanted         the table's width, else the natural one held within
//                       the container, at least the caption's;
//   Fit                 the free columns widened by their weight, or the
//                       columns shrunk towards their minimum widths;
//   AssignWidth         every cell given its box and laid out in it, then
//                       GetMaxHeight (a row-spanning cell taller than its
//                       rows makes the last of them taller) and AssignWidth
//                       again with the heights; a cell whose content is wider
//                       than its box widens its column (WidenOverflows), and
//                       Fit and the assignment run again, at most 19 times;
//   FinalCalc           the rows and the caption stacked and each row group
//                       fitted around its rows.
// The cells' own width and height values are never rewritten during a run
// (a table narrower than its cells' widths shrinks their columns instead),
// so no step has to put them back afterwards (RestoreInvlidWidth has nothing
// to do here).
//
// A cell's content is laid out again only when its box width changes, so a
// table nested in a cell is laid out when it is measured and once more for
// each width its cell takes. Tables deeper than kFullLayoutDepth measure
// their cells once a pass and lay them out once (TableNesting.h): they take
// their content's natural widths, held within their container as any
// table's, but no column widens for content wider than its box.

#include "elements/TableElement.h"

#include "element/EffectiveValues.h"
#include "elements/TBodyElement.h"
#include "elements/TDElement.h"
#include "elements/TRElement.h"
#include "elements/TableNesting.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kMaxPasses = 19;

struct CellRec
{
    CTDElement* cell;
    int col;
    int span;
    int rowSpan;
    int assigned;
    // The content width the cell was measured at in this run (-1: not laid
    // out then), and whether its lines hold at any narrower width that
    // still holds its widest line (InlineOnly).
    int measuredWidth;
    bool linesHold;
};

// The cell's content is text and inline elements only (line breaks
// included) that its last layout put on lines without cutting any of them:
// no blocks, floats, pictures or widths of their own, no text indent or
// right-to-left lines. Each of its lines then ends where a forced break
// stands or where the next element did not fit whole, so at a narrower width
// that still holds its widest line it makes the same lines.
bool InlineOnly(const CTDElement* cell)
{
    if (cell->Lay().m_indent.x != 0 || cell->Style().rtl)
        return false;
    for (const CElement* e = cell->m_firstChild; e;) {
        if (WrapStateOf(e) != 0)
            return false;
        if (e->m_kind != kKindText) {
            const ELEMENT_STYLE& s = e->Style();
            if (!e->m_inline || LaysOutAsBlock(e) || StandsOnOwnLine(e) || e->IsFloatType()
                || e->m_kind == kKindImg || e->m_kind == kKindCustom || s.rtl || (s.widthSet && s.width > 0)
                || (s.heightSet && s.height > 0))
                return false;
        }
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != cell && !e->m_nextSibling)
            e = e->m_parent;
        e = e == cell ? nullptr : e->m_nextSibling;
    }
    return true;
}

struct RowRec
{
    CElement* row;
    std::vector<CellRec> cells;
};

class TableLayout
{
public:
    TableLayout(CTableElement* table, void* dc, CalcInfo* info);
    void Run();
    // Measuring inside a deep table's cell: the table's box takes its
    // natural width; its rows and cells are not laid out.
    void Measure();
    bool Quick(CTDElement* cell);

private:
    void SizeColumns();
    void CollectRows();
    void ValidateTableWidth();
    int DeepMeasureWidth() const;
    void MeasureCells();
    bool MeasuredThisPass() const;
    void GetTableInfo();
    void GetRowInfo(const RowRec& row, long base);
    void SpreadSpanningCells();
    void WidthWanted();
    void Fit();
    void Widen(long excess);
    void Shrink(long need);
    void AssignWidthAndHeights();
    void AssignWidth(const std::vector<int>& heights, bool full);
    bool KeepsMeasuredLines(CellRec& c) const;
    void GetMaxHeight(std::vector<int>& heights) const;
    bool WidenOverflows();
    void FinalCalc();
    void Keep();
    int BoxHeightFor(size_t row, int rowSpan, const std::vector<int>& heights) const;
    bool Deep() const { return m_deep; }
    long Sum() const { return std::accumulate(m_colW.begin(), m_colW.end(), 0L) + m_S; }
    long GridWidth() const { return m_cols > 0 ? std::max<long>(0, Sum() - 2L * m_S) : 0; }
    long TableWidth() const;

    CTableElement* m_t;
    bool m_deep = false;
    void* m_dc;
    CalcInfo* m_info;
    std::vector<RowRec> m_rows;
    int m_cols = 0;
    int m_S = 0;
    BoxEdges m_border;
    int m_containerW = 0;
    int m_measureW = 0;
    long m_W = 0;
    std::vector<int> m_colW, m_state, m_minW;
    std::vector<int> m_heights;
    CElement* m_caption = nullptr;
};

TableLayout::TableLayout(CTableElement* table, void* dc, CalcInfo* info) : m_t(table), m_dc(dc), m_info(info)
{
    m_S = std::max<int>(0, table->Style().cellSpacing);
    CRect r;
    table->GetBorderRect(r, true);
    m_border.left = std::max<int>(0, ClampLength(r.left));
    m_border.top = std::max<int>(0, ClampLength(r.top));
    m_border.right = std::max<int>(0, ClampLength(r.right));
    m_border.bottom = std::max<int>(0, ClampLength(r.bottom));
    m_containerW = std::max<int>(0, ClampLength(table->Lay().m_containerRect.right));
    m_caption = table->GetFirstChildByType(kKindCaption);
}

void TableLayout::CollectRows()
{
    for (CElement* c = m_t->m_firstChild; c; c = c->m_nextSibling) {
        if (IsRowGroupKind(c->m_kind))
            EnsureGroupRow(c);
    }
    m_t->AssignTDIndex();
    int columns = 0, rowCount = 0;
    m_t->GetRowCol(columns, rowCount);
    std::vector<CElement*> rows, cells;
    TableRows(m_t, rows);
    m_rows.clear();
    m_cols = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        RowRec rec{rows[i], {}};
        RowCells(rows[i], cells);
        for (CElement* c : cells) {
            auto* cell = static_cast<CTDElement*>(c);
            // Held inside the grid: a column past the widest grid shares the
            // last one, a span stops at the grid's edge, a row span at the
            // last row.
            const int col = std::min(std::max(0, cell->m_columnIndex), kMaxLayoutColumns - 1);
            const int span = std::min(GridSpan(c->Style().colSpan), kMaxLayoutColumns - col);
            const int rowSpan
                = static_cast<int>(std::min<size_t>(GridSpan(c->Style().rowSpan), rows.size() - i));
            rec.cells.push_back(CellRec{cell, col, span, rowSpan, 0, -1, false});
            m_cols = std::max(m_cols, col + span);
        }
        m_rows.push_back(rec);
    }
}

// The width wanted W (0 when the table has none: its columns decide) and
// the width offered to the cells while they are measured.
void TableLayout::ValidateTableWidth()
{
    const ELEMENT_STYLE& s = m_t->Style();
    m_W = 0;
    bool relative = false;
    if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPercent) {
        m_W = static_cast<long long>(s.width) * m_containerW / 100;
        relative = true;
    } else if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPixels) {
        m_W = s.width;
    }
    if (m_W > 0)
        m_W = std::max<long>(0, m_W - m_border.Horizontal());
    if (m_t->m_requestedWidth != 0)
        NoteRequestedWidthTaken();
    if (m_t->m_requestedWidth - m_border.Horizontal() > m_W) {
        m_W = m_t->m_requestedWidth - m_border.Horizontal();
        relative = false;
    }
    m_measureW = static_cast<int>(m_W > 0 ? m_W : m_containerW);
    // Below the first deep table, a table without a width of its own
    // measures at the width the deep table around it measured at, whatever
    // its container: one measuring then serves each of its layouts.
    if (m_deep && TableNestingScope::Current().depth > kFullLayoutDepth + 1 && (m_W == 0 || relative))
        m_measureW = DeepMeasureWidth();
    if (m_deep)
        TableNestingScope::Current().measureWidth = m_measureW;
}

// The width of the deep table around, or (a layout that started at this
// table) the width this table measured at last.
int TableLayout::DeepMeasureWidth() const
{
    const int around = TableNestingScope::Current().measureWidth;
    if (around >= 0)
        return around;
    return m_t->m_measureWidth > 0 ? m_t->m_measureWidth : m_containerW;
}

// Every cell laid out without a box at the measuring width: its natural
// size. The caption likewise, at that width and the table's borders.
void TableLayout::MeasureCells()
{
    // A deep table measured once in this pass keeps what it measured.
    if (!Deep() || !MeasuredThisPass()) {
        // While a deep table measures, the tables in its cells only measure.
        TableNesting& nesting = TableNestingScope::Current();
        const bool measuring = nesting.measuring;
        nesting.measuring = Deep();
        for (RowRec& row : m_rows) {
            for (CellRec& c : row.cells) {
                c.cell->m_hasTableBox = false;
                c.cell->m_tableBox = CSize(0, 0);
                c.cell->Lay().m_containerRect = CRect(0, 0, m_measureW, 0);
            }
            row.row->CalculateReg(m_dc, m_info);
            for (CellRec& c : row.cells) {
                c.cell->m_natural = CSize(BoxWidth(c.cell), BoxHeight(c.cell));
                c.measuredWidth = static_cast<int>(c.cell->Lay().m_availRect.right);
                c.linesHold = InlineOnly(c.cell);
            }
        }
        nesting.measuring = measuring;
        m_t->m_measuredPass = LayoutNesting::CurrentPass();
        m_t->m_measuredAt = m_measureW;
    }
    if (Deep()) {
        // A deep table's caption counts by its minimum width.
        if (m_caption) {
            CSize least(0, 0);
            m_caption->GetMinSize(least, false);
            m_caption->Lay().m_sizeRect = CRect(0, 0, least.cx, 0);
        }
        return;
    }
    if (m_caption) {
        m_caption->Lay().m_position = CPoint(0, 0);
        GiveArea(m_caption, m_measureW + m_border.Horizontal(), 0, m_measureW, 0);
        m_t->m_measuringCaption = true;
        m_caption->CalculateReg(m_dc, m_info);
        m_t->m_measuringCaption = false;
    }
}

bool TableLayout::MeasuredThisPass() const
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    return pass != 0 && m_t->m_measuredPass == pass && m_t->m_measuredAt == m_measureW;
}

// The column minimum widths, states and widths from the measured cells.
void TableLayout::GetTableInfo()
{
    m_minW.assign(m_cols, 0);
    m_t->GetTableCellMinWidth(m_minW);
    m_colW.assign(m_cols, m_S);
    m_state.assign(m_cols, 0);
    const long base = m_W > 0 ? m_W : m_containerW;
    for (const RowRec& row : m_rows)
        GetRowInfo(row, base);
    SpreadSpanningCells();
}

// One row's cells: a width of its own (pixels or a percentage of base)
// marks the column (state 1); a cell without span widens its column to its
// natural width (a percentage width counting as one) plus the spacing.
void TableLayout::GetRowInfo(const RowRec& row, long base)
{
    for (const CellRec& c : row.cells) {
        const ELEMENT_STYLE& s = c.cell->Style();
        // Never narrower than the cell's minimum (floats, for one, may
        // need more than its measured lines).
        long width = std::max<long>(c.cell->m_natural.cx, c.cell->m_minSize.cx);
        if (s.widthSet && s.width > 0 && (s.widthUnit == kUnitPixels || s.widthUnit == kUnitPercent)) {
            m_state[c.col] = 1;
            if (s.widthUnit == kUnitPercent)
                width = std::max<long>(width, static_cast<long long>(s.width) * base / 100 - m_S);
        }
        if (c.span == 1)
            m_colW[c.col] = std::max<long>(m_colW[c.col], AddCoord(width, m_S));
    }
}

// What spanning cells need beyond their columns goes to the columns without
// a width of their own, evenly, the remainder to the last.
void TableLayout::SpreadSpanningCells()
{
    for (RowRec& row : m_rows) {
        for (CellRec& c : row.cells) {
            if (c.span < 2)
                continue;
            long have = 0;
            std::vector<int> open;
            for (int k = c.col; k < c.col + c.span; ++k) {
                have += m_colW[k];
                if (m_state[k] != 1)
                    open.push_back(k);
            }
            const long need = AddCoord(c.cell->m_natural.cx, m_S);
            if (need <= have || open.empty())
                continue;
            const long each = (need - have) / static_cast<long>(open.size());
            for (int k : open)
                m_colW[k] = AddCoord(m_colW[k], each);
            m_colW[open.back()]
                = AddCoord(m_colW[open.back()], (need - have) - each * static_cast<long>(open.size()));
        }
    }
}

// Without a width of its own the table is as wide as its columns, held
// within its container; a caption wider than that widens it.
void TableLayout::WidthWanted()
{
    const long natural = Sum();
    if (m_W == 0) {
        m_W = natural;
        if (m_containerW > 0 && natural + m_border.Horizontal() > m_containerW)
            m_W = std::max(0, m_containerW - m_border.Horizontal());
    }
    if (m_caption && BoxWidth(m_caption) - m_border.Horizontal() > m_W)
        m_W = BoxWidth(m_caption) - m_border.Horizontal();
}

void TableLayout::Widen(long excess)
{
    std::vector<int> free;
    for (int k = 0; k < m_cols; ++k) {
        if (m_state[k] == 0)
            free.push_back(k);
    }
    if (free.empty()) {
        for (int k = 0; k < m_cols; ++k) {
            if (m_state[k] != 2)
                free.push_back(k);
        }
    }
    if (free.empty()) {
        for (int k = 0; k < m_cols; ++k)
            free.push_back(k);
    }
    if (free.empty())
        return;
    auto weight = [this](int k) { return std::max<long>(1, m_colW[k] - m_S); };
    long total = 0;
    for (int k : free)
        total += weight(k);
    long left = excess;
    for (int k : free) {
        const long share = excess * weight(k) / total;
        m_colW[k] = AddCoord(m_colW[k], share);
        left -= share;
    }
    for (size_t i = 0; left > 0 && i < free.size(); ++i, --left)
        m_colW[free[i]] = AddCoord(m_colW[free[i]], 1);
    m_colW[free.back()] = AddCoord(m_colW[free.back()], left);
}

void TableLayout::Shrink(long need)
{
    // Free columns first, then those with a width of their own; never a
    // column widened to fit its content, never below a minimum width.
    for (int state = 0; state <= 1 && need > 0; ++state) {
        long slack = 0;
        std::vector<int> cols;
        for (int k = 0; k < m_cols; ++k) {
            const long room = m_colW[k] - m_S - m_minW[k];
            if (m_state[k] == state && room > 0) {
                cols.push_back(k);
                slack += room;
            }
        }
        if (slack <= 0)
            continue;
        const long take = std::min(need, slack);
        long left = take;
        for (int k : cols) {
            const long share = take * (m_colW[k] - m_S - m_minW[k]) / slack;
            m_colW[k] -= static_cast<int>(share);
            left -= share;
        }
        for (size_t i = 0; left > 0 && i < cols.size(); ++i) {
            if (m_colW[cols[i]] - m_S - m_minW[cols[i]] > 0) {
                --m_colW[cols[i]];
                --left;
            }
        }
        need -= take - left;
    }
}

// The columns meet the width wanted: the spare width goes to the free
// columns (Widen), the excess comes off the columns above their minimum
// widths (Shrink).
void TableLayout::Fit()
{
    const long sum = Sum();
    if (m_cols == 0 || sum == m_W)
        return;
    if (sum < m_W)
        Widen(m_W - sum);
    else
        Shrink(sum - m_W);
}

int TableLayout::BoxHeightFor(size_t row, int rowSpan, const std::vector<int>& heights) const
{
    long h = heights[row];
    for (size_t k = row + 1; k < row + static_cast<size_t>(rowSpan) && k < heights.size(); ++k)
        h = AddCoord(h, static_cast<long>(m_S) + heights[k]);
    return static_cast<int>(h);
}

// Every cell gets its box: the widths of the columns it spans less one
// spacing, and (when heights are given) the heights of the rows it spans
// with the spacing between them; with full a cell whose box width changed
// is laid out again, otherwise only placed in its box. Each row follows.
void TableLayout::AssignWidth(const std::vector<int>& heights, bool full)
{
    std::vector<int>& x = m_t->m_columnX;
    x.assign(m_cols + 1, 0);
    for (int k = 0; k < m_cols; ++k)
        x[k + 1] = AddCoord(x[k], m_colW[k]);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        RowRec& row = m_rows[i];
        for (CellRec& c : row.cells) {
            c.assigned = std::max(0, x[c.col + c.span] - x[c.col] - m_S);
            c.cell->m_hasTableBox = true;
            c.cell->m_tableBox = CSize(c.assigned, heights.empty() ? 0 : BoxHeightFor(i, c.rowSpan, heights));
            c.cell->Lay().m_containerRect = CRect(0, 0, static_cast<int>(m_W), 0);
        }
        // A cell's content is laid out again only at a width it was not
        // last laid out at; otherwise it is only placed in its new box. The
        // heights come after the widths: the lines made then stay, and the
        // content is only aligned in the height.
        for (CellRec& c : row.cells) {
            if (full && c.cell->m_laidBoxWidth != c.assigned && !KeepsMeasuredLines(c)) {
                c.cell->CalculateReg(m_dc, m_info);
            } else {
                if (full || !c.cell->FitToBoxHeight())
                    c.cell->CalcWinReg(m_dc, true, false, m_info);
                HandleFinalWidth(c.cell);
            }
        }
        row.row->CalcWinReg(m_dc, true, false, m_info);
    }
}

// The cell was measured in this run, its content laid out last then, and
// its box holds its widest line within the measuring width: laying it out
// again in the box would make the same lines, so it is only placed there.
bool TableLayout::KeepsMeasuredLines(CellRec& c) const
{
    if (!c.linesHold || c.measuredWidth < 0 || c.cell->m_laidBoxWidth != -1 || Deep())
        return false;
    const CRect e = c.cell->GetEdges();
    const long content = static_cast<long>(c.assigned) - e.left - e.right;
    if (c.assigned < c.cell->m_natural.cx || content > c.measuredWidth)
        return false;
    c.cell->m_laidBoxWidth = c.assigned;
    return true;
}

// Each row's height: the tallest of its cells without row span.
void TableLayout::GetMaxHeight(std::vector<int>& heights) const
{
    heights.assign(m_rows.size(), 0);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        for (const CellRec& c : m_rows[i].cells) {
            if (c.rowSpan == 1)
                heights[i] = std::max(heights[i], c.cell->m_heightAtWidth);
        }
    }
    // The rows a spanning cell covers hold it, with their spacing.
    for (size_t i = 0; i < m_rows.size(); ++i) {
        for (const CellRec& c : m_rows[i].cells) {
            if (c.rowSpan < 2)
                continue;
            const int covered = BoxHeightFor(i, c.rowSpan, heights);
            const size_t last = i + c.rowSpan - 1;
            if (c.cell->m_heightAtWidth > covered)
                heights[last] = AddCoord(heights[last], c.cell->m_heightAtWidth - covered);
        }
    }
}

// The boxes' widths, then the rows' heights from the cells laid out at
// them, then the boxes again with those heights.
void TableLayout::AssignWidthAndHeights()
{
    AssignWidth(std::vector<int>(), true);
    for (RowRec& row : m_rows) {
        for (CellRec& c : row.cells)
            c.cell->m_heightAtWidth = BoxHeight(c.cell);
    }
    GetMaxHeight(m_heights);
    AssignWidth(m_heights, false);
}

// A cell whose content is wider than its box widens the last column it
// spans by the difference, which then keeps its width (state 2).
bool TableLayout::WidenOverflows()
{
    bool changed = false;
    for (RowRec& row : m_rows) {
        for (CellRec& c : row.cells) {
            const int width = BoxWidth(c.cell);
            if (width <= c.assigned)
                continue;
            const int last = c.col + c.span - 1;
            m_colW[last] = AddCoord(m_colW[last], width - c.assigned);
            m_state[last] = 2;
            changed = true;
        }
    }
    return changed;
}

// The rows stacked one spacing apart below the caption (or above one at the
// bottom), the table's box around them, and each row group fitted around its
// rows.
void TableLayout::FinalCalc()
{
    const int S = m_S;
    const long grid = GridWidth();
    const long x0 = AddCoord(S, m_border.left);
    const long tableW = TableWidth();
    long y = AddCoord(S, m_border.top);
    auto placeCaption = [&](long top) {
        const int marginTop = std::max<int>(0, m_caption->Lay().m_marginLeftTop.y);
        const int marginBottom = std::max<int>(0, m_caption->Lay().m_marginRightBottom.y);
        const bool margins = marginTop || marginBottom;
        m_caption->Lay().m_position = CPoint(0, AddCoord(top, margins ? marginTop + 1 : 0));
        GiveArea(m_caption, static_cast<int>(tableW), 0, static_cast<int>(tableW), 0);
        m_caption->CalculateReg(m_dc, m_info);
        m_caption->Lay().m_sizeRect.right = std::max<long>(m_caption->Lay().m_sizeRect.right, tableW);
        m_caption->Lay().m_sizeRect.bottom = AddCoord(m_caption->Lay().m_sizeRect.bottom, 2);
        for (CElement* c = m_caption->m_firstChild; c; c = c->m_nextSibling)
            c->Lay().m_position.y = AddCoord(c->Lay().m_position.y, 1);
        return AddCoord(BoxHeight(m_caption), 2L + (margins ? marginTop + marginBottom : 0));
    };
    const bool captionBelow
        = m_caption && m_caption->Style().captionSide.set && m_caption->Style().captionSide.value == 4;
    if (m_caption && !captionBelow)
        y = AddCoord(y, placeCaption(0));
    std::vector<long> tops(m_rows.size(), 0);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        CElement* row = m_rows[i].row;
        tops[i] = y;
        row->Lay().m_position = CPoint(x0, y);
        row->Lay().m_sizeRect = CRect(0, 0, grid, m_heights[i]);
        y = AddCoord(y, static_cast<long>(S) + m_heights[i]);
    }
    y = AddCoord(y, m_border.bottom);
    if (m_caption && captionBelow)
        y = AddCoord(y, placeCaption(AddCoord(y, 2)));
    m_t->Lay().m_sizeRect = CRect(0, 0, tableW, y);
    // Row groups fitted around their rows; the rows within them.
    for (CElement* g = m_t->m_firstChild; g; g = g->m_nextSibling) {
        if (!IsRowGroupKind(g->m_kind))
            continue;
        long top = 0, bottom = 0;
        bool any = false;
        for (CElement* r = g->m_firstChild; r; r = r->m_nextSibling) {
            if (r->m_kind != kKindTr)
                continue;
            top = any ? std::min<long>(top, r->Lay().m_position.y) : r->Lay().m_position.y;
            bottom = std::max<long>(bottom, r->Lay().m_position.y + BoxHeight(r));
            any = true;
        }
        g->Lay().m_position = CPoint(x0, any ? top : y);
        g->Lay().m_sizeRect = CRect(0, 0, grid, any ? bottom - top : 0);
        for (CElement* r = g->m_firstChild; r; r = r->m_nextSibling) {
            if (r->m_kind == kKindTr)
                r->Lay().m_position = CPoint(0, r->Lay().m_position.y - g->Lay().m_position.y);
        }
    }
    Keep();
}

long TableLayout::TableWidth() const
{
    return AddCoord(
        AddCoord(AddCoord(m_S, m_border.left), GridWidth()), static_cast<long>(m_S) + m_border.right);
}

void TableLayout::Keep()
{
    m_t->m_rowHeights = m_heights;
    m_t->m_columnState = m_state;
    m_t->m_measureWidth = m_measureW;
    m_t->m_gridWanted = static_cast<int>(m_W);
}

// The steps up to the columns' widths.
void TableLayout::SizeColumns()
{
    CollectRows();
    ValidateTableWidth();
    MeasureCells();
    GetTableInfo();
    WidthWanted();
    Fit();
}

void TableLayout::Run()
{
    TableNestingScope nesting(m_t);
    m_deep = nesting.Deep();
    SizeColumns();
    // Deep inside other tables: one assignment, no column widens.
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        AssignWidthAndHeights();
        if (Deep() || !WidenOverflows())
            break;
        Fit();
        if (pass == kMaxPasses - 1)
            AssignWidthAndHeights();
    }
    if (m_rows.empty())
        m_t->m_columnX.assign(1, 0);
    FinalCalc();
}

void TableLayout::Measure()
{
    TableNestingScope nesting(m_t);
    m_deep = true;
    SizeColumns();
    // The rows as tall as their tallest measured cell without row span.
    long height = AddCoord(AddCoord(m_S, m_border.top), m_border.bottom);
    for (const RowRec& row : m_rows) {
        long tallest = 0;
        for (const CellRec& c : row.cells) {
            if (c.rowSpan == 1)
                tallest = std::max<long>(tallest, c.cell->m_natural.cy);
        }
        height = AddCoord(height, tallest + m_S);
    }
    m_t->Lay().m_sizeRect = CRect(0, 0, TableWidth(), height);
}

// One cell's content changed. Its column widths stay as they were when the
// cell measures as before (natural and minimum width, and it still fits its
// box) and its column was not widened for content; only its row's height
// may change. Tables with row spans take the whole layout.
bool TableLayout::Quick(CTDElement* cell)
{
    // A deep table's cells were measured as a whole: it lays out whole.
    if (TableDepth(m_t) > kFullLayoutDepth)
        return false;
    CollectRows();
    const std::vector<int>& x = m_t->m_columnX;
    if (static_cast<int>(x.size()) != m_cols + 1 || m_t->m_rowHeights.size() != m_rows.size()
        || static_cast<int>(m_t->m_columnState.size()) != m_cols)
        return false;
    size_t at = m_rows.size();
    CellRec* mine = nullptr;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        for (CellRec& c : m_rows[i].cells) {
            if (c.rowSpan > 1)
                return false;
            if (c.cell == cell) {
                at = i;
                mine = &c;
            }
        }
    }
    if (!mine || mine->span > 1 || m_t->m_columnState[mine->col] == 2)
        return false;
    m_colW.assign(m_cols, 0);
    for (int k = 0; k < m_cols; ++k)
        m_colW[k] = x[k + 1] - x[k];
    m_state = m_t->m_columnState;
    m_measureW = m_t->m_measureWidth;
    m_W = m_t->m_gridWanted;
    m_heights = m_t->m_rowHeights;

    const CSize natural = cell->m_natural;
    const CSize least = cell->m_minSize;
    cell->m_hasTableBox = false;
    cell->Lay().m_containerRect = CRect(0, 0, m_measureW, 0);
    cell->CalculateReg(m_dc, m_info);
    CSize now(0, 0);
    cell->GetMinSize(now, false);
    if (BoxWidth(cell) != natural.cx || now.cx != least.cx)
        return false;
    cell->m_natural = CSize(BoxWidth(cell), BoxHeight(cell));
    mine->assigned = std::max(0, x[mine->col + 1] - x[mine->col] - m_S);
    cell->m_hasTableBox = true;
    cell->m_tableBox = CSize(mine->assigned, 0);
    cell->Lay().m_containerRect = CRect(0, 0, static_cast<int>(m_W), 0);
    cell->CalculateReg(m_dc, m_info);
    if (BoxWidth(cell) > mine->assigned)
        return false;
    cell->m_heightAtWidth = BoxHeight(cell);
    GetMaxHeight(m_heights);
    RowRec& row = m_rows[at];
    for (CellRec& c : row.cells) {
        c.assigned = std::max(0, x[c.col + c.span] - x[c.col] - m_S);
        c.cell->m_tableBox = CSize(c.assigned, m_heights[at]);
        c.cell->CalcWinReg(m_dc, true, false, m_info);
        HandleFinalWidth(c.cell);
    }
    row.row->CalcWinReg(m_dc, true, false, m_info);
    FinalCalc();
    return true;
}

} // namespace

bool CTableElement::BeforeChildCalReg(void*)
{
    std::vector<CElement*> rows;
    TableRows(this, rows);
    for (CElement* r : rows) {
        if (r->m_kind == kKindTr)
            static_cast<CTRElement*>(r)->m_reserved = 0;
    }
    return true;
}

bool CTableElement::CalcWinReg(void* dc, bool, bool, CalcInfo* info)
{
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    CalcForAll(dc, false, false);
    // What the content's minimum depends on is resolved again below.
    m_minPass = 0;
    const bool measuring = TableNestingScope::Current().measuring;
    bool ok = true;
    try {
        TableLayout run(this, dc, info);
        if (measuring)
            run.Measure();
        else
            run.Run();
    } catch (...) {
        ok = false;
    }
    if (!measuring)
        m_requestedWidth = 0;
    return ok;
}

bool CTableElement::FastCalcCell(CElement* cell)
{
    if (!cell || !IsCellKind(cell->m_kind) || cell->Style().colSpan >= 2 || TableOfCell(cell) != this)
        return false;
    CElement* root = m_root ? m_root : this;
    try {
        TableLayout run(this, root->m_dc.get(), nullptr);
        return run.Quick(static_cast<CTDElement*>(cell));
    } catch (...) {
        return false;
    }
}
