// The lookup of the cell, row and table around an element, which the table
// commands share; its own home is the table-insertion code.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"
#include "elements/TableElement.h"

void CXHTML::GetTableFromElement(CElement* element, CElement** cell, CElement** row, CElement** table)
{
    CTableElement* found = nullptr;
    CElement* c = nullptr;
    CElement* r = nullptr;
    TablePartsAround(element, &c, &r, &found);
    if (cell)
        *cell = c;
    if (row)
        *row = r;
    if (table)
        *table = found;
}
