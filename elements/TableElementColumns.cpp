// What the table's layout and its parents ask of its columns: the minimum
// width of every column and of the table, and the width of a column's cell.

#include "elements/TableElement.h"

#include "elements/TDElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>

void CTableElement::GetTableCellMinWidth(std::vector<int>& widths)
{
    ForEachCell(this, [&widths](CElement* c) {
        auto* cell = static_cast<CTDElement*>(c);
        const CSize least = cell->KeptMinSize();
        const int span = GridSpan(c->Style().colSpan);
        const int share = static_cast<int>(least.cx / span);
        const long first = std::max(0, cell->m_columnIndex);
        for (long k = first; k < first + span && k < static_cast<long>(widths.size()); ++k) {
            if (share > 0 && share > widths[k])
                widths[k] = share;
        }
        return true;
    });
}

int CTableElement::GetWidthOfCell(int column) const
{
    int width = 0;
    ForEachCell(this, [&](CElement* c) {
        if (c->Style().colSpan >= 2 || static_cast<CTDElement*>(c)->m_columnIndex != column)
            return true;
        width = BoxWidth(c);
        return false;
    });
    return width;
}

bool CTableElement::GetMinSize(CSize& size, bool)
{
    // Asked again in the same pass, the table answers what it found: the
    // tables around a nested one ask for it at each of their layouts.
    const unsigned long pass = LayoutNesting::CurrentPass();
    if (pass != 0 && m_minPass == pass) {
        size.cx = std::max<LONG>(size.cx, m_minWidth);
        return true;
    }
    long least = 0;
    if (Style().widthSet && Style().widthUnit == kUnitPixels && Style().width > 0) {
        least = Style().width;
    } else {
        AssignTDIndex();
        std::vector<int> widths;
        int columns = 0, rows = 0;
        GetRowCol(columns, rows);
        int extent = 0;
        ForEachCell(this, [&extent](CElement* c) {
            const int col
                = std::min(std::max(0, static_cast<CTDElement*>(c)->m_columnIndex), kMaxLayoutColumns - 1);
            extent = std::max(extent, std::min(kMaxLayoutColumns, col + GridSpan(c->Style().colSpan)));
            return true;
        });
        widths.assign(extent, 0);
        GetTableCellMinWidth(widths);
        CRect border;
        GetBorderRect(border, true);
        const int S = std::max<int>(0, Style().cellSpacing);
        least = border.left + border.right + S;
        for (int w : widths)
            least = AddCoord(least, static_cast<long>(S) + w);
        if (CElement* caption = GetFirstChildByType(kKindCaption)) {
            CSize c(0, 0);
            caption->GetMinSize(c, false);
            least = std::max<long>(least, c.cx);
        }
    }
    m_minPass = pass;
    m_minWidth = least;
    size.cx = std::max<LONG>(size.cx, least);
    return true;
}
