// The table cell: its defaults, what it takes from its row and table, its
// layout inside the box the table gives it, its frame, and the attributes
// and rules of its column group.

#include "elements/TDElement.h"

#include "base/geometry/Colour.h"
#include "element/NameValue.h"
#include "elements/TableElement.h"
#include "elements/TableNesting.h"
#include "style/draw/DrawPrimitives.h"
#include "style/floats/FloatIndex.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutSteps.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr unsigned long kCellBorderColour = RGB(60, 60, 60);
constexpr unsigned long kLightFrame = RGB(200, 200, 200);

// One layout runs at a time, on the main thread.
bool g_keepContent = true;
unsigned long g_keptContent = 0;

bool OwnHalf(std::uint8_t set, std::uint8_t origin) { return set && origin != kOriginNone; }

// The sides' widths of a cell whose border is set (none and hidden sides
// count 0).
BoxEdges CellBorders(CElement* cell)
{
    BoxEdges b;
    if (!cell->Style().borderSet)
        return b;
    CRect r;
    cell->GetBorderRect(r, true);
    b.left = std::max<int>(0, ClampLength(r.left));
    b.top = std::max<int>(0, ClampLength(r.top));
    b.right = std::max<int>(0, ClampLength(r.right));
    b.bottom = std::max<int>(0, ClampLength(r.bottom));
    return b;
}

void MoveChildren(CElement* e, int dx, int dy)
{
    if (!dx && !dy)
        return;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        MoveBox(c, CPoint(AddCoord(c->Lay().m_position.x, dx), AddCoord(c->Lay().m_position.y, dy)));
}

// Vertical alignment of the content, floats included, inside the height
// less the edges; the rows the content moved down.
int AlignVertically(CElement* cell, int alignment, const BoxEdges& edges)
{
    int top = INT_MAX, bottom = INT_MIN;
    for (const CElement* c = cell->m_firstChild; c; c = c->m_nextSibling) {
        top = std::min<int>(top, c->Lay().m_position.y);
        bottom = std::max<int>(bottom, AddCoord(c->Lay().m_position.y, BoxHeight(c)));
    }
    if (top > bottom)
        return 0;
    const int height = BoxHeight(cell);
    int dy = 0;
    if (alignment == kAlignMiddle)
        dy = edges.top + (height - edges.Vertical() - (bottom - top)) / 2 - top;
    else if (alignment == kAlignBottom)
        dy = height - edges.bottom - bottom;
    if (dy <= 0)
        return 0;
    MoveChildren(cell, 0, dy);
    return dy;
}

// The spacing of the table around the cell; the cell's own without one.
int SpacingOf(const CElement* cell)
{
    const CTableElement* table = TableOfCell(cell);
    return table ? table->Style().cellSpacing : cell->Style().cellSpacing;
}

void CopyPaddings(ELEMENT_STYLE& s, const ELEMENT_STYLE& from)
{
    STYLE_TYPE* own[4] = {&s.paddingTop, &s.paddingBottom, &s.paddingLeft, &s.paddingRight};
    const STYLE_TYPE* up[4] = {&from.paddingTop, &from.paddingBottom, &from.paddingLeft, &from.paddingRight};
    for (int i = 0; i < 4; ++i) {
        if (!IsOwnValue(*own[i])) {
            *own[i] = *up[i];
            own[i]->origin = kOriginNone;
        }
    }
}

} // namespace

bool SpansGivenWidth(const CElement* e)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind)) {
            auto* cell = dynamic_cast<CTDElement*>(a);
            return !cell || cell->SpansParagraph();
        }
        if (a->m_kind == kKindCaption) {
            const auto* table = dynamic_cast<const CTableElement*>(a->m_parent);
            return !table || !table->m_measuringCaption;
        }
    }
    return true;
}

bool HasOwnCellBorder(const CElement* cell)
{
    return cell->Style().borderSet && cell->Style().borderOrigin != kOriginNone;
}

namespace {

// One side of the border taken from above.
BORDER_SIDE TakenSide(const BORDER_SIDE& up, bool borderSet)
{
    BORDER_SIDE b;
    b.style = up.style ? up.style : kLineSolid;
    b.width = 1;
    b.unit = kUnitPixels;
    b.color = up.colorSet ? up.color : static_cast<std::int32_t>(borderSet ? kCellBorderColour : kLightFrame);
    b.set = 1;
    b.colorSet = 1;
    return b;
}

} // namespace

void TakeCellBorder(CElement* cell, const ELEMENT_STYLE& from)
{
    ELEMENT_STYLE& s = cell->EditStyle();
    s.borderSet = from.borderSet;
    s.borderOrigin = kOriginNone;
    for (int side = 0; side < 4; ++side)
        s.border[side] = TakenSide(from.border[side], from.borderSet != 0);
}

