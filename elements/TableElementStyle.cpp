// The table's style: its defaults, what it passes to its rows and cells
// (paddings, spacing, borders), hidden borders of collapsed tables, and its
// frame and selection marks.

#include "elements/TableElement.h"

#include "base/geometry/Colour.h"
#include "element/services/XHTMLServices.h"
#include "elements/TDElement.h"
#include "style/draw/DrawPrimitives.h"
#include "style/records/StyleRecords.h"

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
    CPtrList parts;
    GetAllChildren(&parts, kKindTable, false, 0, 0);
    const ELEMENT_STYLE& from = Style();
    parts.ForEachItem([&from](void* item) {
        CElement* e = static_cast<CElement*>(item);
        if (e->m_kind != kKindTr && !IsCellKind(e->m_kind))
            return;
        // Mostly the values were taken already: the record stays as it was.
        const CSharedStyle before = e->m_style.IsShared() ? e->m_style : CSharedStyle();
        ELEMENT_STYLE& s = e->EditStyle();
        STYLE_TYPE* own[4] = {&s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight};
        const STYLE_TYPE* table[4]
            = {&from.paddingTop, &from.paddingBottom, &from.paddingLeft, &from.paddingRight};
        for (int i = 0; i < 4; ++i) {
            if (!IsOwnValue(*own[i])) {
                *own[i] = *table[i];
                own[i]->origin = kOriginNone;
            }
        }
        s.cellSpacing = from.cellSpacing;
        if (IsCellKind(e->m_kind) && !HasOwnCellBorder(e))
            TakeCellBorder(e, from);
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
