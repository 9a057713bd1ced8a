#pragma once
// Grid positions for the table commands. Counted along one row, a cell's
// place is the sum of the column spans of the cells before it; the layout's
// own column indices (CTDElement::m_columnIndex) also count the cells that
// reach into the row from a row above (row spans). The commands that insert,
// remove or select rows and columns use the layout's columns, so that a row
// a cell spans into keeps its cells where the grid shows them.

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
// The cell's first grid column, counted along its row.
int CountedFirstColumn(const CElement* cell);
// The grid columns of the layout (CTDElement::m_columnIndex; counted along
// the row for a cell without one): the cell's first and last column, the
// cell of row covering column (null when none of its own does) and the
// first cell of row standing past column (null when none). The table's
// indices must be current (CTableElement::AssignTDIndex).
int GridFirstColumn(const CElement* cell);
int GridLastColumn(const CElement* cell);
CElement* CellCoveringColumn(const CElement* row, int column);
CElement* CellPastColumn(const CElement* row, int column);
// The row is about to go: cells of the rows before it that span down
// through it lose that row, and a cell of its own that spans further down
// moves to the next row, where it stands in the grid, one row shorter.
// Works out the table's grid indices.
void KeepSpansAcross(CTableElement* table, CElement* row);
// The attribute text a new cell of table carries: ` style="border: X"` with
// the table's own border style X (escaped), or empty without one.
CSafeBuf NewCellStyle(CElement* table);
// Sets a span attribute ("colspan" or "rowspan") and the cell's stored span
// together: the number when it is above 1, else the empty string and 0.
void SetCellSpan(CElement* cell, bool column, int span);
// Rows holding no cell, and row groups left holding no row, are removed
// and destroyed; with keepSpans the row spans through them are shortened
// (KeepSpansAcross). Whether a row is left.
bool DropEmptyRows(CElement* table, bool keepSpans = false);
