// Alignment of table cells, rows and grid columns: "align" (left, center,
// right) or "valign" (top, middle, bottom) set on the context cell or row,
// on the column entry of the context cell's column, or on every marked cell
// (or every row holding one). The command toggles: when every target has
// the value already it is cleared instead.
//
// A state is one bit per value (align 0x10 left, 0x20 center, 0x40 right;
// valign 1 top, 2 middle, 4 bottom), ANDed over the targets.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/NameValue.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"

#include <vector>

namespace {

constexpr int kScopeRow = 1;
constexpr int kScopeColumn = 2;
constexpr int kScopeCell = 4;

struct AlignValue
{
    int bit;
    const char* attribute;
    const char* word;
};

constexpr AlignValue kValues[] = {
    {0x10, "align", "left"},
    {0x20, "align", "center"},
    {0x40, "align", "right"},
    {0x01, "valign", "top"},
    {0x02, "valign", "middle"},
    {0x04, "valign", "bottom"},
};

const AlignValue* ValueOfCode(int code)
{
    for (const AlignValue& v : kValues) {
        if (v.bit == code)
            return &v;
    }
    return nullptr;
}

// The bits of one align and one valign value (words compared ignoring case).
int BitsOf(const CSafeBuf& align, const CSafeBuf& valign)
{
    int bits = 0;
    for (const AlignValue& v : kValues) {
        const CSafeBuf& value = v.attribute[0] == 'a' ? align : valign;
        if (value.CompareNoCase(v.word) == 0)
            bits |= v.bit;
    }
    return bits;
}

int ElementBits(const CElement* e)
{
    CSafeBuf align, valign;
    e->GetAttrString("align", align);
    e->GetAttrString("valign", valign);
    return BitsOf(align, valign);
}

CSafeBuf ColumnValue(const NameValue* attrs, const char* name)
{
    for (const NameValue* a = attrs; a; a = a->next) {
        if (CSafeBuf(a->name).CompareNoCase(name) == 0)
            return CSafeBuf(a->value);
    }
    return CSafeBuf();
}

// The bits of the column entry covering the cell's column; -1 when the
// column has no attributes.
int ColumnBits(const CTableElement* table, const CElement* cell)
{
    const NameValue* attrs = table->GetColAttrs(static_cast<const CTDElement*>(cell)->m_columnIndex);
    if (!attrs)
        return -1;
    return BitsOf(ColumnValue(attrs, "align"), ColumnValue(attrs, "valign"));
}

void MarkedCells(const CElement* table, std::vector<CElement*>& out)
{
    ForEachCell(table, [&](CElement* c) {
        if (c->m_wholeCell)
            out.push_back(c);
        return true;
    });
}

// Rows of the table holding a marked (or selected) cell.
void RowsWithMarks(const CElement* table, std::vector<CElement*>& out)
{
    std::vector<CElement*> rows;
    TableRows(table, rows);
    for (CElement* row : rows) {
        bool marked = row->HaveSelectedChild();
        for (const CElement* c = row->m_firstChild; c && !marked; c = c->m_nextSibling)
            marked = IsCellKind(c->m_kind) && c->m_wholeCell;
        if (marked)
            out.push_back(row);
    }
}

} // namespace

