// Lengths into pixels: style values with their units, percentages of the
// widths around an element, and border widths. Every result is held within
// kMaxLayoutLength (LayoutLimits.h), so no style value can overflow the
// arithmetic that uses it.

#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "style/layout/LayoutLimits.h"
#include "style/records/FontDefaults.h"

// Units 1 (percent) and 2 (em in hundredths) scale by the base when one is
// given, else by the element's own pixel font size (useOwnFont 1, size
// known), else by the base font size; unit 3 (hundredths of the actual font
// size) by the font size the element shows. Integer division truncates
// towards zero.
int CElement::GetPxValue(int value, int unit, int useOwnFont, int base)
{
    const long long v = value;
    switch (unit) {
    case kUnitPixels: return ClampLength(v);
    case kUnitPercent:
    case kUnitEm:
        if (base)
            return ClampLength((v * base + 50) / 100);
        if (Lay().m_pxFontSize > 0 && useOwnFont == 1)
            return ClampLength(
                v >= 0 ? (v * Lay().m_pxFontSize + 50) / 100 : (v * Lay().m_pxFontSize - 50) / 100);
        return ClampLength((v * kBaseFontSize + 50) / 100);
    case kUnitFontHundredths: {
        int size = GetActualFontSize(this);
        if (size < 1)
            size = kBaseFontSize;
        return ClampLength(v * size / 100);
    }
    default: return ClampLength(v);
    }
}

// percent of the first positive of the available, container and CSS widths,
// of this element or else of the nearest ancestor that has one; 0 when none
// has.
int CElement::GetPercentValue(int percent)
{
    for (const CElement* e = this; e; e = e->m_parent) {
        for (long width : {e->Lay().m_availRect.right - e->Lay().m_availRect.left,
                 e->Lay().m_containerRect.right - e->Lay().m_containerRect.left, e->Lay().m_cssRect.right}) {
            if (width > 0)
                return ClampLength(static_cast<long long>(percent) * width / 100);
        }
    }
    return 0;
}

// Each side with a line style other than none and hidden gets its width,
// resolved through GetPxValue when it carries a unit.
bool CElement::GetBorderRect(CRect& rect, bool clear)
{
    if (clear)
        rect.SetRectEmpty();
    if (!Style().borderSet)
        return false;
    LONG* sides[4] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    const BorderSide order[4] = {kBorderLeft, kBorderTop, kBorderRight, kBorderBottom};
    for (int i = 0; i < 4; ++i) {
        const BORDER_SIDE& side = Style().border[order[i]];
        if (side.style == kLineNone || side.style == kLineHidden)
            continue;
        *sides[i] = side.unit ? GetPxValue(side.width, side.unit, 1, 0) : ClampLength(side.width);
    }
    return true;
}