bool HoldsCellBorder(const CElement* cell, const ELEMENT_STYLE& from)
{
    const ELEMENT_STYLE& s = cell->Style();
    if (s.borderSet != from.borderSet || s.borderOrigin != kOriginNone)
        return false;
    for (int side = 0; side < 4; ++side) {
        const BORDER_SIDE taken = TakenSide(from.border[side], from.borderSet != 0);
        if (std::memcmp(&s.border[side], &taken, sizeof taken) != 0)
            return false;
    }
    return true;
}

CTDElement::CTDElement(STYLE_CLASS* rules) : CElement(rules)
{
    m_kind = kKindTd;
    for (BORDER_SIDE& side : EditStyle().border)
        side = BORDER_SIDE{kLineSolid, 1, kUnitPixels, static_cast<std::int32_t>(kCellBorderColour), 0, 0};
    EditStyle().align = static_cast<std::uint16_t>((EditStyle().align & kAlignHorizontalMask) | kAlignMiddle);
}

void CTDElement::ResetStyle(bool clearBox)
{
    CElement::ResetStyle(clearBox);
    if (!Style().borderSet) {
        for (BORDER_SIDE& side : EditStyle().border)
            side
                = BORDER_SIDE{kLineSolid, 1, kUnitPixels, static_cast<std::int32_t>(kCellBorderColour), 0, 0};
    }
    // Middle, but without an origin: a row's or group's alignment replaces it.
    if (!OwnHalf(Style().vAlignSet, Style().vAlignOrigin)) {
        EditStyle().align
            = static_cast<std::uint16_t>((EditStyle().align & kAlignHorizontalMask) | kAlignMiddle);
        EditStyle().vAlignSet = 1;
        EditStyle().vAlignOrigin = kOriginNone;
    }
}

void CTDElement::CopyTableBorder()
{
    if (Style().borderSet || !m_parent || !m_parent->m_parent || m_parent->m_parent->m_kind != kKindTable)
        return;
    const ELEMENT_STYLE& from = m_parent->m_parent->Style();
    EditStyle().borderSet = from.borderSet;
    std::copy(std::begin(from.border), std::end(from.border), EditStyle().border);
}

bool CTDElement::CopyFromParent(CElement* parent, int mode)
{
    if (!CElement::CopyFromParent(parent, mode))
        return false;
    const ELEMENT_STYLE& from = parent->Style();
    ELEMENT_STYLE& s = EditStyle();
    if (mode & 1) {
        if (!HasOwnCellBorder(this))
            TakeCellBorder(this, from);
        s.cellSpacing = from.cellSpacing;
        CopyPaddings(s, from);
    }
    if (from.heightSet && from.heightUnit == kUnitPixels && !OwnHalf(s.heightSet, s.heightOrigin)) {
        s.heightSet = 1;
        s.heightUnit = kUnitPixels;
        s.height = from.height;
        Lay().m_cssRect.bottom = from.height;
    }
    const std::uint16_t horizontal = from.align & kAlignHorizontalMask;
    if (horizontal && !OwnHalf(s.hAlignSet, s.hAlignOrigin)) {
        s.align = static_cast<std::uint16_t>((s.align & kAlignVerticalMask) | horizontal);
        s.hAlignSet = 1;
        s.hAlignOrigin = kOriginNone;
    }
    const std::uint16_t vertical = from.align & kAlignVerticalMask;
    if (vertical && !OwnHalf(s.vAlignSet, s.vAlignOrigin)
        && (parent->m_kind != kKindTable || OwnHalf(from.vAlignSet, from.vAlignOrigin))) {
        s.align = static_cast<std::uint16_t>((s.align & kAlignHorizontalMask) | vertical);
        s.vAlignSet = 1;
        s.vAlignOrigin = kOriginNone;
    }
    return true;
}

CRect CTDElement::GetEdges()
{
    const BoxEdges p = Paddings(this);
    const BoxEdges b = CellBorders(this);
    return CRect(p.left + b.left, p.top + b.top, p.right + b.right, p.bottom + b.bottom);
}