void CXHTML::DoAlignTable(int code, int scope)
{
    CElement* e = ContextElement();
    const AlignValue* value = ValueOfCode(code);
    if (!e || !value)
        return;
    CElement* cell = NearestCell(e);
    CElement* row = NearestOfKind(e, kKindTr);
    auto* table = static_cast<CTableElement*>(NearestOfKind(e, kKindTable));
    if (!table)
        return;
    CElement* target
        = scope == kScopeRow ? row : (scope == kScopeCell || scope == kScopeColumn ? cell : nullptr);
    const bool marks = m_doc.m_cellMarkMode != 0;
    const bool useMarks = marks && (!target || (cell && cell->m_wholeCell));
    if (!target && !marks)
        return;

    std::vector<CElement*> items;
    if (useMarks) {
        if (scope == kScopeRow)
            RowsWithMarks(table, items);
        else
            MarkedCells(table, items);
    } else {
        items.push_back(target);
    }
    if (items.empty())
        return;

    int state = code;
    for (CElement* item : items) {
        const int bits = scope == kScopeColumn ? ColumnBits(table, item) : ElementBits(item);
        state = bits < 0 ? 0 : state & bits;
        if (!state)
            break;
    }
    const char* word = state ? "" : value->word;
    for (CElement* item : items) {
        if (scope == kScopeColumn) {
            table->ModifyColAttrs(static_cast<CTDElement*>(item)->m_columnIndex, value->attribute, word);
        } else {
            item->SetAttrString(value->attribute, word);
            if (item->m_parent)
                item->m_parent->StyleChanged(0);
        }
    }
    if (scope == kScopeColumn)
        table->StyleChanged(1);
    EndEdit();
}

int CXHTML::GetRowAlignState(CElement* row, bool selected)
{
    if (!row)
        return 0;
    std::vector<CElement*> rows;
    if (selected) {
        if (CElement* table = TableOfRow(row))
            RowsWithMarks(table, rows);
    } else {
        rows.push_back(row);
    }
    int state = 0xFF;
    for (const CElement* r : rows)
        state &= ElementBits(r);
    return state;
}

int CXHTML::GetTDAlignState(CElement* cell, int* columnState)
{
    if (!cell)
        return 0;
    CTableElement* table = TableOfCell(cell);
    std::vector<CElement*> cells;
    if (table && m_doc.m_cellMarkMode && cell->m_wholeCell)
        MarkedCells(table, cells);
    else
        cells.push_back(cell);
    int state = 0xFF;
    int columns = 0xFF;
    bool anyColumn = false;
    for (const CElement* c : cells) {
        state &= ElementBits(c);
        const int bits = table ? ColumnBits(table, c) : -1;
        if (bits >= 0) {
            columns &= bits;
            anyColumn = true;
        }
    }
    if (columnState)
        *columnState = anyColumn ? columns : 0;
    return state;
}

void CXHTML::OnAlignTableLeft() { DoAlignTable(0x10, kScopeCell); }
void CXHTML::OnAlignTableCenter() { DoAlignTable(0x20, kScopeCell); }
void CXHTML::OnAlignTableRight() { DoAlignTable(0x40, kScopeCell); }
void CXHTML::OnAlignTableTop() { DoAlignTable(0x01, kScopeCell); }
void CXHTML::OnAlignTableMiddle() { DoAlignTable(0x02, kScopeCell); }
void CXHTML::OnAlignTableBottom() { DoAlignTable(0x04, kScopeCell); }
void CXHTML::OnAlignTableLeftR() { DoAlignTable(0x10, kScopeRow); }
void CXHTML::OnAlignTableCenterR() { DoAlignTable(0x20, kScopeRow); }
void CXHTML::OnAlignTableRightR() { DoAlignTable(0x40, kScopeRow); }
void CXHTML::OnAlignTableTopR() { DoAlignTable(0x01, kScopeRow); }
void CXHTML::OnAlignTableMiddleR() { DoAlignTable(0x02, kScopeRow); }
void CXHTML::OnAlignTableBottomR() { DoAlignTable(0x04, kScopeRow); }
void CXHTML::OnAlignTableLeftC() { DoAlignTable(0x10, kScopeColumn); }
void CXHTML::OnAlignTableCenterC() { DoAlignTable(0x20, kScopeColumn); }
void CXHTML::OnAlignTableRightC() { DoAlignTable(0x40, kScopeColumn); }
void CXHTML::OnAlignTableTopC() { DoAlignTable(0x01, kScopeColumn); }
void CXHTML::OnAlignTableMiddleC() { DoAlignTable(0x02, kScopeColumn); }
void CXHTML::OnAlignTableBottomC() { DoAlignTable(0x04, kScopeColumn); }
