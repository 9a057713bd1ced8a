// The list item: its number, its marker (shape, text or picture; outside or
// inside; right to left mirrored), the marker's room on the first line, and
// breaking a line inside the item.

#include "elements/LIElement.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "element/EffectiveValues.h"
#include "element/ElementPictures.h"
#include "elements/LeadingTextRun.h"
#include "elements/ListMarker.h"
#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/Image.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

namespace {

// Between an outside marker and its item.
constexpr int kOutsideGap = 8;
// Inside: a shape's left edge, and how far above the first line's bottom a
// shape's bottom and a text's baseline stand.
constexpr int kInsideShapeX = 1;
constexpr int kInsideShapeRaise = 6;
constexpr int kInsideTextRaise = 4;

bool IsFloating(const CElement* c) { return c->IsFloatType(); }

} // namespace

ListItemLine FirstLineOf(const CElement* e)
{
    int offset = 0;
    const CElement* box = e;
    for (;;) {
        const CElement* first = box->m_firstChild;
        while (first && IsFloating(first))
            first = first->m_nextSibling;
        if (!first)
            break;
        // A block that starts the content: its own first line counts.
        if (StandsOnOwnLine(first) && first->m_firstChild) {
            offset = AddCoord(offset, first->Lay().m_position.y);
            box = first;
            continue;
        }
        ListItemLine line;
        line.top = INT_MAX;
        for (const CElement* c = first; c; c = c->m_nextSibling) {
            if (c != first
                && (first->Lay().m_lineGroup == 0 || c->Lay().m_lineGroup != first->Lay().m_lineGroup))
                break;
            if (IsFloating(c))
                continue;
            line.top = std::min(line.top, static_cast<int>(c->Lay().m_position.y));
            line.bottom = std::max(line.bottom, AddCoord(c->Lay().m_position.y, BoxHeight(c)));
            line.baseline = std::max(line.baseline, AddCoord(c->Lay().m_position.y, BaselineOf(c)));
        }
        line.top = AddCoord(line.top, offset);
        line.bottom = AddCoord(line.bottom, offset);
        line.baseline = AddCoord(line.baseline, offset);
        return line;
    }
    ListItemLine line;
    line.bottom = BoxHeight(e);
    line.baseline = std::max(0, line.bottom - kInsideTextRaise);
    return line;
}

CLIElement::CLIElement(STYLE_CLASS* rules) : CElement(rules)
{
    m_kind = kKindLi;
    m_drawColor = RGB(0, 0, 0);
}

CLIElement::~CLIElement()
{
    // The layout refers to the style: it goes first.
    m_markerLayout.reset();
    m_markerStyle.reset();
}

int CLIElement::GetIndex() const
{
    int n = 0;
    if (!m_parent)
        return 0;
    for (const CElement* c = m_parent->m_firstChild; c && c != this; c = c->m_nextSibling) {
        if (c->m_kind == kKindLi)
            ++n;
    }
    return n;
}

int CLIElement::MarkerType() const
{
    if (Style().listType.set)
        return Style().listType.value;
    if (m_parent && m_parent->Style().listType.set)
        return m_parent->Style().listType.value;
    if (m_parent && m_parent->m_kind == kKindOl)
        return kListDecimal;
    return kListDisc;
}

int CLIElement::MarkerFontSize() const
{
    const int size = Lay().m_pxFontSize != 0 ? Lay().m_pxFontSize : GetActualFontSize(this);
    return std::abs(size);
}

int CLIElement::MarkerShapeSize(bool outsideShape) const
{
    int s = MarkerFontSize() / 3;
    if (outsideShape && s % 2 == 0)
        ++s;
    return s;
}

void CLIElement::GetMarkerText(CSafeBuf& text) const
{
    ListMarkerText(MarkerType(), m_number, RightToLeft(), text);
}

unsigned long CLIElement::MarkerColour() const
{
    const long colour = ValidateColor(this, static_cast<long>(GetActualColor(this)));
    return colour < 0 ? RGB(0, 0, 0) : static_cast<unsigned long>(colour);
}

