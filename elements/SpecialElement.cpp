// The quotation "q": its marks, the room they take and their drawing.

#include "elements/SpecialElement.h"

#include <algorithm>
#include <cstdlib>

#include "element/EffectiveValues.h"
#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/draw/DrawPrimitives.h"
#include "style/layout/LayoutBox.h"

namespace {

constexpr unsigned short kDoubleOpen = 0x201C;
constexpr unsigned short kDoubleClose = 0x201D;
constexpr unsigned short kSingleOpen = 0x2018;
constexpr unsigned short kSingleClose = 0x2019;
// Between a mark and the content.
constexpr int kMarkGap = 2;
// What the narrowest quotation adds to its content.
constexpr int kMinExtra = 30;

} // namespace

CSpecialElement::CSpecialElement(STYLE_CLASS* rules)
    : CElement(rules),
      m_markStyle(std::make_unique<qm::text::Style>()),
      m_markLayout(std::make_unique<qm::text::Layout>())
{
    m_kind = kKindQuoteConstructed;
    m_selectable = 0;
    m_block = 0;
    m_markLayout->SetStyle(m_markStyle.get());
}

CSpecialElement::~CSpecialElement()
{
    // The layout refers to the style: it goes first.
    m_markLayout.reset();
    m_markStyle.reset();
}

int CSpecialElement::NestingDepth() const
{
    int depth = 0;
    for (const CElement* e = this; e; e = e->m_parent) {
        if (e->m_kind == kKindQ)
            ++depth;
    }
    return depth;
}

unsigned short CSpecialElement::Mark(bool opening) const
{
    const bool nested = NestingDepth() >= 2;
    if (opening)
        return nested ? kSingleOpen : kDoubleOpen;
    return nested ? kSingleClose : kDoubleClose;
}

void CSpecialElement::ReCheck(void*)
{
    if (m_kind != kKindQ)
        return;
    const int state = GetWrappedInlineBrothers(nullptr);
    m_openShown = state == 0 || state == -1;
    m_closeShown = state == 0 || state == 1;
}

bool CSpecialElement::FixInlineBrother(void* dc)
{
    CElement::FixInlineBrother(dc);
    if (!m_inline)
        return true;
    ReCheck(dc);
    CPtrList pieces;
    GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        if (CSpecialElement* piece
            = dynamic_cast<CSpecialElement*>(static_cast<CElement*>(pieces.GetNext(pos))))
            piece->ReCheck(dc);
    }
    CalcForAll(dc, false, false);
    return true;
}

void CSpecialElement::PrepareMark(bool opening, unsigned long colour)
{
    qm::text::Style& style = *m_markStyle;
    const int size = Lay().m_pxFontSize != 0 ? Lay().m_pxFontSize : GetActualFontSize(this);
    style.SetFontId(Style().fontNumber);
    style.SetSize(std::abs(size));
    style.SetBold((Style().fontWeight ? Style().fontWeight : 100) >= 301);
    style.SetItalic(Style().italic != 0);
    style.SetUnderline(Style().underline != 0);
    style.SetStrikethrough(Style().lineThrough != 0);
    style.SetColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    const std::uint16_t mark = Mark(opening);
    if (m_markLayout->Length() != 1 || m_markLayout->Text()[0] != mark)
        m_markLayout->SetText(&mark, 1);
}

bool CSpecialElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    m_openShown = false;
    m_closeShown = false;
    if (m_kind != kKindQ)
        return true;
    ReCheck(dc);
    if (!m_openShown && !m_closeShown)
        return true;
    PrepareMark(true, RGB(0, 0, 0));
    qm::text::TextRect ink{};
    m_markLayout->ImageBounds(0, 1, ink);
    m_quoteSize = CSize(ink.right - ink.left, ink.bottom - ink.top);
    const int room = m_quoteSize.cx + kMarkGap;
    if (m_openShown) {
        for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
            c->Lay().m_position.x += room;
    }
    Lay().m_sizeRect.right += room * ((m_openShown ? 1 : 0) + (m_closeShown ? 1 : 0));
    return true;
}

CElement* CSpecialElement::WrapElement(CSize& room, bool force)
{
    const int width = BoxWidth(this);
    if (m_kind != kKindQ || width <= room.cx || (!m_openShown && !m_closeShown))
        return CElement::WrapElement(room, force);
    // The piece that stays keeps the opening mark; leaving room for the
    // closing one as well wraps at most a word early, never late.
    const int markRoom = m_quoteSize.cx + kMarkGap;
    const int marks = (m_openShown ? markRoom : 0) + (m_closeShown ? markRoom : 0);
    CSize inner(std::max(0, static_cast<int>(room.cx) - marks), room.cy);
    CElement* piece = CElement::WrapElement(inner, force);
    room.cx = piece == this ? width : BoxWidth(this);
    return piece;
}

bool CSpecialElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    CSize least(0, 0);
    CElement::GetMinSize(least, ignoreOwnSize);
    least.cx += kMinExtra + (m_quoteSize.cx + kMarkGap) * ((m_openShown ? 1 : 0) + (m_closeShown ? 1 : 0));
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return true;
}

bool CSpecialElement::PaintedRows(int& top, int& bottom) const
{
    if (m_kind != kKindQ || (!m_openShown && !m_closeShown))
        return false;
    // A mark's ink lies within a font size above its baseline and half of
    // one below it.
    const int size = std::abs(Lay().m_pxFontSize != 0 ? Lay().m_pxFontSize : GetActualFontSize(this));
    const int baseline = BoxHeight(this) - size / 4;
    top = baseline - size - 1;
    bottom = baseline + size / 2 + 1;
    return true;
}

bool CSpecialElement::SelfPaint(void* dc, CPoint origin)
{
    if (m_kind != kKindQ || (!m_openShown && !m_closeShown))
        return true;
    qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
    if (!context && m_root)
        context = m_root->m_dc.get();
    if (!context)
        return true;
    const long colour = ValidateColor(this, static_cast<long>(GetActualColor(this)));
    const unsigned long drawn = colour < 0 ? RGB(0, 0, 0) : static_cast<unsigned long>(colour);
    const int size = std::abs(Lay().m_pxFontSize != 0 ? Lay().m_pxFontSize : GetActualFontSize(this));
    const double y = GetFlipHeight(this) - (origin.y + BoxHeight(this)) + size / 4;
    m_markLayout->SetContext(context);
    if (m_openShown) {
        PrepareMark(true, drawn);
        m_markLayout->Draw(0, 1, origin.x + 1, y);
    }
    if (m_closeShown) {
        PrepareMark(false, drawn);
        m_markLayout->Draw(0, 1, origin.x + BoxWidth(this) - m_quoteSize.cx, y);
    }
    m_markLayout->SetContext(nullptr);
    return true;
}
