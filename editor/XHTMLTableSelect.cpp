// Selecting a whole table, row or column as a cell selection. Every cell of
// the part is marked whole and its content selected; row and column
// selections in the same table add to the marks already there. The engine
// records what was selected (CXHTMLServices::m_gridSelection) so that the
// table or the rows frame themselves while their cells stay marked.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TableElement.h"

#include <vector>

void CXHTML::OnSelecttable() { SelectTablePart(kGridTable); }
void CXHTML::OnSelectrow() { SelectTablePart(kGridRows); }
void CXHTML::OnSelectcol() { SelectTablePart(kGridColumns); }

void CXHTML::SelectTablePart(int part)
{
    CElement* cell = nullptr;
    CElement* row = nullptr;
    CTableElement* table = nullptr;
    CElement* e = ContextElement();
    if (part == kGridTable) {
        table = static_cast<CTableElement*>(NearestOfKind(e, kKindTable));
    } else {
        TablePartsAround(e, &cell, &row, &table);
        if (part == kGridRows ? !row : !cell)
            table = nullptr;
    }
    if (!table || !m_doc.m_root)
        return;

    // A selection elsewhere (text, or cells of another table) gives way.
    if (!m_doc.m_cellMarkMode || m_doc.m_markedTable != table) {
        m_doc.m_root->CleanSelection(true);
        m_doc.m_root->CleanMark();
        m_doc.m_selectedCellCount = 0;
        m_doc.m_cellMarkMode = 0;
        ForgetGridSelection();
    }
    m_doc.m_markedTable = table;
    m_doc.m_cellMarkMode = 1;

    auto mark = [&](CElement* c) {
        if (!c->m_wholeCell)
            ++m_doc.m_selectedCellCount;
        c->SelectAllChildren(true);
        c->m_wholeCell = 1;
    };
    if (part == kGridTable) {
        m_doc.m_selectedCellCount = 0;
        table->SelectAllChildren(true);
        ForEachCell(table, [&](CElement* c) {
            c->m_wholeCell = 1;
            ++m_doc.m_selectedCellCount;
            return true;
        });
        m_gridRowIds.clear();
    } else {
        CPtrList cells;
        if (part == kGridRows) {
            std::vector<CElement*> rows;
            TableRows(table, rows);
            int index = 0;
            while (index < static_cast<int>(rows.size()) && rows[index] != row)
                ++index;
            table->GetCells(&cells, 14, index);
        } else {
            // The cell's last column in the laid-out grid, where the cells
            // are looked for: counted along its row it would name another
            // column in a row a cell spans into from above.
            table->AssignTDIndex();
            table->GetCells(&cells, 15, GridLastColumn(cell));
        }
        cells.ForEachItem([&](void* item) { mark(static_cast<CElement*>(item)); });
        if (m_gridSelection != part || m_gridTableId != table->GetID())
            m_gridRowIds.clear();
        if (part == kGridRows)
            m_gridRowIds.push_back(row->GetID());
    }
    m_gridSelection = part;
    m_gridTableId = table->GetID();

    m_doc.m_selectionPresent = 1;
    m_doc.DisplaySelectionStyle();
    m_doc.DrawDoc(2);
    m_doc.Redraw();
}
