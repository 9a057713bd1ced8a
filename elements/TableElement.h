#pragma once
// CTableElement: the table. Made only by the element factory, which stores the final kind code.
//
// The grid. A table keeps no grid of its own: it is derived from its rows
// (tr children, and the tr children of its tbody, thead and tfoot) and their
// cells (td, th) every time it is needed. Each cell carries its column span
// and row span (style, below 2 meaning 1) and its column index (the first
// grid column it covers), which AssignTDIndex works out: along the row, then
// pushed right by the row spans of the rows above. Row spans that reach past
// the last row stop at it.
//
// Column groups. Beside its rows a table keeps the column groups read from
// colgroup and col markup outside the element tree: a list of NameValueTree
// nodes, one per group (list: the group's attributes in markup order; left:
// its first column entry; right: the next group). A column entry has the same
// shape (list: the col element's attributes; right: the next entry). Entries
// of all groups, in order, cover consecutive grid columns from column 0, each
// as many as its "span" attribute says (absent, zero or negative: one).
//
// Layout (TableElementLayout.cpp) measures every cell, decides one width per
// grid column, gives each cell its box and stacks the rows and the caption.
// Its working records grow with the grid, which is cut at kMaxLayoutColumns
// columns: cells further right share the last column.

#include "element/Element.h"

#include <set>
#include <vector>

struct NameValue;
struct NameValueTree;

// The widest grid a table lays out, and the widest whose columns can be
// resized (and given col entries).
constexpr int kMaxLayoutColumns = 4096;
constexpr int kMaxTableColumns = 1000;

class CTableElement : public CElement
{
public:
    // Borders solid, 1 pixel, RGB(60, 60, 60) but not set; cell spacing 2;
    // cell padding 1; clear both.
    explicit CTableElement(STYLE_CLASS* rules);
    ~CTableElement() override;

    // ---- virtual operations ----
    bool BeforeChildCalReg(void* dc) override;
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // After the base recomputation: rows and cells take the table's
    // paddings, spacing and borders; column indices; hidden borders of a
    // collapsed table hide their neighbours' facing sides.
    bool StyleChanged(int mode) override;
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    bool SelfPaint(void* dc, CPoint origin) override;
    // Three nested frames when the table is selected (dark red) or marked by
    // the engine's table selection (blue).
    bool DrawMarkOnElement(void* dc, CPoint origin) override;
    // The border (or, without one, a light grey frame) below the caption.
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;
    int MouseLeaveElement(CPoint pt) override;
    int MouseEnterElement(CPoint pt) override;
    // 4 (the resize cursor) on a table edge or a column border, else 0;
    // never 4 on a locked table or when the engine forbids resizing.
    int MouseCursorType(CPoint pt) override;
    // The base reset, then the table's defaults again (borders, spacing 2
    // and cell padding 1), so that a table looks the same after a restyle.
    void ResetStyle(bool clearBox) override;
    // A pixel width is the table's whole width, borders included.
    bool SetAttrFromStyle() override;
    // columns: the widest row in grid columns (also kept in m_columnCount);
    // rows: the number of rows. Answers true.
    virtual bool GetRowCol(int& columns, int& rows);

    // ---- grid queries (TableElementGrid.cpp) ----
    // Appends the rows: tr children and the tr children of row groups.
    void GetTRElement(CPtrList* out) const;
    // Mode 14: every cell (index < 0) or those of row index. Mode 15: the
    // cells covering grid column index; a negative index -(row * 1000 +
    // column) asks for the one cell at that place, which cannot name
    // (0, 0): mode 16 with index row * 1000 + column can.
    void GetCells(CPtrList* out, int mode, int index) const;
    // The cell covering (row, column): one of that row, or one of a row
    // above that spans down into it; null when none.
    CElement* GetSingleCell(int row, int column) const;
    // Row index and column (the counted position along the row, or the
    // column index unless counted). False for a cell not in this table.
    bool FindCellPosition(const CElement* cell, int& row, int& column, bool counted) const;
    // Row -1 is the first row. Without exact a spanning cell answers for
    // every column it covers; with exact no spanning cell is answered.
    CElement* GetCellFromPosition(int row, int column, bool exact) const;
    CElement* GetFirstChildByType(int kind) const;
    // A caption first, or any th cell.
    bool IsDataTable() const;
    // The cell's row (byRow) or column holds cells and all are th.
    bool IsAllTH(const CElement* cell, bool byRow) const;
    // The table's box, its top below a leading caption.
    void GetBorderWithoutCaption(CRect& rect) const;

