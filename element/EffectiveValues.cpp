// Values along the ancestors, and the final box size step.

#include "element/EffectiveValues.h"

#include "element/Element.h"
#include "style/records/FontDefaults.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

int ClampToInt(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

} // namespace

int GetActualFontSize(const CElement* e)
{
    std::vector<const CElement*> path;
    for (const CElement* a = e; a; a = a->m_parent)
        path.push_back(a);
    long long size = kBaseFontSize;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const ELEMENT_STYLE& s = (*it)->Style();
        if (!s.sizeSet || s.sizeInherited)
            continue;
        if (s.fontSizeUnit == kUnitPercent || s.fontSizeUnit == kUnitEm)
            size = ClampToInt((size * s.fontSize + 50) / 100);
        else
            size = s.fontSize;
    }
    return static_cast<int>(size);
}

unsigned long GetActualColor(const CElement* e)
{
    for (const CElement* a = e; a; a = a->m_parent) {
        if (a->Style().colorSet)
            return static_cast<unsigned long>(a->Style().color);
    }
    return 0;
}

unsigned long GetActualBackColor(const CElement* e, unsigned long colourDefault)
{
    for (const CElement* a = e; a; a = a->m_parent) {
        if (a->Style().bkColorSet)
            return static_cast<unsigned long>(a->Style().bkColor);
    }
    return colourDefault;
}

long ValidateColor(const CElement* e, long colour)
{
    if (colour != kColourTransparent || !e)
        return colour;
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        if (a->Style().colorSet && a->Style().color != kColourTransparent)
            return a->Style().color;
    }
    if (e->m_root)
        return e->m_root->Style().color;
    return kColourTransparent;
}

int PaddingPixels(CElement* e, const STYLE_TYPE& padding)
{
    if (padding.unit == kUnitPercent)
        return (e->m_parent ? e->m_parent : e)->GetPercentValue(padding.value);
    return e->GetPxValue(padding.value, padding.unit, 1, 0);
}

bool GetCellpadding(CElement* e, CRect& padding)
{
    padding.SetRectEmpty();
    if (!e)
        return false;
    const ELEMENT_STYLE& s = e->Style();
    auto px = [e](const STYLE_TYPE& cell) { return cell.set ? PaddingPixels(e, cell) : 0; };
    padding.left = px(s.paddingLeft);
    padding.top = px(s.paddingTop);
    padding.right = px(s.paddingRight);
    padding.bottom = px(s.paddingBottom);
    return true;
}

void HandleFinalWidth(CElement* e)
{
    if (!e)
        return;
    CRect& box = e->Lay().m_sizeRect;
    box.right = std::max(box.right, box.left + e->Lay().m_cssRect.right);
    const int height = box.bottom - box.top;
    if (e->Lay().m_cssRect.bottom > height)
        box.bottom = box.top + e->Lay().m_cssRect.bottom;
    else if (e->m_kind == kKindBody)
        box.bottom += 10;
    if (e->m_block) {
        int widen = 0;
        for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_block && c->Lay().m_marginRightBottom.x < 0)
                widen = std::max(widen, -c->Lay().m_marginRightBottom.x);
        }
        box.right += widen;
    }
}
