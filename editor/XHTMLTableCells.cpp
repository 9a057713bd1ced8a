// Merging the marked cells of a table into one spanning cell, and splitting
// a spanning cell back into its one-by-one grid.
//
// Both work with the layout's column indices (the first grid column a cell
// covers, row spans counted). A merge measures the extent over the rows and
// columns the marked cells cover; the other marked cells give their content
// to the first one (an empty cell's filler is dropped, a blank keeps two
// cells' words apart) and go, and rows left empty go with them. A split
// writes empty copies of the cell (same tag and attributes) beside it in its
// row and in the rows it spanned.

#include "editor/XHTML.h"

#include "editor/TableGrid.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/SourceCode.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x00A0; }

// The first (or last) child of e that shows anything: empty runs and an
// empty cell's filler are passed over.
const CElement* OuterContent(const CElement* e, bool last)
{
    for (const CElement* c = last ? e->m_lastChild : e->m_firstChild; c;
         c = last ? c->m_prevSibling : c->m_nextSibling) {
        if (!(c->IsTextElement() && (c->m_text.IsEmpty() || IsEmptyCellFiller(c))))
            return c;
    }
    return nullptr;
}

// Whether the content at that end of a cell runs on into what is put beside
// it: text not ending (or starting) with white space, or an inline element
// other than a break.
bool RunsOn(const CElement* cell, bool atEnd)
{
    const CElement* c = OuterContent(cell, atEnd);
    if (!c)
        return false;
    if (c->IsTextElement())
        return !IsBlank(c->m_text.GetAt(atEnd ? c->m_text.Length() - 1 : 0));
    return c->m_inline && c->m_kind != kKindBr;
}

// The marked cell's children follow the target's; the filler of an empty
// cell is dropped. A blank goes between two cells' words that would
// otherwise join into one. The emptied cell goes.
void MergeInto(CElement* target, CElement* cell)
{
    if (RunsOn(target, true) && RunsOn(cell, false)) {
        if (CElement* blank = CreateElement("", target->m_rules, target->m_root, target->m_owner)) {
            blank->m_text = " ";
            target->AppendChild(blank);
            blank->StyleChanged(2);
        }
    }
    for (CElement* child = cell->m_firstChild; child;) {
        CElement* next = child->m_nextSibling;
        if (IsEmptyCellFiller(child))
            cell->RemoveChild(child->GetID(), true, false);
        else
            child->MoveCurrentElementTo(target, 0, true);
        child = next;
    }
    CElement::RemoveElement(cell, true);
}

} // namespace

