// Rows and columns of a table: new rows above or below the context row, new
// columns before or after the context column, rows or columns removed, and
// the whole table removed.
//
// Positions are counted along each row (editor/TableGrid.h): a new column
// goes beside the cell whose running span total passes the context column,
// in every row, and row spans are left as they are. New rows and cells are
// written as markup and inserted by their container.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TableElement.h"

#include <climits>
#include <vector>

namespace {

// Past any real column: the new cells go at the row ends (after) or are
// placed before the first cell (before).
constexpr int kPastLastColumn = INT_MAX;
constexpr int kBeforeFirstColumn = -1;

// The table goes from its parent, which is then made ready for the caret.
// A cell the table filled gets the filler an empty cell reads with, so the
// value written now is the one a redo or a reload gives.
void RemoveWholeTable(CElement* table)
{
    CElement* parent = table->m_parent;
    CElement::RemoveElement(table, true);
    if (parent && !AppendRunAsRead(parent)) {
        int state = 2;
        parent->ValidTextInput(state);
    }
}

} // namespace

void CXHTML::OnInsertrow() { InsertTableRow(true); }
void CXHTML::OnInsertrowabove() { InsertTableRow(false); }
void CXHTML::OnInsertcol() { InsertTableColumn(true); }
void CXHTML::OnInsertcolbefore() { InsertTableColumn(false); }
void CXHTML::OnRemoverow() { RemoveTableLines(true); }
void CXHTML::OnRemovecol() { RemoveTableLines(false); }

void CXHTML::InsertTableRow(bool below)
{
    CElement* e = ContextElement();
    if (!e)
        return;
    CElement* row = nullptr;
    CTableElement* table = nullptr;
    if (e->m_kind == kKindTable) {
        table = static_cast<CTableElement*>(e);
    } else {
        if (IsCellKind(e->m_kind))
            row = e->m_parent && e->m_parent->m_kind == kKindTr ? e->m_parent : nullptr;
        else
            row = NearestOfKind(e, kKindTr);
        if (!row)
            return;
        table = static_cast<CTableElement*>(row->IsElementUnderTag(kKindTable));
    }
    if (!table)
        return;
    int columns = 0, rows = 0;
    table->GetRowCol(columns, rows);
    const CSafeBuf style = NewCellStyle(table);
    CSafeBuf markup("<tr align='left' valign='top'>");
    // Spans can make the grid far wider than any table lays out; the new
    // row stops at the widest grid there is.
    const int cells = columns < 1 ? 1 : (columns > kMaxLayoutColumns ? kMaxLayoutColumns : columns);
    for (int i = 0; i < cells; ++i) {
        CElement* top = table->GetCellFromPosition(0, i, false);
        markup += top && table->IsAllTH(top, false) ? "<th" : "<td";
        markup += style;
        markup += top && table->IsAllTH(top, false) ? "></th>" : "></td>";
    }
    markup += "</tr>";

    CElement* container = table;
    if (row && row->m_parent && IsRowGroupKind(row->m_parent->m_kind))
        container = row->m_parent;
    long ref = row ? row->GetID() : 0;
    bool after = below;
    // Without a row to go beside, a row at the top still follows the
    // caption, which stays the table's first child.
    if (!row && !below && table->m_firstChild && table->m_firstChild->m_kind == kKindCaption) {
        ref = table->m_firstChild->GetID();
        after = true;
    }
    container->InsertTagText(markup, ref, after, true, false, false);

    if (m_doc.IsElementInTree(table) && table->IsDataTable())
        table->DoHeaders();
    table->StyleChanged(1);
    EndEdit(true);
}

void CXHTML::InsertTableColumn(bool after)
{
    CElement* e = ContextElement();
    if (!e)
        return;
    int index = 0;
    CTableElement* table = nullptr;
    if (e->m_kind == kKindTable || e->m_kind == kKindTr) {
        index = after ? kPastLastColumn : kBeforeFirstColumn;
        table = static_cast<CTableElement*>(NearestOfKind(e, kKindTable));
    } else {
        CElement* cell = NearestCell(e);
        if (!cell)
            return;
        index = after ? CountedLastColumn(cell) : CountedFirstColumn(cell);
        table = static_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable));
    }
    if (!table)
        return;
    const CSafeBuf style = NewCellStyle(table);
    CSafeBuf td("<td");
    td += style;
    td += " align='left' valign='top'></td>";
    CSafeBuf th("<th");
    th += style;
    th += "></th>";

    std::vector<CElement*> rows, cells;
    TableRows(table, rows);
    for (CElement* row : rows) {
        RowCells(row, cells);
        const bool header = !cells.empty() && table->IsAllTH(cells.front(), true);
        CElement* ref = CellAtCountedColumn(row, index);
        // A row too short to reach the column takes the new cell at its end.
        row->InsertTagText(header ? th : td, ref ? ref->GetID() : 0, ref ? after : true, true, false, false);
    }
    if (m_doc.IsElementInTree(table) && table->IsDataTable())
        table->DoHeaders();
    table->StyleChanged(1);
    EndEdit(true);
}

