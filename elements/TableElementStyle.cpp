// The table's style: its defaults, what it passes to its rows and cells
// (paddings, spacing, borders), hidden borders of collapsed tables, and its
// frame and selection marks.

#include "elements/TableElement.h"

#include "base/geometry/Colour.h"
#include "element/services/XHTMLServices.h"
#include "elements/TDElement.h"
#include "style/draw/DrawPrimitives.h"
#include "style/records/StyleRecords.h"

#include <cstring>

namespace {

constexpr unsigned long kTableBorderColour = RGB(60, 60, 60);
constexpr unsigned long kLightFrame = RGB(200, 200, 200);
constexpr int kDefaultSpacing = 2;
constexpr int kDefaultPadding = 1;

void DefaultPadding(STYLE_TYPE& cell)
{
    SetStyleType(&cell, kDefaultPadding, kUnitPixels, 0, kOriginNone, true, false, false, nullptr);
}

// The facing side of the neighbour at (row, column) becomes hidden.
void HideSide(CTableElement* table, int row, int column, int side)
{
    if (row < 0 || column < 0)
        return;
    if (CElement* other = table->GetCellFromPosition(row, column, false))
        other->EditStyle().border[side].style = kLineHidden;
}

void HideFacingBorders(CTableElement* table)
{
    ForEachCell(table, [table](CElement* cell) {
        const ELEMENT_STYLE& s = cell->Style();
        int r = 0, c = 0;
        if (!s.borderSet || !static_cast<CTDElement*>(cell)->GetPositionInTable(r, c))
            return true;
        const int span = GridSpan(s.colSpan);
        const int rowSpan = GridSpan(s.rowSpan);
        if (s.border[kBorderTop].style == kLineHidden && r > 0)
            HideSide(table, r - 1, c, kBorderBottom);
        if (s.border[kBorderBottom].style == kLineHidden)
            HideSide(table, r + rowSpan, c, kBorderTop);
        if (s.border[kBorderLeft].style == kLineHidden)
            HideSide(table, r, c - 1, kBorderRight);
        if (s.border[kBorderRight].style == kLineHidden)
            HideSide(table, r, c + span, kBorderLeft);
        return true;
    });
}

// The paddings of a row or cell, and the table's, in the same order.
template <class Style, class Cell>
void Paddings(Style& s, Cell* (&out)[4])
{
    out[0] = &s.paddingTop;
    out[1] = &s.paddingBottom;
    out[2] = &s.paddingLeft;
    out[3] = &s.paddingRight;
}

// The table's padding as a row or cell that has none of its own takes it.
STYLE_TYPE TakenPadding(const STYLE_TYPE& table)
{
    STYLE_TYPE taken = table;
    taken.origin = kOriginNone;
    return taken;
}

// The rows and cells of the table in document order: its descendants,
// without nested tables and what they hold, and without divs (whose content
// is visited).
template <class Fn>
void ForEachRowPart(CElement* e, const Fn& fn)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTable)
            continue;
        if (c->m_kind == kKindTr || IsCellKind(c->m_kind))
            fn(c);
        ForEachRowPart(c, fn);
    }
}

// Whether the row or cell e holds what the table passes down already: its
// paddings where it has none of its own, the cell spacing and, for a cell
// without a border of its own, the table's border.
bool HoldsTableValues(const CElement* e, const ELEMENT_STYLE& from)
{
    const ELEMENT_STYLE& s = e->Style();
    const STYLE_TYPE* own[4];
    const STYLE_TYPE* table[4];
    Paddings(s, own);
    Paddings(from, table);
    for (int i = 0; i < 4; ++i) {
        if (IsOwnValue(*own[i]))
            continue;
        const STYLE_TYPE taken = TakenPadding(*table[i]);
        if (std::memcmp(own[i], &taken, sizeof taken) != 0)
            return false;
    }
    if (s.cellSpacing != from.cellSpacing)
        return false;
    return !IsCellKind(e->m_kind) || HasOwnCellBorder(e) || HoldsCellBorder(e, from);
}

void TakeTableValues(CElement* e, const ELEMENT_STYLE& from)
{
    ELEMENT_STYLE& s = e->EditStyle();
    STYLE_TYPE* own[4];
    const STYLE_TYPE* table[4];
    Paddings(s, own);
    Paddings(from, table);
    for (int i = 0; i < 4; ++i) {
        if (!IsOwnValue(*own[i]))
            *own[i] = TakenPadding(*table[i]);
    }
    s.cellSpacing = from.cellSpacing;
    if (IsCellKind(e->m_kind) && !HasOwnCellBorder(e))
        TakeCellBorder(e, from);
}

