// The table's grid queries: rows, cells by row, column or place, positions
// of cells, and what kind of table it is. None changes the tree.

#include "elements/TableElement.h"

#include "elements/TDElement.h"

#include <algorithm>

namespace {

bool Covers(const CElement* cell, int column)
{
    const auto* td = static_cast<const CTDElement*>(cell);
    const int index = td->m_columnIndex;
    if (index == column)
        return true;
    const int span = td->Style().colSpan;
    return column > 0 && span >= 2 && column > index && column <= index + span - 1;
}

} // namespace

CTableElement* TableOfRow(const CElement* row)
{
    if (!row || row->m_kind != kKindTr)
        return nullptr;
    CElement* p = row->m_parent;
    if (p && IsRowGroupKind(p->m_kind))
        p = p->m_parent;
    return p && p->m_kind == kKindTable ? static_cast<CTableElement*>(p) : nullptr;
}

CTableElement* TableOfCell(const CElement* cell)
{
    if (!cell || !IsCellKind(cell->m_kind))
        return nullptr;
    return TableOfRow(cell->m_parent);
}

void TableRows(const CElement* table, std::vector<CElement*>& rows)
{
    rows.clear();
    for (CElement* c = table->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTr) {
            rows.push_back(c);
        } else if (IsRowGroupKind(c->m_kind)) {
            for (CElement* r = c->m_firstChild; r; r = r->m_nextSibling) {
                if (r->m_kind == kKindTr)
                    rows.push_back(r);
            }
        }
    }
}

void RowCells(const CElement* row, std::vector<CElement*>& cells)
{
    cells.clear();
    for (CElement* c = row->m_firstChild; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind))
            cells.push_back(c);
    }
}

void CTableElement::GetTRElement(CPtrList* out) const
{
    if (!out)
        return;
    std::vector<CElement*> rows;
    TableRows(this, rows);
    for (CElement* r : rows)
        out->AddTail(r);
}

CElement* CTableElement::GetSingleCell(int row, int column) const
{
    if (row < 0 || column < 0)
        return nullptr;
    std::vector<CElement*> rows;
    TableRows(this, rows);
    if (static_cast<size_t>(row) >= rows.size())
        return nullptr;
    for (CElement* c = rows[row]->m_firstChild; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind) && Covers(c, column))
            return c;
    }
    // A cell of a row above that spans down into the row.
    for (int r = row - 1; r >= 0; --r) {
        for (CElement* c = rows[r]->m_firstChild; c; c = c->m_nextSibling) {
            if (IsCellKind(c->m_kind) && Covers(c, column) && r + GridSpan(c->Style().rowSpan) > row)
                return c;
        }
    }
    return nullptr;
}

void CTableElement::GetCells(CPtrList* out, int mode, int index) const
{
    if (!out)
        return;
    if (mode == 15 && index < 0) {
        const int place = -index;
        if (CElement* cell = GetSingleCell(place / 1000, place % 1000))
            out->AddTail(cell);
        return;
    }
    if (mode == 16) {
        // The one cell at index = row * 1000 + column, (0, 0) included.
        if (CElement* cell = index >= 0 ? GetSingleCell(index / 1000, index % 1000) : nullptr)
            out->AddTail(cell);
        return;
    }
    if (mode != 14 && mode != 15)
        return;
    std::vector<CElement*> rows;
    TableRows(this, rows);
    for (size_t r = 0; r < rows.size(); ++r) {
        const CElement* tr = rows[r];
        if (mode == 14 && index >= 0 && static_cast<int>(r) != index)
            continue;
        for (CElement* c = tr->m_firstChild; c; c = c->m_nextSibling) {
            if (IsCellKind(c->m_kind) && (mode == 14 || Covers(c, index)))
                out->AddTail(c);
        }
    }
}

