// Grid positions counted along rows, and the small pieces the table commands
// share: the style of new cells and span attributes.

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"

#include <vector>

void TablePartsAround(CElement* e, CElement** cell, CElement** row, CTableElement** table)
{
    *cell = nullptr;
    *row = nullptr;
    *table = nullptr;
    if (!e)
        return;
    if (e->m_kind == kKindTable) {
        *table = static_cast<CTableElement*>(e);
        return;
    }
    if (e->m_kind == kKindTr) {
        *row = e;
    } else if (IsCellKind(e->m_kind)) {
        *cell = e;
        *row = e->m_parent && e->m_parent->m_kind == kKindTr ? e->m_parent : nullptr;
    } else {
        for (CElement* p = e->m_parent; p; p = p->m_parent) {
            if (!*cell && IsCellKind(p->m_kind))
                *cell = p;
            if (p->m_kind == kKindTr) {
                *row = p;
                break;
            }
        }
    }
    if (*row)
        *table = static_cast<CTableElement*>((*row)->IsElementUnderTag(kKindTable));
}

CElement* NearestCell(CElement* e)
{
    while (e && !IsCellKind(e->m_kind))
        e = e->m_parent;
    return e;
}

CElement* NearestOfKind(CElement* e, long kind)
{
    while (e && e->m_kind != kind)
        e = e->m_parent;
    return e;
}

int CountedFirstColumn(const CElement* cell)
{
    int along = 0;
    if (!cell || !cell->m_parent)
        return 0;
    for (const CElement* c = cell->m_parent->m_firstChild; c && c != cell; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind))
            along += GridSpan(c->Style().colSpan);
    }
    return along;
}

int GridFirstColumn(const CElement* cell)
{
    const int index = cell ? static_cast<const CTDElement*>(cell)->m_columnIndex : 0;
    return index < 0 ? CountedFirstColumn(cell) : index;
}

int GridLastColumn(const CElement* cell)
{
    return GridFirstColumn(cell) + (cell ? GridSpan(cell->Style().colSpan) : 1) - 1;
}

CElement* CellCoveringColumn(const CElement* row, int column)
{
    for (CElement* c = row ? row->m_firstChild : nullptr; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind) && GridFirstColumn(c) <= column && column <= GridLastColumn(c))
            return c;
    }
    return nullptr;
}

CElement* CellPastColumn(const CElement* row, int column)
{
    for (CElement* c = row ? row->m_firstChild : nullptr; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind) && GridFirstColumn(c) > column)
            return c;
    }
    return nullptr;
}

void KeepSpansAcross(CTableElement* table, CElement* tr)
{
    std::vector<CElement*> rows, cells, next;
    TableRows(table, rows);
    size_t at = rows.size();
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] == tr)
            at = r;
    }
    if (at >= rows.size() || rows.size() < 2)
        return;
    table->AssignTDIndex();
    for (size_t r = 0; r < at; ++r) {
        RowCells(rows[r], cells);
        for (CElement* cell : cells) {
            const int down = cell->Style().rowSpan;
            // A span past the last row still ends there with one row less.
            if (down >= 2 && r + down > at && r + down <= rows.size())
                SetCellSpan(cell, false, down - 1);
        }
    }
    if (at + 1 >= rows.size())
        return;
    CElement* below = rows[at + 1];
    RowCells(tr, cells);
    for (CElement* cell : cells) {
        const int down = cell->Style().rowSpan;
        if (down < 2)
            continue;
        const int index = GridFirstColumn(cell);
        RowCells(below, next);
        CElement* before = nullptr;
        for (CElement* c : next) {
            if (GridFirstColumn(c) > index) {
                before = c;
                break;
            }
        }
        if (before)
            cell->MoveCurrentElementTo(below, before->GetID(), false);
        else
            cell->MoveCurrentElementTo(below, 0, true);
        SetCellSpan(cell, false, down - 1);
    }
}

CSafeBuf NewCellStyle(CElement* table)
{
    CSafeBuf border, text;
    if (!table || !table->GetStyleString("border", border) || border.IsEmpty())
        return text;
    CSafeBuf value("border: ");
    value += border;
    value.EscapeXML();
    text = " style=\"";
    text += value;
    text += "\"";
    return text;
}

void SetCellSpan(CElement* cell, bool column, int span)
{
    const char* name = column ? "colspan" : "rowspan";
    CSafeBuf value;
    if (span > 1)
        value.AppendInt(span);
    // A span attribute cased otherwise ("COLSPAN") would stay beside the
    // new one and be read back in its place.
    DropSpanAttribute(cell, name, true);
    cell->SetAttrString(name, value);
    auto& stored = column ? cell->EditStyle().colSpan : cell->EditStyle().rowSpan;
    stored = static_cast<std::int16_t>(span > 1 ? span : 0);
}

namespace {

bool HoldsKind(const CElement* e, bool cells)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (cells ? IsCellKind(c->m_kind) : c->m_kind == kKindTr)
            return true;
    }
    return false;
}

} // namespace

bool DropEmptyRows(CElement* table, bool keepSpans)
{
    std::vector<CElement*> rows;
    TableRows(table, rows);
    bool left = false;
    for (CElement* row : rows) {
        if (HoldsKind(row, true)) {
            left = true;
        } else {
            if (keepSpans)
                KeepSpansAcross(static_cast<CTableElement*>(table), row);
            CElement::RemoveElement(row, true);
        }
    }
    for (CElement* c = table->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (IsRowGroupKind(c->m_kind) && !HoldsKind(c, false))
            CElement::RemoveElement(c, true);
        c = next;
    }
    return left;
}
