// Resizing a table's columns and edges with the mouse: where the resize
// cursor shows, and what a drag writes. Column widths from a drag are kept
// as "width" attributes of the table's col entries (content widths, without
// paddings and borders), so that they are written back into the markup; the
// table's own edge sets its width attribute.

#include "elements/TableElement.h"

#include "element/NameValue.h"
#include "element/TreeQueries.h"
#include "element/services/XHTMLServices.h"
#include "elements/TDElement.h"
#include "style/layout/LayoutBox.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kResizeCursor = 4;
constexpr int kBand = 5;
constexpr int kNoResizeOption = 32;

// The horizontal paddings and borders of the cells of a column: those of
// its first cell without span, else the table's cell padding.
int ColumnEdges(CTableElement* table, int column)
{
    int edges = Paddings(table).Horizontal();
    ForEachCell(table, [&](CElement* c) {
        auto* cell = static_cast<CTDElement*>(c);
        if (cell->m_columnIndex != column || c->Style().colSpan >= 2)
            return true;
        const CRect e = cell->GetEdges();
        edges = e.left + e.right;
        return false;
    });
    return edges;
}

void WriteDecimal(char (&text)[24], long n) { std::snprintf(text, sizeof text, "%ld", n); }

// A width given in pixels: digits, optionally followed by "px"; -1 for a
// percentage, anything else or a width past any screen.
long PixelWidth(const CSafeBuf& text)
{
    const int n = text.Length();
    long value = 0;
    int i = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1000000)
            return -1;
    }
    if (i == 0)
        return -1;
    if (i == n)
        return value;
    return (n - i == 2 && text[i] == 'p' && text[i + 1] == 'x') ? value : -1;
}

} // namespace

// With a pixel width on the table, the last column takes what the other
// columns (their content widths from the col entries, else as laid out,
// each with its paddings and borders), the cell spacing and the table's
// borders leave of it; its entry loses its width when nothing is left.
void CTableElement::FitLastColumn()
{
    CSafeBuf attribute;
    GetAttrString("width", attribute);
    const long tableWidth = PixelWidth(attribute);
    const int columns = static_cast<int>(m_columnX.size()) - 1;
    if (tableWidth < 0 || columns < 1 || columns > kMaxTableColumns)
        return;
    const int S = std::max<int>(0, Style().cellSpacing);
    long used = FlowBorders(this).Horizontal() + static_cast<long>(columns + 1) * S;
    for (int k = 0; k < columns; ++k) {
        used += ColumnEdges(this, k);
        if (k == columns - 1)
            break;
        CSafeBuf width;
        NameValue* attrs = GetColAttrs(k);
        const long given = attrs && FindNameInNameValues(attrs, "width", width) ? PixelWidth(width) : -1;
        used += given >= 0 ? given : m_columnX[k + 1] - m_columnX[k] - S - ColumnEdges(this, k);
    }
    const long left = tableWidth - used;
    char text[24];
    if (left > 0) {
        WriteDecimal(text, left);
        ModifyColAttrs(columns - 1, "width", text);
    } else {
        ModifyColAttrs(columns - 1, "width", "");
    }
}

int CTableElement::MouseCursorType(CPoint pt)
{
    if (IsElementLocked(this, false, 0, false) || (m_owner && (m_owner->Options() & kNoResizeOption)))
        return 0;
    CPoint own = pt;
    PointToElement(own);
    const long w = BoxWidth(this), h = BoxHeight(this);
    if (own.y >= 0 && own.y <= h) {
        if ((own.x >= 0 && own.x < kBand) || (own.x > w - kBand && own.x <= w))
            return kResizeCursor;
    }
    const bool onBorder = !ForEachCell(this, [&](CElement* c) {
        auto* cell = static_cast<CTDElement*>(c);
        CPoint at = pt;
        cell->PointToElement(at);
        if (at.y < 0 || at.y > BoxHeight(cell))
            return true;
        const int span = std::max<int>(1, c->Style().colSpan);
        const long cw = BoxWidth(cell);
        const bool left = at.x >= 0 && at.x < kBand && cell->m_columnIndex > 0;
        const bool right = at.x > cw - kBand && at.x <= cw && cell->m_columnIndex + span < m_columnCount;
        return !left && !right;
    });
    return onBorder ? kResizeCursor : 0;
}