    // ---- grid maintenance and structure (TableElementHeaders.cpp) ----
    // Column indices of every cell; a one-row table loses its spans, unless
    // readingRows says that more rows may still come (a table being read).
    void AssignTDIndex(bool readingRows = false);
    // Header ids and headers attributes, and the row groups of a data
    // table; a table that is not one loses its row groups and headers.
    // Answers whether a body group was made (true for a plain table).
    bool DoHeaders();
    // DoHeaders for a table that IsDataTable has just answered true for,
    // without asking again (the load marks every data table it reads).
    // With keys (the load's): when every th id that has the generated form
    // for its cell's place carries one earlier identifier, and keys does not
    // hold it yet, the table takes it as its header key and keys holds it
    // from then on. A table read back from its own markup (undo, redo, a
    // stored value) so goes on with the ids it had.
    bool DoDataTableHeaders(std::set<long>* keys = nullptr);
    // The identifier the generated header ids are made of: the table's own,
    // or the one it took at a load.
    long HeaderKey() const { return m_headerKey ? m_headerKey : GetID(); }
    // Rows regrouped: an optional thead (first row), tfoot (last row) and
    // one tbody for the rest; both false leaves plain rows.
    void SetStruct(bool withHead, bool withFoot);
    // Regroups a data table's rows by their header rows.
    bool AddDataStruct();

    // ---- column groups (TableElement.cpp) ----
    // For a colgroup node (isCol false): a new group with the node's
    // attributes, and one column entry per col child. For a col directly
    // under the table (isCol true): one entry appended to the last group (a
    // new empty group when there is none). The caret marker attribute is not
    // copied.
    void SetColgroup(_xmlNode* node, bool isCol);
    // The column groups as markup; out is emptied first and stays empty
    // without groups. With flag 0x1 each tag stands on a line of its own,
    // indented one TAB a level from indent. Names and values are escaped.
    void GetColgroupSource(CSafeBuf& out, int indent, int flags) const;
    // The attributes of the column entry covering column; null when none.
    NameValue* GetColAttrs(int column) const;
    // Replaces the attributes of the entry covering column (taking
    // ownership), appending empty entries (and a group) until one covers it.
    // False (attrs freed) for a negative column or one past the widest grid.
    bool SetColAttrs(int column, NameValue* attrs);
    // Sets (non-empty value) or removes the attribute of the entry covering
    // column, appending entries as SetColAttrs does.
    bool ModifyColAttrs(int column, const unsigned short* name, const unsigned short* value);
    bool ModifyColAttrs(int column, const char* name, const char* value);
    // The group whose entry covers column, and that entry; false when none.
    bool FindColumnEntry(int column, NameValueTree** group, NameValueTree** entry) const;
    void RemoveColgroup();
    // A grid column comes in at column, or the one there goes: the column
    // entries after it keep describing the columns they described. A new
    // column gets an empty entry of its own, or joins a spanning entry it
    // comes into; a column that goes takes its entry, or one column of a
    // spanning entry, with it. Nothing for a column past the entries.
    void InsertColumnEntry(int column);
    void RemoveColumnEntry(int column);

    // ---- layout (TableElementLayout.cpp) ----
    // The minimum width of every grid column (columns entries).
    void GetTableCellMinWidth(std::vector<int>& widths);
    // The width of the first cell without column span at column; 0 when none.
    int GetWidthOfCell(int column) const;
    // Quick re-layout after one cell's content changed; false when a whole
    // layout is needed. Its result equals that of a whole layout.
    bool FastCalcCell(CElement* cell);

