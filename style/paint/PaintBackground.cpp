// The background of one element: its colour (or the colour behind it), the
// selection tint, and its background picture tiled by background-repeat and
// background-position.
//
// Selected table cells and selected dd and dt keep their own background and
// are tinted with blue at alpha 0.3 over it, as every selected area is, so
// that their content stays readable.
//
// Picture tiles are drawn one CImage::CopyImage each. Only the tiles that
// reach the rows being painted are drawn, and when even those are many (a
// tiny picture over a large box) they are drawn as one repeating fill, which
// puts the same pixels in the same places, so no picture and box can make a
// paint take long.

#include "base/geometry/Colour.h"
#include "base/url/RelativeURL.h"
#include "element/Element.h"
#include "element/ElementPictures.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "style/Image.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qm::paint {

namespace {

constexpr unsigned long kWhite = RGB(255, 255, 255);
// Background repeat words and position flags.
constexpr int kRepeatBoth = 1;
constexpr int kRepeatX = 2;
constexpr int kRepeatY = 4;
constexpr int kNoRepeat = 8;
constexpr int kPositionRight = 0x100;
// More visible tiles than this are drawn as one repeating fill.
constexpr std::int64_t kMostSingleTiles = 256;

bool HasBackgroundColour(const CElement* e)
{
    return e->Style().bkColorSet && e->Style().bkColor != kColourInvalid
        && e->Style().bkColor != kColourInherit;
}

bool HasBackgroundImage(const CElement* e) { return e->Style().bkImageSet && e->Style().bkImage[0] != 0; }

bool AncestorHasBackgroundImage(const CElement* e)
{
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        if (HasBackgroundImage(a))
            return true;
    }
    return false;
}

bool IsSelectedCell(const CElement* e)
{
    if (!e->m_selected || !e->m_owner || e->m_owner->m_doc.m_selectedCellCount <= 1)
        return false;
    return IsCellKind(e->m_kind) || (e->m_kind == kKindCaption && e->IsElementUnderTag(int(kKindTable)));
}

bool IsSelectedDefinitionItem(const CElement* e)
{
    return e->m_selected && (e->m_kind == kKindDd || e->m_kind == kKindDt);
}

bool FillsTheWidth(const CElement* e)
{
    const long k = e->m_kind;
    return k == kKindPre || k == kKindP || IsHeadingKind(k) || IsListKind(k) || k == kKindDl || k == kKindLi
        || k == kKindBlockquote || k == kKindDt || k == kKindDd || (k == kKindDiv && !e->m_floating);
}

// The widened box of a block that fills the width its parent gives it, when
// it applies; otherwise box unchanged.
CRect PaintedBox(CElement* e, CRect box, bool selectedItem)
{
    if (!FillsTheWidth(e) || !(HasBackgroundColour(e) || HasBackgroundImage(e) || selectedItem))
        return box;
    const bool noWidth = !e->Style().widthSet;
    const bool autoWidth = e->Style().widthSet && e->Style().widthUnit == 3;
    if (!noWidth && !(autoWidth && !e->IsElementUnderTag(int(kKindDiv))))
        return box;
    box = FilledBox(e, box);
    if (e->Lay().m_marginRightBottom.x < 0)
        box.right -= e->Lay().m_marginRightBottom.x;
    return box;
}

// Where tiles start on one axis and the one-off position on it.
struct Axis
{
    int start;    // of the tile grid, at or before the area's edge
    int position; // of a single picture
};

Axis PlaceAxis(int picture, int area, int value, bool pixels)
{
    if (picture > area)
        return Axis{0, pixels ? value : 0};
    if (pixels)
        return Axis{value, value};
    const std::int64_t p = std::int64_t(area - picture) * value / 100;
    const std::int64_t start = p - (p / picture + 1) * picture;
    return Axis{int(start), int(p)};
}