bool CXHTML::RemoveRowOrCol(CElement* element, bool row)
{
    if (!element || !m_doc.IsElementInTree(element))
        return false;
    CElement* cell = nullptr;
    CElement* tr = nullptr;
    CElement* found = nullptr;
    GetTableFromElement(element, &cell, &tr, &found);
    auto* table = static_cast<CTableElement*>(found);
    if (!table)
        return false;
    int columns = 0, rows = 0;
    table->GetRowCol(columns, rows);
    if ((row && rows < 2) || (!row && columns < 2)) {
        RemoveWholeTable(table);
        return true;
    }
    if (row) {
        if (!tr) {
            std::vector<CElement*> list;
            TableRows(table, list);
            tr = list.empty() ? nullptr : list.back();
        }
        if (tr)
            m_doc.RemoveElement(tr, true);
        return false;
    }
    const int index = cell ? CountedLastColumn(cell) : columns - 1;
    std::vector<CElement*> list;
    TableRows(table, list);
    for (CElement* r : list) {
        CElement* hit = CellAtCountedColumn(r, index);
        if (!hit)
            continue;
        const int span = GridSpan(hit->Style().colSpan);
        if (span < 2)
            r->RemoveChild(hit->GetID(), true, false);
        else
            SetCellSpan(hit, true, span - 1);
    }
    // A row whose only cells went is no row any more; without any row the
    // table itself goes.
    if (!DropEmptyRows(table)) {
        RemoveWholeTable(table);
        return true;
    }
    return false;
}

void CXHTML::RemoveTableLines(bool rows)
{
    CElement* e = ContextElement();
    if (!e)
        return;
    CElement* found = nullptr;
    GetTableFromElement(e, nullptr, nullptr, &found);
    auto* table = static_cast<CTableElement*>(found);
    if (!table)
        return;
    // Each marked cell of the table (or the context element alone) by
    // identifier: an earlier removal may have taken a later one with it.
    std::vector<long> targets;
    if (m_doc.m_cellMarkMode) {
        ForEachCell(table, [&](CElement* cell) {
            if (cell->m_wholeCell)
                targets.push_back(cell->GetID());
            return true;
        });
    }
    if (targets.empty())
        targets.push_back(e->GetID());
    if (m_doc.m_cellMarkMode) {
        m_doc.CleanSelection();
        ForgetGridSelection();
    }
    const long tableId = table->GetID();
    for (long id : targets) {
        if (!m_doc.IsElementExist(id))
            continue;
        if (RemoveRowOrCol(m_doc.FindElement(id), rows))
            break;
    }
    // The table stays while it holds a row with a cell: header rows and a
    // caption outlive the last body row. Its groups and header attributes
    // follow what is left.
    if (m_doc.IsElementExist(tableId) && m_doc.IsElementInTree(table)) {
        if (!DropEmptyRows(table)) {
            RemoveWholeTable(table);
        } else {
            if (!rows || table->IsDataTable())
                table->DoHeaders();
            table->StyleChanged(1);
        }
    }
    m_doc.m_pointerElement = nullptr;
    m_doc.ValidateKeyCursor();
    EndEdit(true);
}

void CXHTML::OnRemovetable()
{
    CElement* table = NearestOfKind(ContextElement(), kKindTable);
    if (!table || !table->m_parent)
        return;
    CElement* parent = table->m_parent;
    CElement* caret = m_doc.m_caretElement;
    const bool caretInside = caret && m_doc.IsElementInTree(caret) && caret->IsOneOfParent(table);
    if (caretInside) {
        m_doc.m_caretElement = nullptr;
        table->RemoveAllChildren(true);
        // The caret goes to the first text run after the table, else the
        // last one before it.
        CPtrList all;
        m_doc.m_root->GetAllChildren(&all, 0, false, 0, 0);
        CElement* before = nullptr;
        CElement* next = nullptr;
        bool passed = false;
        for (void* pos = all.GetHeadPosition(); pos && !next;) {
            auto* x = static_cast<CElement*>(all.GetNext(pos));
            if (x == table)
                passed = true;
            else if (x->IsTextElement())
                (passed ? next : before) = x;
        }
        CElement* run = next ? next : before;
        if (run) {
            run->m_caretOffset = 0;
            m_doc.m_caretElement = run;
            m_doc.UpdateKeyCursor();
        }
    }
    CElement::RemoveElement(table, true);
    if (!parent->m_firstChild) {
        if (CElement* run = AppendRunAsRead(parent)) {
            parent->StyleChanged(0);
            if (caretInside) {
                run->m_caretOffset = 0;
                m_doc.m_caretElement = run;
                m_doc.UpdateKeyCursor();
            }
        }
    }
    m_doc.CheckKeyFocus();
    EndEdit(true);
}
