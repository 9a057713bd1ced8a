// The table row: its cells side by side, and what it takes from its group or
// table.

#include "elements/TRElement.h"

#include "base/geometry/Colour.h"
#include "element/services/XHTMLServices.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>
#include <vector>

namespace {

// What rows and groups take from the element above them (mode bit 1): the
// border block, the spacing, and the paddings they do not set; and the
// alignment halves they do not set.
void TakeTableStyle(CElement* e, CElement* parent, int mode)
{
    const ELEMENT_STYLE& from = parent->Style();
    ELEMENT_STYLE& s = e->EditStyle();
    if (mode & 1) {
        s.borderSet = from.borderSet;
        std::copy(std::begin(from.border), std::end(from.border), s.border);
        s.cellSpacing = from.cellSpacing;
        STYLE_TYPE* own[4] = {&s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight};
        const STYLE_TYPE* up[4]
            = {&from.paddingTop, &from.paddingBottom, &from.paddingLeft, &from.paddingRight};
        for (int i = 0; i < 4; ++i) {
            if (!IsOwnValue(*own[i])) {
                *own[i] = *up[i];
                own[i]->origin = kOriginNone;
            }
        }
    }
    const bool ownH = s.hAlignSet && s.hAlignOrigin != kOriginNone;
    const bool ownV = s.vAlignSet && s.vAlignOrigin != kOriginNone;
    const std::uint16_t horizontal = from.align & kAlignHorizontalMask;
    const std::uint16_t vertical = from.align & kAlignVerticalMask;
    if (horizontal && !ownH && (from.hAlignSet || parent->m_kind != kKindTable)) {
        s.align = static_cast<std::uint16_t>((s.align & kAlignVerticalMask) | horizontal);
        s.hAlignSet = 1;
        s.hAlignOrigin = kOriginNone;
    }
    if (vertical && !ownV && (from.vAlignSet || parent->m_kind != kKindTable)) {
        s.align = static_cast<std::uint16_t>((s.align & kAlignHorizontalMask) | vertical);
        s.vAlignSet = 1;
        s.vAlignOrigin = kOriginNone;
    }
}

} // namespace

void TakeRowStyle(CElement* e, CElement* parent, int mode) { TakeTableStyle(e, parent, mode); }

bool CTRElement::BeforeChildCalReg(void*) { return true; }

bool CTRElement::CopyFromParent(CElement* parent, int mode)
{
    if (!CElement::CopyFromParent(parent, mode))
        return false;
    TakeTableStyle(this, parent, mode);
    return true;
}

bool CTRElement::CalcWinReg(void* dc, bool noChildCalc, bool, CalcInfo* info)
{
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    CalcForAll(dc, false, false);
    Lay().m_sizeRect.SetRectEmpty();
    m_gridWidth = 0;
    m_tallSpans = false;
    m_rowHeight = 0;
    const CTableElement* table = TableOfRow(this);
    const int spacing = table ? table->Style().cellSpacing : Style().cellSpacing;
    long x = 0;
    int tallest = -1;
    bool first = true;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (!IsCellKind(c->m_kind))
            continue;
        auto* cell = static_cast<CTDElement*>(c);
        if (!first)
            x = AddCoord(x, spacing);
        first = false;
        // Where the table's last layout put the cell's column.
        long at = x;
        const std::vector<int>& columnX = table ? table->m_columnX : std::vector<int>();
        if (cell->m_hasTableBox && columnX.size() >= 2) {
            const size_t index
                = std::min(static_cast<size_t>(std::max(0, cell->m_columnIndex)), columnX.size() - 2);
            at = columnX[index];
        }
        cell->Lay().m_position = CPoint(at, 0);
        if (!noChildCalc)
            cell->CalculateReg(dc, info);
        x = AddCoord(at, BoxWidth(cell));
        const int height = BoxHeight(cell);
        if (c->Style().rowSpan < 2)
            m_rowHeight = std::max(m_rowHeight, height);
        if (height > tallest) {
            tallest = height;
            m_tallSpans = c->Style().rowSpan >= 2;
        }
        m_gridWidth += GridSpan(c->Style().colSpan);
    }
    Lay().m_sizeRect = CRect(0, 0, x, m_rowHeight);
    return true;
}

bool CTRElement::GetMinSize(CSize&, bool) { return true; }

bool CTRElement::SelfPaint(void*, CPoint) { return true; }

bool CTRElement::DrawBorder(void*, CPoint, CRect*) { return true; }

bool CTRElement::DrawMarkOnElement(void* dc, CPoint origin)
{
    // Dark red when the row itself is selected, blue when a row selection
    // of the engine marks it.
    const bool marked = m_owner && m_owner->IsGridMarked(this);
    if (!dc || (!m_selected && !marked))
        return false;
    const unsigned long colour = m_selected ? RGB(128, 0, 0) : RGB(0, 0, 255);
    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    for (int i = 0; i < 3; ++i) {
        xFrameRect(dc, box, colour, this);
        box.DeflateRect(1, 1);
    }
    return true;
}
