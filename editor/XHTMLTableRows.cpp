// Rows and columns of a table: new rows above or below the context row, new
// columns before or after the context column, rows or columns removed, and
// the whole table removed.
//
// Columns are those of the laid-out grid (editor/TableGrid.h): a new column
// goes beside the cell covering the context column in every row, and a row
// that a cell spans into from above gets it among its own cells where the
// grid has it; a removed column takes each row's cell covering it. A new
// row between the rows a cell spans makes that cell one row taller instead
// of getting a cell of its own there, and a removed row makes it shorter.
// New rows and cells are written as markup and inserted by their container.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TableElement.h"

#include <algorithm>
#include <climits>
#include <utility>
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
    // Cells of the rows before the new one that span down past it grow by
    // the new row, which then has no cell of its own where they stand: the
    // rows stay as wide as they were and keep their cells in their columns.
    std::vector<CElement*> list;
    TableRows(table, list);
    size_t at = below ? list.size() : 0;
    for (size_t r = 0; r < list.size(); ++r) {
        if (list[r] == row)
            at = below ? r + 1 : r;
    }
    std::vector<bool> spanned;
    std::vector<std::pair<CElement*, int>> grow;
    int width = columns;
    if (list.size() > 1) {
        table->AssignTDIndex();
        std::vector<CElement*> cells;
        for (size_t r = 0; r < list.size(); ++r) {
            RowCells(list[r], cells);
            for (CElement* cell : cells) {
                const int index = GridFirstColumn(cell);
                const int span = GridSpan(cell->Style().colSpan);
                width = std::max(width, index + span);
                const int down = cell->Style().rowSpan;
                if (r >= at || down < 2 || r + down <= at)
                    continue;
                // A span past the last row ends there, and still does once
                // the new row is in: it is left as it is.
                if (r + down <= list.size())
                    grow.emplace_back(cell, down + 1);
                if (spanned.size() < static_cast<size_t>(index + span))
                    spanned.resize(index + span, false);
                for (int i = index; i < index + span; ++i)
                    spanned[i] = true;
            }
        }
    }
    const CSafeBuf style = NewCellStyle(table);
    // Spans can make the grid far wider than any table lays out; the new
    // row stops at the widest grid there is.
    const int cells = width < 1 ? 1 : (width > kMaxLayoutColumns ? kMaxLayoutColumns : width);
    int free = 0;
    for (int i = 0; i < cells; ++i)
        free += static_cast<size_t>(i) < spanned.size() && spanned[i] ? 0 : 1;
    // A row every column of which is spanned would hold no cell, and a row
    // without cells is none: it gets a cell in each column instead.
    if (free == 0) {
        spanned.clear();
        grow.clear();
    }
    for (const auto& [cell, span] : grow)
        SetCellSpan(cell, false, span);
    CSafeBuf markup("<tr align='left' valign='top'>");
    for (int i = 0; i < cells; ++i) {
        if (static_cast<size_t>(i) < spanned.size() && spanned[i])
            continue;
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
    EndEdit();
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
        table = static_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable));
        if (!table)
            return;
        table->AssignTDIndex();
        index = after ? GridLastColumn(cell) : GridFirstColumn(cell);
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

    // The column entries (widths and alignment of the columns) stay with
    // their columns.
    if (index != kPastLastColumn)
        table->InsertColumnEntry(after ? index + 1 : std::max(0, index));
    std::vector<CElement*> rows, cells;
    TableRows(table, rows);
    for (CElement* row : rows) {
        RowCells(row, cells);
        const bool header = !cells.empty() && table->IsAllTH(cells.front(), true);
        // Beside the row's cell covering the column; in a row a cell spans
        // into there from above, before its first cell past the column; a
        // row too short to reach the column takes the new cell at its end.
        CElement* ref = CellCoveringColumn(row, index);
        bool beside = after;
        if (!ref) {
            ref = CellPastColumn(row, index);
            beside = false;
        }
        row->InsertTagText(header ? th : td, ref ? ref->GetID() : 0, ref ? beside : true, true, false, false);
    }
    if (m_doc.IsElementInTree(table) && table->IsDataTable())
        table->DoHeaders();
    table->StyleChanged(1);
    EndEdit();
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
        if (tr) {
            KeepSpansAcross(table, tr);
            m_doc.RemoveElement(tr, true);
        }
        return false;
    }
    // The grid column as laid out: a row that a cell spans into from above
    // loses nothing of its own there.
    table->AssignTDIndex();
    const int index = cell ? GridLastColumn(cell) : columns - 1;
    table->RemoveColumnEntry(index);
    std::vector<CElement*> list;
    TableRows(table, list);
    for (CElement* r : list) {
        CElement* hit = CellCoveringColumn(r, index);
        if (!hit)
            continue;
        const int span = GridSpan(hit->Style().colSpan);
        if (span < 2)
            r->RemoveChild(hit->GetID(), true, false);
        else
            SetCellSpan(hit, true, span - 1);
    }
    // A row whose only cells went is no row any more, and the spans through
    // it lose it; without any row the table itself goes.
    if (!DropEmptyRows(table, true)) {
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
    // A data table whose last header cells go is one no longer: its cells'
    // header lists still name them until the headers are worked out again.
    const bool wasDataTable = table->IsDataTable();
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
            if (!rows || wasDataTable || table->IsDataTable())
                table->DoHeaders();
            table->StyleChanged(1);
        }
    }
    m_doc.m_pointerElement = nullptr;
    m_doc.ValidateKeyCursor();
    EndEdit();
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
    EndEdit();
}