bool CTDElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    LayoutNesting nesting(this);
    m_fitWidth = -1;
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    CalcForAll(dc, false, false);
    Lay().m_sizeRect.SetRectEmpty();
    Lay().m_touchesFloat = 0;
    const BoxEdges pad = Paddings(this);
    const BoxEdges border = CellBorders(this);
    const int edges = pad.Horizontal() + border.Horizontal();
    const ELEMENT_STYLE& s = Style();
    long content = 0;
    if (m_hasTableBox) {
        content = m_tableBox.cx - edges;
    } else if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPixels) {
        content = s.width;
    } else if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPercent) {
        content = static_cast<long long>(s.width) * std::max<long>(0, Lay().m_containerRect.right) / 100
            - SpacingOf(this) - edges;
    } else {
        content = Lay().m_containerRect.right - edges;
    }
    Lay().m_availRect = CRect(0, 0, ClampLength(std::max<long>(0, content)), 0);
    if (!noChildCalc)
        m_laidBoxWidth = m_hasTableBox ? static_cast<int>(m_tableBox.cx) : -1;
    // The content laid out last in this pass for the same width and nesting
    // is only placed again. Placed at another width, a block in it may be
    // laid out again: what was noted no longer holds.
    const ContentLayout now = ContentLayoutNow();
    const bool keep = !noChildCalc && KeepsContent(now);
    if (noChildCalc && !(now == m_laidContent))
        m_laidContent = ContentLayout();
    if (!keep && (!noChildCalc || !m_laidContent.pass))
        ++m_contentVersion;
    const unsigned long requestedBefore = RequestedWidthsTaken();
    if (!noChildCalc && !keep)
        m_paragraphsMet = false;
    const InlineContentScope inlineContent(this, noChildCalc || keep);

    LayoutCall call;
    call.dc = dc;
    call.noChildCalc = noChildCalc || keep;
    call.sameBlockOnly = sameBlockOnly;
    call.info = info;
    LayOutLines(this, call);
    // The cell holds the floats inside it. Measured without a box, a float
    // counts with its width beside the content rather than at the edge of
    // the width offered.
    const long lines = Lay().m_sizeRect.right;
    CalcAreaAccordingToFloat();
    if (!m_hasTableBox) {
        long floats = 0;
        for (const CElement* c = m_firstChild; c; c = c->m_nextSibling) {
            if (c->IsFloatType())
                floats = AddCoord(floats,
                    static_cast<long>(BoxWidth(c)) + std::max<long>(0, c->Lay().m_marginLeftTop.x)
                        + std::max<long>(0, c->Lay().m_marginRightBottom.x));
        }
        Lay().m_sizeRect.right
            = std::max<long>(lines, std::min<long>(Lay().m_sizeRect.right, AddCoord(lines, floats)));
    }

    // The box: content and paddings (laid out above), then the borders, at
    // least as large as the table's box.
    BoxEdges inner = pad;
    long width = AddCoord(BoxWidth(this), border.Horizontal());
    long height = AddCoord(BoxHeight(this), border.Vertical());
    const long ownHeight = height;
    if (m_hasTableBox) {
        width = std::max<long>(width, m_tableBox.cx);
        height = std::max<long>(height, m_tableBox.cy);
    }
    Lay().m_sizeRect = CRect(0, 0, width - border.Horizontal(), height - border.Vertical());
    const std::uint16_t horizontal = s.align & kAlignHorizontalMask;
    if (horizontal == kAlignCenter || horizontal == kAlignRight) {
        Lay().m_availRect.right = std::max<long>(0, width - edges);
        AlignChild(horizontal);
    }
    const int vertical = s.align & kAlignVerticalMask;
    int shift = 0;
    if (vertical == kAlignMiddle || vertical == kAlignBottom)
        shift = AlignVertically(this, vertical, inner);
    MoveChildren(this, border.left, border.top);
    Lay().m_sizeRect = CRect(0, 0, width, height);
    if (m_hasTableBox) {
        m_fitWidth = static_cast<int>(m_tableBox.cx);
        m_fitHeight = ownHeight;
        m_fitShift = shift;
    }
    // Laid out whole, the content is noted unless something outside it
    // counted: a float reached it, or a table in it took a one-off width.
    if (!noChildCalc && !keep) {
        m_laidContent = now.pass && RequestedWidthsTaken() == requestedBefore && !FloatsMayReach(this)
            ? now
            : ContentLayout();
        m_laidContent.paragraphs = m_paragraphsMet;
    }
    return true;
}

bool CTDElement::SpansParagraph()
{
    m_paragraphsMet = true;
    return m_hasTableBox;
}

CTDElement::ContentLayout CTDElement::ContentLayoutNow() const
{
    const TableNesting& nesting = TableNestingScope::Current();
    ContentLayout now;
    now.pass = LayoutNesting::CurrentPass();
    now.width = static_cast<int>(LayOrDefault().m_availRect.right);
    now.measuring = nesting.measuring;
    now.measureWidth = nesting.measureWidth;
    now.boxed = m_hasTableBox;
    return now;
}

bool CTDElement::KeepsContent(const ContentLayout& now) const
{
    if (!g_keepContent || !now.pass || !(now == m_laidContent) || FloatsMayReach(this))
        return false;
    ++g_keptContent;
    return true;
}

void SetCellContentKept(bool on) { g_keepContent = on; }

unsigned long KeptCellContentCount() { return g_keptContent; }