bool CTableElement::GetRowCol(int& columns, int& rows)
{
    std::vector<CElement*> list;
    TableRows(this, list);
    rows = static_cast<int>(list.size());
    long widest = 0;
    for (const CElement* tr : list) {
        long width = 0;
        for (const CElement* c = tr->m_firstChild; c; c = c->m_nextSibling) {
            if (IsCellKind(c->m_kind))
                width += GridSpan(c->Style().colSpan);
        }
        widest = std::max(widest, width);
    }
    columns = static_cast<int>(widest);
    m_columnCount = columns;
    return true;
}

bool CTableElement::FindCellPosition(const CElement* cell, int& row, int& column, bool counted) const
{
    if (!cell)
        return false;
    std::vector<CElement*> rows;
    TableRows(this, rows);
    for (size_t r = 0; r < rows.size(); ++r) {
        const CElement* tr = rows[r];
        int along = 0;
        for (const CElement* c = tr->m_firstChild; c; c = c->m_nextSibling) {
            if (!IsCellKind(c->m_kind))
                continue;
            if (c == cell) {
                row = static_cast<int>(r);
                const int index = static_cast<const CTDElement*>(c)->m_columnIndex;
                column = counted || index < 0 ? along : index;
                return true;
            }
            along += GridSpan(c->Style().colSpan);
        }
    }
    return false;
}

CElement* CTableElement::GetCellFromPosition(int row, int column, bool exact) const
{
    if (column < 0)
        return nullptr;
    if (row < 0)
        row = 0;
    std::vector<CElement*> rows;
    TableRows(this, rows);
    if (static_cast<size_t>(row) >= rows.size())
        return nullptr;
    const CElement* tr = rows[row];
    for (CElement* c = tr->m_firstChild; c; c = c->m_nextSibling) {
        if (!IsCellKind(c->m_kind))
            continue;
        const int index = static_cast<CTDElement*>(c)->m_columnIndex;
        const int span = c->Style().colSpan;
        if (index == column && (!exact || span < 2))
            return c;
        if (!exact && span >= 2 && column > index && column < index + span)
            return c;
    }
    return nullptr;
}

CElement* CTableElement::GetFirstChildByType(int kind) const
{
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kind)
            return c;
    }
    return nullptr;
}

bool CTableElement::IsDataTable() const
{
    if (m_firstChild && m_firstChild->m_kind == kKindCaption)
        return true;
    return !ForEachCell(this, [](CElement* cell) { return cell->m_kind != kKindTh; });
}

bool CTableElement::IsAllTH(const CElement* cell, bool byRow) const
{
    int row = 0, column = 0;
    if (!FindCellPosition(cell, row, column, false))
        return false;
    CPtrList cells;
    GetCells(&cells, byRow ? 14 : 15, byRow ? row : column);
    if (cells.GetCount() == 0)
        return false;
    bool all = true;
    cells.ForEachItem([&all](void* c) { all = all && static_cast<CElement*>(c)->m_kind == kKindTh; });
    return all;
}

void CTableElement::GetBorderWithoutCaption(CRect& rect) const
{
    rect = Lay().m_sizeRect;
    const CElement* caption = m_firstChild;
    if (!caption || caption->m_kind != kKindCaption)
        return;
    if (caption->Style().captionSide.set && caption->Style().captionSide.value == 4) {
        // A caption below: the frame ends above it.
        const bool margins = caption->Lay().m_marginLeftTop.y > 0 || caption->Lay().m_marginRightBottom.y > 0;
        const long top = caption->Lay().m_position.y - 2
            - (margins ? std::max<long>(0, caption->Lay().m_marginLeftTop.y) + 1 : 0);
        rect.bottom = std::max<long>(rect.top, top);
        return;
    }
    long top = caption->Lay().m_position.y
        + (caption->Lay().m_sizeRect.bottom - caption->Lay().m_sizeRect.top) + 2;
    top += std::max<long>(0, caption->Lay().m_marginLeftTop.y)
        + std::max<long>(0, caption->Lay().m_marginRightBottom.y);
    rect.top = std::min<long>(std::max<long>(rect.top, top), rect.bottom);
}