void ThreeFrames(void* dc, CRect box, unsigned long colour, const CElement* e)
{
    for (int i = 0; i < 3; ++i) {
        xFrameRect(dc, box, colour, e);
        box.DeflateRect(1, 1);
    }
}

} // namespace

CTableElement::CTableElement(STYLE_CLASS* rules) : CElement(rules)
{
    m_kind = kKindTable;
    SetTableDefaults();
    DefaultPadding(EditStyle().paddingTop);
    DefaultPadding(EditStyle().paddingBottom);
    DefaultPadding(EditStyle().paddingLeft);
    DefaultPadding(EditStyle().paddingRight);
    SetStyleType(&EditStyle().clear, kFloatBoth, 0, 0, kOriginNone, true, false, false, nullptr);
}

void CTableElement::SetTableDefaults()
{
    EditStyle().borderSet = 0;
    for (BORDER_SIDE& side : EditStyle().border)
        side = BORDER_SIDE{kLineSolid, 1, kUnitPixels, static_cast<std::int32_t>(kTableBorderColour), 0, 0};
    EditStyle().cellSpacing = kDefaultSpacing;
}

void CTableElement::ResetStyle(bool clearBox)
{
    CElement::ResetStyle(clearBox);
    SetTableDefaults();
    DefaultPadding(EditStyle().paddingTop);
    DefaultPadding(EditStyle().paddingBottom);
    DefaultPadding(EditStyle().paddingLeft);
    DefaultPadding(EditStyle().paddingRight);
}

bool CTableElement::SetAttrFromStyle()
{
    // The border attribute frames every side alike.
    ELEMENT_STYLE& s = EditStyle();
    if (s.borderSet && s.borderFromAttribute && s.borderOrigin == kOriginAttribute) {
        for (BORDER_SIDE& side : s.border) {
            side.width = s.border[kBorderTop].width;
            side.set = 1;
        }
    }
    Lay().m_cssRect.right = s.widthSet && s.widthUnit == kUnitPixels ? s.width : 0;
    Lay().m_cssRect.bottom = s.heightSet && s.heightUnit == kUnitPixels ? s.height : 0;
    return true;
}

bool CTableElement::StyleChanged(int mode)
{
    // The cells find their column entries by their column index.
    AssignTDIndex();
    CElement::StyleChanged(mode);
    const ELEMENT_STYLE& from = Style();
    ForEachRowPart(this, [&from](CElement* e) {
        // Mostly the values were taken already: the record stays as it was,
        // and is not copied to be written with what it holds.
        if (e->m_style.IsShared() && HoldsTableValues(e, from))
            return;
        const CSharedStyle before = e->m_style.IsShared() ? e->m_style : CSharedStyle();
        TakeTableValues(e, from);
        if (e->m_prevSibling)
            e->m_style.Share(before, e->m_prevSibling->m_style);
        else
            e->m_style.Share(before);
    });
    AssignTDIndex();
    if (Style().borderCollapse.set && Style().borderCollapse.value == 1)
        HideFacingBorders(this);
    return true;
}

bool CTableElement::SelfPaint(void*, CPoint) { return true; }

bool CTableElement::DrawBorder(void* dc, CPoint origin, CRect*)
{
    if (!dc)
        return true;
    CRect box;
    GetBorderWithoutCaption(box);
    if (Style().borderSet)
        return CElement::DrawBorder(dc, origin, &box);
    box.OffsetRect(origin.x, origin.y);
    xFrameRect(dc, box, kLightFrame, this);
    return true;
}

bool CTableElement::DrawMarkOnElement(void* dc, CPoint origin)
{
    // Dark red when the table itself is selected, blue when a table
    // selection of the engine marks it.
    const bool marked = m_owner && m_owner->IsGridMarked(this);
    if (!dc || (!m_selected && !marked))
        return false;
    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    ThreeFrames(dc, box, m_selected ? RGB(128, 0, 0) : RGB(0, 0, 255), this);
    return true;
}

int CTableElement::MouseLeaveElement(CPoint pt) { return CElement::MouseLeaveElement(pt); }

int CTableElement::MouseEnterElement(CPoint pt) { return CElement::MouseEnterElement(pt); }