// Draws the tiles (columns c0..c1-1, rows r0..r1-1 of a grid whose tile
// (0, 0) has its top-left corner at first) that reach rows [top, bottom).
void DrawTiles(CImage& picture, qm::cg::Context* ctx, int flipHeight, CPoint first, std::int64_t c0,
    std::int64_t c1, std::int64_t r0, std::int64_t r1, int top, int bottom)
{
    const int pw = picture.GetWidth(), ph = picture.GetHeight();
    // Rows of the grid that reach the band.
    r0 = std::max<std::int64_t>(r0, (std::int64_t(top) - first.y) / ph - 1);
    r1 = std::min<std::int64_t>(r1, (std::int64_t(bottom) - first.y) / ph + 1);
    if (c1 <= c0 || r1 <= r0)
        return;
    if ((c1 - c0) * (r1 - r0) <= kMostSingleTiles) {
        for (std::int64_t r = r0; r < r1; ++r) {
            for (std::int64_t c = c0; c < c1; ++c) {
                const int x = int(first.x + c * pw), y = int(first.y + r * ph);
                CRect tile(x, y, x + pw, y + ph);
                picture.CopyImage(&tile, nullptr, ctx, flipHeight, CPoint(0, 0));
            }
        }
        return;
    }
    const qm::cg::ImageRef& image = picture.GetImage();
    if (!image)
        return;
    const double left = double(first.x) + double(c0) * pw, right = double(first.x) + double(c1) * pw;
    const double upper = double(first.y) + double(r0) * ph, lower = double(first.y) + double(r1) * ph;
    const qm::cg::Rect user{left, flipHeight - lower, right - left, lower - upper};
    ctx->DrawWithCairo(user, true, "BackgroundTiles", [&](cairo_t* cr) {
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image->Surface());
        // User space (y up) to picture pixels (rows down) of the grid's
        // picture at the top-left corner of the part of the bitmap drawn
        // on: a whole number of pictures from picture (0, 0), so the
        // pattern's offset stays within the range of cairo's fixed-point
        // pattern coordinates however far down or right that part lies.
        double left = 0, bottom = 0, right = 0, top = 0;
        cairo_clip_extents(cr, &left, &bottom, &right, &top);
        const double gridX = first.x + std::floor((left - first.x) / pw) * pw;
        const double gridY = first.y + std::floor((double(flipHeight) - top - first.y) / ph) * ph;
        cairo_matrix_t m;
        cairo_matrix_init(&m, 1, 0, 0, -1, -gridX, double(flipHeight) - gridY);
        cairo_pattern_set_matrix(pattern, &m);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
        cairo_set_source(cr, pattern);
        cairo_rectangle(cr, user.x, user.y, user.width, user.height);
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    });
}

void PaintPicture(CElement* e, void* dc, CRect area, const Band* band)
{
    const ELEMENT_STYLE& s = e->Style();
    if (!HasBackgroundImage(e) || !e->m_owner)
        return;
    const int repeat = s.bkRepeat & 0xFF;
    if (e->m_inline) {
        const int state = WrapStateOf(e);
        if (repeat == kNoRepeat && !ShowsLeftEdge(state))
            return;
        if ((s.bkRepeat & kPositionRight) && !ShowsRightEdge(state))
            return;
    }
    CSafeBuf url;
    BuildRelativeURL(e->m_owner->m_doc.m_baseURL, s.bkImage, url);
    CImage* picture = GetImage(e, url, nullptr);
    if (!picture || picture->GetWidth() <= 0 || picture->GetHeight() <= 0)
        return;
    const int pw = picture->GetWidth(), ph = picture->GetHeight();
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return;
    const Axis x = PlaceAxis(pw, w, s.bkPositionX, (s.bkPositionKinds & 0xFF) != 0);
    const Axis y = PlaceAxis(ph, h, s.bkPositionY, (s.bkPositionKinds & 0x100) != 0);
    std::int64_t nx = (std::int64_t(w) - x.start) / pw + 1;
    std::int64_t ny = (std::int64_t(h) - y.start) / ph + 1;
    CPoint first(area.left + x.start, area.top + y.start);
    if (repeat == kRepeatX) {
        if (nx < 1)
            return;
        first.y = area.top + y.position;
        ny = 1;
    } else if (repeat == kRepeatY) {
        first.x = area.left + x.position;
        nx = 1;
    } else if (repeat == kNoRepeat) {
        first = CPoint(area.left + x.position, area.top + y.position);
        nx = ny = 1;
    } else if (repeat != kRepeatBoth && repeat != 0) {
        return;
    }
    auto* ctx = static_cast<qm::cg::Context*>(dc);
    const int flipHeight = GetFlipHeight(e);
    ctx->SaveGState();
    ctx->ClipToRect(qm::cg::Rect{double(area.left), double(flipHeight) - area.bottom, double(w), double(h)});
    const int top = band ? std::max(band->top, int(area.top)) : area.top;
    const int bottom = band ? std::min(band->bottom, int(area.bottom)) : area.bottom;
    DrawTiles(*picture, ctx, flipHeight, first, 0, nx, 0, ny, top, bottom);
    ctx->RestoreGState();
}

} // namespace

