#pragma once
// Grid positions as the table commands count them. Within one row a cell's
// place is the sum of the column spans of the cells before it; cells that
// reach into the row from a row above (row spans) are not counted. The
// layout's own column indices (CTDElement::m_columnIndex) do count them:
// merging and splitting use those, and so does a new row, for the spans it
// passes through.

#include "base/text/SafeBuf.h"
#include "element/EmptyCell.h"

class CElement;
class CTableElement;

// The cell, row and table around e (the same lookup as
// CXHTML::GetTableFromElement, without an engine): a cell or its parent row
// first, then the table above the row; each is null when there is none.
void TablePartsAround(CElement* e, CElement** cell, CElement** row, CTableElement** table);
// e itself or its nearest ancestor that is a cell (td, th), or of kind;
// null when there is none (or e is null).
CElement* NearestCell(CElement* e);
CElement* NearestOfKind(CElement* e, long kind);
// The cell's first (first) or last grid column, counted along its row.
int CountedFirstColumn(const CElement* cell);
int CountedLastColumn(const CElement* cell);
// The first cell of row whose running span total exceeds column; null when
// the row is too short.
CElement* CellAtCountedColumn(const CElement* row, int column);
// The attribute text a new cell of table carries: ` style="border: X"` with
// the table's own border style X (escaped), or empty without one.
CSafeBuf NewCellStyle(CElement* table);
// Sets a span attribute ("colspan" or "rowspan") and the cell's stored span
// together: the number when it is above 1, else the empty string and 0.
void SetCellSpan(CElement* cell, bool column, int span);
// Rows holding no cell, and row groups left holding no row, are removed
// and destroyed; whether a row is left.
bool DropEmptyRows(CElement* table);