bool CLIElement::PrepareText()
{
    CSafeBuf text;
    GetMarkerText(text);
    if (text.IsEmpty())
        return false;
    // Made for the first marker measured or drawn: a list that is read and
    // written back never has them.
    if (!m_markerLayout) {
        m_markerStyle = std::make_unique<qm::text::Style>();
        m_markerLayout = std::make_unique<qm::text::Layout>();
        m_markerLayout->SetStyle(m_markerStyle.get());
    }
    qm::text::Style& style = *m_markerStyle;
    style.SetFontId(Style().fontNumber);
    style.SetSize(MarkerFontSize());
    style.SetBold((Style().fontWeight ? Style().fontWeight : 100) >= 301);
    style.SetItalic(Style().italic != 0);
    style.SetUnderline(Style().underline != 0);
    const unsigned long colour = MarkerColour();
    style.SetColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    // The layout keeps its shaping while the text stays the same.
    const unsigned short* units = text;
    const std::vector<std::uint16_t>& shown = m_markerLayout->Text();
    if (!std::equal(shown.begin(), shown.end(), units, units + text.Length()))
        m_markerLayout->SetText(reinterpret_cast<const std::uint16_t*>(units), text.Length());
    return true;
}

bool CLIElement::TextInk(CRect& ink)
{
    qm::text::TextRect r{};
    if (!PrepareText() || !m_markerLayout->ImageBounds(0, m_markerLayout->Length(), r))
        return false;
    ink = CRect(r.left, r.top, r.right, r.bottom);
    return true;
}

CImage* CLIElement::MarkerPicture()
{
    if (!Style().listImage.set || !Style().listImage.text[0])
        return nullptr;
    CImage* picture = GetImage(this, Style().listImage.text, nullptr);
    return picture && picture->GetWidth() > 0 && picture->GetHeight() > 0 ? picture : nullptr;
}

bool CLIElement::GetMarkerBox(CRect& box)
{
    const int width = BoxWidth(this);
    const bool inside = MarkerInside();
    const bool rtl = RightToLeft();
    if (Style().listImage.set && Style().listImage.text[0]) {
        CImage* picture = MarkerPicture();
        if (!picture)
            return false;
        const int w = picture->GetWidth();
        const int h = picture->GetHeight();
        const int left = inside ? (rtl ? width - w : 0) : (rtl ? width : -w);
        box = CRect(left, 0, left + w, h);
        return true;
    }
    const int type = MarkerType();
    const ListItemLine line = FirstLineOf(this);
    if (IsListShape(type)) {
        const int s = MarkerShapeSize(!inside);
        const int bottom = inside ? line.bottom - kInsideShapeRaise : line.bottom - 1;
        int left = 0;
        if (inside)
            left = rtl ? width - kInsideShapeX - s : kInsideShapeX;
        else
            left = rtl ? width + kOutsideGap : -kOutsideGap - s;
        box = CRect(left, bottom - s, left + s, bottom);
        return true;
    }
    CRect ink;
    if (!IsListText(type) || !TextInk(ink))
        return false;
    int x = 0;
    int baseline = line.baseline;
    if (inside) {
        x = rtl ? width - ink.right : 0;
        baseline = line.bottom - kInsideTextRaise;
    } else {
        x = rtl ? width + kOutsideGap - ink.left : -kOutsideGap - ink.right;
    }
    box = ink;
    box.OffsetRect(x, baseline);
    return true;
}

void CLIElement::DrawShape(void* dc, int type, const CRect& box)
{
    const unsigned long colour = MarkerColour();
    if (type == kListDisc)
        xDrawEllipse(dc, box, colour, this);
    else if (type == kListCircle)
        xDrawCircle(dc, box, colour, this);
    else
        xFillSolidRect(dc, box, colour, this);
}