void PaintBackground(CElement* e, void* dc, CPoint origin, bool floatPass, const Band* band)
{
    CRect box = e->Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    const CPaintState* st = StateOf(e);
    const unsigned long documentColour = st ? st->m_documentBackground : kWhite;
    const unsigned long behind = e->m_parent ? e->m_parent->m_drawColor : documentColour;
    const bool selectedCell = IsSelectedCell(e);
    const bool selectedItem = IsSelectedDefinitionItem(e);
    const bool root = IsRoot(e);

    bool fill = false, tint = false;
    unsigned long colour = behind;
    CRect area = PaintedBox(e, box, selectedItem);
    if (root)
        area.bottom += 10;
    if (selectedCell || selectedItem) {
        fill = HasBackgroundColour(e) && e->Style().bkColor >= 0;
        if (fill)
            colour = (unsigned long)e->Style().bkColor;
        tint = true;
    } else if (HasBackgroundColour(e)) {
        if (e->Style().bkColor == kColourTransparent) {
            fill = !AncestorHasBackgroundImage(e);
        } else {
            fill = true;
            colour = (unsigned long)e->Style().bkColor;
        }
    } else if (root) {
        fill = true;
        colour = documentColour;
    } else if (floatPass && e->m_floating) {
        fill = true;
        tint = e->m_selected != 0;
    }
    if (fill)
        xFillSolidRect(dc, area, colour, e);
    if (tint)
        xInvertRect(dc, area, e);
    e->m_drawColor = colour;
    PaintPicture(e, dc, PaintedBox(e, box, selectedItem), band);
}

int FillWidth(CElement* e)
{
    return std::max<int>(0, e->Lay().m_availRect.right - e->Lay().m_availRect.left)
        + ContentEdges(e).Horizontal();
}

CRect FilledBox(CElement* e, CRect box)
{
    box.right = box.left + FillWidth(e);
    CElement* parent = e->m_parent;
    if (!parent || e->IsFloatType())
        return box;
    const int aligned = parent->Style().align & kAlignHorizontalMask;
    if (aligned != kAlignCenter && aligned != kAlignRight && parent->m_kind != kKindCenter)
        return box;
    // Where the parent's content would put e's box, at its left margin, and
    // where the width e fills would end there.
    const long contentLeft = box.left - e->Lay().m_position.x + ContentEdges(parent).left;
    const long left = contentLeft + e->Lay().m_marginLeftTop.x;
    const long right = contentLeft
        + std::max<long>(0, parent->Lay().m_availRect.right - parent->Lay().m_availRect.left)
        - e->Lay().m_marginRightBottom.x;
    const long over = std::min<long>(box.right - right, box.left - left);
    if (over > 0)
        box.OffsetRect(-over, 0);
    return box;
}

} // namespace qm::paint
