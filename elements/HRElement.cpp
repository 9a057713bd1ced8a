// Horizontal rules: their box, their line and a click that selects them.

#include "elements/HRElement.h"

#include "elements/TDElement.h"
#include "style/draw/DrawPrimitives.h"
#include "style/paint/OffscreenView.h"
#include "style/records/StyleType.h"

namespace {

constexpr unsigned long kSelectedRule = RGB(192, 217, 245);
constexpr unsigned long kGreyRule = RGB(120, 120, 120);

bool HasOwnColour(const ELEMENT_STYLE& s) { return s.colorSet && s.colorOrigin != 0; }

} // namespace

int CHRElement::LineHeight() const
{
    const ELEMENT_STYLE& s = Style();
    return s.heightSet && s.heightUnit == kUnitPixels && s.height > 0 ? s.height : 1;
}

bool CHRElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    const ELEMENT_STYLE& s = Style();
    const int available
        = Lay().m_containerRect.right > 0 ? Lay().m_containerRect.right : Lay().m_availRect.right;
    int width = Lay().m_availRect.right - Lay().m_availRect.left;
    // Without a width in pixels the rule follows the width it is given (or
    // a percentage of its container): in a cell measured without a box it
    // adds nothing to the cell's width.
    if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPixels)
        width = s.width;
    else if (!SpansGivenWidth(this))
        width = 0;
    else if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPercent)
        width = static_cast<int>(static_cast<long long>(s.width) * available / 100);
    int height = 2 * m_ruleOffset + 2;
    if (s.heightSet && s.heightUnit == kUnitPixels && s.height > 0)
        height = s.height + 2 * m_ruleOffset;
    Lay().m_sizeRect = CRect(0, 0, width, height);
    return true;
}

bool CHRElement::GetMinSize(CSize& size, bool)
{
    // Only a width in pixels holds the rule wide. Without one (or with a
    // percentage) its box follows the width it is offered: counting that
    // box as a minimum would keep a table cell as wide as it was measured,
    // so the table overflows, the cell around it widens, and the rule with
    // it, at every layout of every table around.
    const ELEMENT_STYLE& s = Style();
    const bool pixels = s.widthSet && s.width > 0 && s.widthUnit == kUnitPixels;
    const int width = pixels ? Lay().m_sizeRect.right - Lay().m_sizeRect.left : 0;
    if (size.cx < width)
        size.cx = width;
    if (size.cy < Lay().m_sizeRect.bottom - Lay().m_sizeRect.top)
        size.cy = Lay().m_sizeRect.bottom - Lay().m_sizeRect.top;
    return true;
}

bool CHRElement::SelfPaint(void* dc, CPoint origin)
{
    CRect box = Lay().m_sizeRect;
    box.OffsetRect(origin.x, origin.y);
    if (m_selected)
        xFillSolidRect(dc, box, kSelectedRule, this);
    const int height = LineHeight();
    CRect line(box.left, box.top + m_ruleOffset, box.right, box.top + m_ruleOffset + height);
    if (HasOwnColour(Style()))
        xFillSolidRect(dc, line, static_cast<unsigned long>(Style().color), this);
    else if (height == 1)
        xFillSolidRect(dc, line, kGreyRule, this);
    else // the frame's edges fall on the rows and columns just inside the line
        xFrameRect(dc, CRect(line.left, line.top + 1, line.right - 1, line.bottom - 1), kGreyRule, this);
    return true;
}

int CHRElement::LButtonDown(unsigned int flags, CPoint, bool&, CPoint&, int&, bool& repainted)
{
    if (flags == 65535)
        return 0;
    const bool wasSelected = m_selected != 0;
    try {
        CElement* root = m_root ? m_root : this;
        for (CElement* e = root; e;) {
            e->m_selected = 0;
            if (e->m_firstChild) {
                e = e->m_firstChild;
                continue;
            }
            while (e && e != root && !e->m_nextSibling)
                e = e->m_parent;
            e = e && e != root ? e->m_nextSibling : nullptr;
        }
        m_selected = 1;
        RepaintDocument(root);
        repainted = true;
    } catch (...) { }
    return wasSelected ? 0 : 1;
}