void CXHTML::OnMergecells()
{
    CElement* cell = NearestCell(ContextElement());
    auto* table = cell ? static_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable)) : nullptr;
    if (!table)
        return;
    int columns = 0, rows = 0;
    table->GetRowCol(columns, rows);
    // Every cell with the rows and columns it covers, in table order.
    struct Box
    {
        CElement* cell;
        int top, bottom, left, right;
        bool in;
    };
    std::vector<Box> boxes;
    int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
    ForEachCell(table, [&](CElement* c) {
        int r = 0, column = 0;
        static_cast<CTDElement*>(c)->GetPositionInTable(r, column);
        column = static_cast<CTDElement*>(c)->m_columnIndex;
        boxes.push_back(Box{c, r, std::min(rows - 1, r + GridSpan(c->Style().rowSpan) - 1), column,
            column + GridSpan(c->Style().colSpan) - 1, c->m_wholeCell != 0});
        return true;
    });
    // The extent reaches the last row and column a marked cell covers, and
    // takes in every cell reaching into it (a drag marks the cells starting
    // in its rectangle, not one a marked cell's span covers), so that the
    // merged cell replaces whole cells and every row keeps its width.
    for (bool grown = true; grown;) {
        grown = false;
        for (Box& b : boxes) {
            const bool meets = top <= b.bottom && b.top <= bottom && left <= b.right && b.left <= right;
            if (!b.in && !meets)
                continue;
            grown = grown || !b.in || b.top < top || b.bottom > bottom || b.left < left || b.right > right;
            b.in = true;
            top = std::min(top, b.top);
            bottom = std::max(bottom, b.bottom);
            left = std::min(left, b.left);
            right = std::max(right, b.right);
        }
    }
    CElement* target = nullptr;
    std::vector<CElement*> others;
    for (const Box& b : boxes) {
        if (!b.in)
            continue;
        if (!target)
            target = b.cell;
        else
            others.push_back(b.cell);
    }
    if (!target || others.empty())
        return;
    int rowSpan = bottom - top + 1;
    int colSpan = right - left + 1;
    // A band across the whole table keeps no span in that direction: the
    // rows (or columns) it covered are emptied.
    const bool wholeWidth = colSpan >= columns;
    const bool wholeHeight = rowSpan >= rows;
    if (wholeWidth)
        rowSpan = 1;
    if (wholeHeight)
        colSpan = 1;
    // Merging the last header cells into a data cell leaves no data table,
    // whose cells' header lists then name cells that are gone.
    const bool wasDataTable = table->IsDataTable();
    // The merged cell covers the extent, whatever it spanned before.
    SetCellSpan(target, false, rowSpan);
    SetCellSpan(target, true, colSpan);
    m_doc.m_pointerElement = target;
    for (CElement* c : others)
        MergeInto(target, c);
    // Rows whose cells all went into a cell above go; the cells spanning
    // through them (the merged one too) lose those rows.
    DropEmptyRows(table, true);
    // The marks went with the cells; the caret, when its cell went, comes
    // into the merged cell's content or the nearest place.
    m_doc.CleanSelection();
    ForgetGridSelection();
    target->StyleChanged(1);
    if (wasDataTable || table->IsDataTable())
        table->DoHeaders();
    table->StyleChanged(1);
    m_doc.CheckKeyFocus();
    EndEdit();
}

void CXHTML::OnSplitcell()
{
    CElement* cell = NearestCell(ContextElement());
    if (!cell || !cell->m_parent)
        return;
    int extraColumns = GridSpan(cell->Style().colSpan) - 1;
    int extraRows = GridSpan(cell->Style().rowSpan) - 1;
    if (extraColumns == 0 && extraRows == 0)
        return;
    auto* table = static_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable));
    SetCellSpan(cell, true, 0);
    SetCellSpan(cell, false, 0);
    CSafeBuf copy, w1, w2, w3;
    cell->GetSourceCode(copy, 0, kSourceShallow, w1, w2, w3, nullptr);
    const int column = static_cast<CTDElement*>(cell)->m_columnIndex;
    int rowIndex = 0, unused = 0;
    static_cast<CTDElement*>(cell)->GetPositionInTable(rowIndex, unused);

    // The new cells take the cell's attributes but its id, which names one
    // element only.
    auto insertCopy = [&copy](CElement* into, long refId, bool after) {
        if (CElement* made = into->InsertTagText(copy, refId, after, true, false, false))
            made->SetAttrString("id", "");
    };
    CElement* row = cell->m_parent;
    for (int i = 0; i < extraColumns; ++i)
        insertCopy(row, cell->GetID(), true);
    if (extraRows > 0 && table) {
        std::vector<CElement*> list, cells;
        TableRows(table, list);
        for (int r = rowIndex + 1; r < static_cast<int>(list.size()) && extraRows > 0; ++r, --extraRows) {
            RowCells(list[r], cells);
            // The copies go after the last cell that ends before the column
            // (column indices as they were before the split), else first.
            CElement* ref = nullptr;
            for (auto it = cells.rbegin(); it != cells.rend() && !ref; ++it) {
                const auto* td = static_cast<const CTDElement*>(*it);
                if (td->m_columnIndex + GridSpan(td->Style().colSpan) - 1 < column)
                    ref = *it;
            }
            for (int i = 0; i <= extraColumns; ++i)
                insertCopy(list[r], ref ? ref->GetID() : 0, ref != nullptr);
        }
    }
    if (table) {
        if (table->IsDataTable())
            table->DoHeaders();
        table->StyleChanged(1);
    }
    EndEdit();
}