    // ---- column resizing (TableElementResize.cpp) ----
    // The largest minimum width of the cells (without column span) at column.
    int GetMinWidthOfColumn(int column);
    // Applies a drag: the table itself takes width as its width attribute;
    // for a cell, its border (left for mode 10, else right) moves so that the
    // cell is width wide, the neighbour column giving or taking the
    // difference; the widths go to the col entries. Answers whether anything
    // changed; the caller lays the table out again.
    bool DoResize(CElement* element, int width, int mode);
    // With a pixel width on the table, the last column's col entry takes
    // what the other columns, the spacing and the borders leave of it (its
    // width goes when nothing is left); nothing for any other width.
    void FitLastColumn();

    // What the last layout decided, kept for a quick re-layout of one cell
    // and for rows laid out on their own: the left of every grid column
    // within a row (one more entry: the right of the last), the row heights,
    // the column states (0 free, 1 width specified, 2 widened to fit
    // content), the width offered to cells while measured, and the width of
    // the columns.
    std::vector<int> m_columnX;
    std::vector<int> m_rowHeights;
    std::vector<int> m_columnState;
    int m_measureWidth = 0;
    int m_gridWanted = 0;
    // Within one layout pass (LayoutNesting::CurrentPass; edits come
    // between passes): the pass and width the cells' natural sizes were
    // measured in and at, and the pass whose table minimum width is kept
    // (until the table is laid out again).
    unsigned long m_measuredPass = 0;
    int m_measuredAt = 0;
    unsigned long m_minPass = 0;
    long m_minWidth = 0;
    // The caption is being laid out at the measuring width: its content
    // counts by its own width (SpansGivenWidth).
    bool m_measuringCaption = false;

    int m_requestedWidth = 0;             // a width the next layout gives the table at least
    bool m_reentry = false;               // the layout's second run for a wide caption
    int m_columnCount = 0;                // the widest row in grid columns (GetRowCol)
    NameValueTree* m_colgroups = nullptr; // owned

private:
    void SetTableDefaults();
    // DoHeaders' steps: the cells' columns and the tfoot last, then the
    // header ids, headers attributes and row groups of a data table.
    void PlaceCellsAndFoot();
    bool MarkHeaders();
    // The identifier the th ids were generated with, when they agree on one
    // that an element was given before; 0 otherwise.
    long KeyOfHeaderIds() const;

    long m_headerKey = 0; // 0: the table's own identifier

    // Where SetColgroup last appended: the last group and its last entry
    // (null: found from m_colgroups). Until RemoveColgroup frees the chain it
    // only grows at its ends, so the next append goes on from here.
    NameValueTree* m_lastColgroup = nullptr;
    NameValueTree* m_lastColEntry = nullptr;
};

// The table whose grid the row or cell e belongs to: the parent of a row
// (or of its row group) when it is a table; null otherwise.
CTableElement* TableOfRow(const CElement* row);
CTableElement* TableOfCell(const CElement* cell);
// The rows as GetTRElement lists them, and a row's cells, in order.
void TableRows(const CElement* table, std::vector<CElement*>& rows);
void RowCells(const CElement* row, std::vector<CElement*>& cells);
// A span as the grid counts it: below 2 is 1.
inline int GridSpan(int span) { return span < 2 ? 1 : span; }
// Removes the cell's attribute name ("colspan", "rowspan") however its
// name is cased (with otherCase, only where it is cased otherwise): the
// span is read from it without regard to case, so a "COLSPAN" of a loaded
// page is the same span as "colspan".
void DropSpanAttribute(CElement* cell, const char* name, bool otherCase = false);
// Calls fn(cell) for every cell of the table's rows, in order, while fn
// answers true; answers false when fn stopped the walk.
template <class Fn>
bool ForEachCell(const CElement* table, Fn fn)
{
    std::vector<CElement*> rows, cells;
    TableRows(table, rows);
    for (const CElement* row : rows) {
        RowCells(row, cells);
        for (CElement* cell : cells) {
            if (!fn(cell))
                return false;
        }
    }
    return true;
}