int CTableElement::GetMinWidthOfColumn(int column)
{
    int least = 0;
    ForEachCell(this, [&](CElement* c) {
        if (static_cast<CTDElement*>(c)->m_columnIndex == column && c->Style().colSpan <= 1) {
            CSize size(0, 0);
            c->GetMinSize(size, true);
            least = std::max<int>(least, size.cx);
        }
        return true;
    });
    return least;
}

bool CTableElement::DoResize(CElement* element, int width, int mode)
{
    if (!element || width < 0)
        return false;
    char text[24];
    if (element == this) {
        WriteDecimal(text, width);
        SetAttrString("width", text);
        if (m_colgroups)
            FitLastColumn();
        StyleChanged(1);
        return true;
    }
    auto* cell = IsCellKind(element->m_kind) && TableOfCell(element) == this
        ? static_cast<CTDElement*>(element)
        : nullptr;
    const std::vector<int>& x = m_columnX;
    const int columns = static_cast<int>(x.size()) - 1;
    if (!cell || columns < 2 || columns > kMaxTableColumns || cell->m_columnIndex < 0)
        return false;
    const int span = GridSpan(cell->Style().colSpan);
    const int S = std::max<int>(0, Style().cellSpacing);
    // The column beside the dragged border and its neighbour across it; a
    // spanning cell moves the border of its first or last column by as much.
    const int dragged = mode == 10 ? cell->m_columnIndex : cell->m_columnIndex + span - 1;
    const int neighbour = mode == 10 ? dragged - 1 : dragged + 1;
    if (neighbour < 0 || neighbour >= columns || dragged >= columns)
        return false;
    const int current = BoxWidth(cell);
    if (width == current)
        return false;
    auto content = [&](int k) { return x[k + 1] - x[k] - S - ColumnEdges(this, k); };
    const int pair = content(dragged) + content(neighbour);
    int newDragged = content(dragged) + (width - current);
    int newNeighbour = pair - newDragged;
    const int minDragged = std::max(0, GetMinWidthOfColumn(dragged) - ColumnEdges(this, dragged));
    const int minNeighbour = std::max(0, GetMinWidthOfColumn(neighbour) - ColumnEdges(this, neighbour));
    if (newDragged < minDragged) {
        newDragged = minDragged;
        newNeighbour = pair - newDragged;
        if (newNeighbour < minNeighbour)
            return false;
    } else if (newNeighbour < minNeighbour) {
        newNeighbour = minNeighbour;
        newDragged = pair - newNeighbour;
        if (newDragged < minDragged)
            return false;
    }
    // A cell spanning either column must keep its minimum width.
    std::vector<int> widths(columns);
    for (int k = 0; k < columns; ++k)
        widths[k] = content(k);
    widths[dragged] = newDragged;
    widths[neighbour] = newNeighbour;
    const bool spansFit = ForEachCell(this, [&](CElement* c) {
        const int first = std::max(0, static_cast<CTDElement*>(c)->m_columnIndex);
        const int n = GridSpan(c->Style().colSpan);
        if (n < 2 || first >= columns)
            return true;
        const int last = std::min(columns - 1, first + n - 1);
        if ((dragged < first || dragged > last) && (neighbour < first || neighbour > last))
            return true;
        long total = static_cast<long>(last - first) * S;
        for (int k = first; k <= last; ++k)
            total += widths[k] + ColumnEdges(this, k);
        CSize least(0, 0);
        c->GetMinSize(least, true);
        return total >= least.cx;
    });
    if (!spansFit)
        return false;
    if (!m_colgroups) {
        for (int k = 0; k < columns; ++k) {
            if (!ModifyColAttrs(k, "span", ""))
                return false;
        }
    }
    WriteDecimal(text, newDragged);
    ModifyColAttrs(dragged, "width", text);
    WriteDecimal(text, newNeighbour);
    ModifyColAttrs(neighbour, "width", text);
    FitLastColumn();
    StyleChanged(1);
    return true;
}