void CLIElement::DrawText(void* dc, int x, int baseline)
{
    qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
    if (!PrepareText())
        return;
    m_markerLayout->SetContext(context);
    m_markerLayout->Draw(0, m_markerLayout->Length(), x, GetFlipHeight(this) - baseline);
    m_markerLayout->SetContext(nullptr);
}

bool CLIElement::SelfPaint(void* dc, CPoint origin)
{
    if (!dc && m_root)
        dc = m_root->m_dc.get();
    if (!dc)
        return true;
    const int type = MarkerType();
    if (Style().listImage.set && Style().listImage.text[0]) {
        PaintImage(dc, origin, MarkerShapeSize(false));
        return true;
    }
    if (type == kListNone)
        return true;
    if (MarkerInside()) {
        PaintInside(dc, origin, type, MarkerShapeSize(false));
        return true;
    }
    CRect box;
    if (!GetMarkerBox(box))
        return true;

    // The list's indent is the band the marker may take.
    CElement* list = m_parent;
    int indent = 0;
    if (list) {
        indent = RightToLeft() ? AddCoord(list->Lay().m_marginRightBottom.x, Paddings(list).right)
                               : AddCoord(list->Lay().m_marginLeftTop.x, Paddings(list).left);
    }
    qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
    const int bandLeft = RightToLeft() ? origin.x + BoxWidth(this) : origin.x - indent;
    context->SaveGState();
    context->ClipToRect(qm::cg::Rect{static_cast<double>(bandLeft), 0.0,
        static_cast<double>(std::max(0, indent)), static_cast<double>(context->Height())});
    box.OffsetRect(origin.x, origin.y);
    if (IsListShape(type)) {
        DrawShape(dc, type, box);
    } else {
        CRect ink;
        if (TextInk(ink))
            DrawText(dc, box.left - ink.left, box.top - ink.top);
    }
    context->RestoreGState();
    return true;
}

bool CLIElement::PaintInside(void* dc, CPoint origin, int type, int)
{
    CRect box;
    if (!dc || !GetMarkerBox(box))
        return false;
    box.OffsetRect(origin.x, origin.y);
    if (IsListShape(type)) {
        DrawShape(dc, type, box);
        return true;
    }
    CRect ink;
    if (!TextInk(ink))
        return false;
    DrawText(dc, box.left - ink.left, box.top - ink.top);
    return true;
}

bool CLIElement::PaintImage(void* dc, CPoint origin, int)
{
    CImage* picture = MarkerPicture();
    CRect box;
    if (!dc || !picture || !GetMarkerBox(box))
        return false;
    return picture->CopyImage(nullptr, nullptr, static_cast<qm::cg::Context*>(dc), GetFlipHeight(this),
        CPoint(origin.x + box.left, origin.y + box.top));
}

bool CLIElement::GetListMarkerSize(void*, CSize& size)
{
    size = CSize(0, 0);
    const bool inside = MarkerInside();
    if (Style().listImage.set && Style().listImage.text[0]) {
        CImage* picture = MarkerPicture();
        if (picture) {
            size.cx = inside ? picture->GetWidth() : 0;
            size.cy = picture->GetHeight() + MarkerFontSize() / 3 - 1;
        }
        return true;
    }
    const int type = MarkerType();
    if (!inside || type == kListNone)
        return false;
    const int s = MarkerFontSize() / 3;
    if (IsListShape(type)) {
        size = CSize(3 * s + 2, s);
        return true;
    }
    CRect ink;
    if (!IsListText(type) || !TextInk(ink))
        return false;
    size = CSize(s + (ink.right - ink.left) - 1, ink.bottom - ink.top);
    return true;
}

CElement* CLIElement::BreakElement(long childId, bool force)
{
    if (m_childCount < 2)
        return nullptr;
    if (m_childCount == 2 && m_firstChild->IsTextElement() && m_firstChild->m_text.IsEmpty())
        return nullptr;
    CElement* half = CElement::BreakElement(childId, force);
    if (half && half->m_kind == kKindLi)
        GiveLeadingTextRun(half);
    return half;
}