bool CTDElement::FitToBoxHeight()
{
    if (!m_hasTableBox || m_fitWidth < 0 || m_fitWidth != m_tableBox.cx)
        return false;
    const BoxEdges border = CellBorders(this);
    const long width = BoxWidth(this);
    const long height = std::max<long>(m_fitHeight, m_tableBox.cy);
    // The children back where the lines put them (horizontal alignment
    // kept), then aligned in the new height as CalcWinReg does.
    MoveChildren(this, -border.left, -(border.top + m_fitShift));
    Lay().m_sizeRect = CRect(0, 0, width - border.Horizontal(), height - border.Vertical());
    const int vertical = Style().align & kAlignVerticalMask;
    int shift = 0;
    if (vertical == kAlignMiddle || vertical == kAlignBottom)
        shift = AlignVertically(this, vertical, Paddings(this));
    MoveChildren(this, border.left, border.top);
    Lay().m_sizeRect = CRect(0, 0, width, height);
    m_fitShift = shift;
    return true;
}

bool CTDElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    CSize least(0, 0);
    CElement::GetMinSize(least, true);
    const CRect e = GetEdges();
    least.cx = AddCoord(least.cx, e.left + e.right);
    least.cy = AddCoord(least.cy, e.top + e.bottom);
    if (!ignoreOwnSize && Style().widthSet && Style().widthUnit == kUnitPixels)
        least.cx = std::max<LONG>(least.cx, AddCoord(Style().width, e.left + e.right));
    if (!ignoreOwnSize)
        least.cy = std::max<LONG>(least.cy, Lay().m_cssRect.bottom);
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return true;
}

CSize CTDElement::KeptMinSize()
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    if (!g_keepContent || !pass || m_minPass != pass || m_minVersion != m_contentVersion) {
        CSize least(0, 0);
        GetMinSize(least, false);
        m_minSize = least;
        m_minPass = pass;
        m_minVersion = m_contentVersion;
    }
    return m_minSize;
}

bool CTDElement::SelfPaint(void*, CPoint) { return true; }

bool CTDElement::DrawMarkOnElement(void*, CPoint) { return false; }

bool CTDElement::DrawBorder(void* dc, CPoint origin, CRect* clip)
{
    if (!dc)
        return true;
    if (Style().borderSet && CellBorders(this).Horizontal() + CellBorders(this).Vertical() > 0)
        return CElement::DrawBorder(dc, origin, clip);
    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    xFrameRect(dc, box, kLightFrame, this);
    return true;
}

bool CTDElement::GetPositionInTable(int& row, int& column) const
{
    const CTableElement* table = TableOfCell(this);
    return table && table->FindCellPosition(this, row, column, false);
}

CElement* CTDElement::GetCellByPositionInTable(int row, int column) const
{
    const CTableElement* table = TableOfCell(this);
    return table ? table->GetCellFromPosition(row, column, false) : nullptr;
}

void CTDElement::UpdateExtraAttrs()
{
    CTableElement* table = TableOfCell(this);
    if (!table || !table->m_colgroups)
        return;
    // Cells not yet placed in the grid (a table being read) are placed
    // first: a counted position would miss the row spans above. The rows
    // read so far may be the first of several: a single one keeps its spans.
    if (m_columnIndex < 0)
        table->AssignTDIndex(true);
    int row = 0, column = 0;
    if (!GetPositionInTable(row, column))
        return;
    NameValueTree* group = nullptr;
    NameValueTree* entry = nullptr;
    if (!table->FindColumnEntry(column, &group, &entry))
        return;
    CMapStringToString groupAttrs;
    for (const NameValue* a = group->list; a; a = a->next)
        groupAttrs.SetAt(
            a->name, CSafeBuf(a->value ? a->value : reinterpret_cast<const unsigned short*>(u"")));
    CElementRare& rare = EditRare();
    CElement::CopyMap(&rare.m_attributes2, &groupAttrs, false);
    GetCSSFromExtra(&rare.m_stylePieces, reinterpret_cast<const unsigned short*>(u"colgroup"), &groupAttrs);
    CMapStringToString colAttrs;
    for (const NameValue* a = entry->list; a; a = a->next) {
        if (!a->value || !*a->value)
            continue;
        CSafeBuf value(a->value);
        CSafeBuf name(a->name);
        CSafeBuf before;
        if ((name == "class" || name == "style") && rare.m_attributes2.Lookup(a->name, before)
            && !before.IsEmpty()) {
            before += " ";
            before += value;
            value = before;
        }
        rare.m_attributes2.SetAt(a->name, value);
        colAttrs.SetAt(a->name, value);
    }
    GetCSSFromExtra(&rare.m_stylePieces, reinterpret_cast<const unsigned short*>(u"col"), &colAttrs);
}
