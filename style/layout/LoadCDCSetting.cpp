// The pixel font size of an element and the font its text is drawn with.
// The parent's size must be known first: BuildCDC runs on each child before
// the child is laid out, after the parent's own BuildCDC.

#include "element/Element.h"
#include "style/layout/LayoutLimits.h"
#include "style/records/FontDefaults.h"

namespace {

bool DrawsText(long kind) { return kind == kKindText || kind == kKindImg || kind == kKindLi; }

int ParentPixels(const CElement* e)
{
    return e->m_parent && e->m_parent->Lay().m_pxFontSize > 0 ? e->m_parent->Lay().m_pxFontSize
                                                              : kBaseFontSize;
}

// The size in pixels: the parent's when the element inherits a relative size
// from it, else the slot scaled for percent and em by the parent's size;
// 0 (and a size that is not positive) gives the base font size.
int PixelSize(const CElement* e)
{
    const ELEMENT_STYLE& s = e->Style();
    const bool relative = s.fontSizeUnit == kUnitPercent || s.fontSizeUnit == kUnitEm;
    long long px = s.fontSize;
    if (relative && s.sizeInherited && !s.sizeSet)
        px = ParentPixels(e);
    else if (relative)
        px = (px * ParentPixels(e) + 50) / 100;
    if (px <= 0)
        return kBaseFontSize;
    return px > kMaxFontPixels ? kMaxFontPixels : static_cast<int>(px);
}

TEXT_FONT_SETTING TextFont(const CElement* e)
{
    const ELEMENT_STYLE& s = e->Style();
    TEXT_FONT_SETTING f;
    static const CStyleText<kTextFontFamilyUnits> defaultFamily = [] {
        CStyleText<kTextFontFamilyUnits> family{};
        family.Set(kDefaultFontFamily);
        return family;
    }();
    // Interned texts live as long as the process and equal texts share one
    // address: the last family cut to the setting's room is kept by the
    // address it was cut from (runs in a row mostly share it).
    static const unsigned short* lastSource = nullptr;
    static CStyleText<kTextFontFamilyUnits> lastFamily{};
    if (s.fontFamily.IsEmpty()) {
        f.family = defaultFamily;
    } else {
        if (s.fontFamily.Get() != lastSource) {
            lastFamily.Set(s.fontFamily);
            lastSource = s.fontFamily.Get();
        }
        f.family = lastFamily;
    }
    f.size = -e->Lay().m_pxFontSize;
    f.weight = s.fontWeight ? s.fontWeight : 100;
    f.italic = s.italic != 0;
    f.bold = f.weight >= 301 || (e->m_heading && !s.weightExplicit && !s.weightSet);
    f.underline = s.underline != 0;
    return f;
}

} // namespace

bool CElement::LoadCDCSetting(void*)
{
    const ELEMENT_STYLE& s = Style();
    if (!s.fontSet && !s.sizeSet && !s.sizeInherited && !s.familyInherited)
        return false;
    Lay().m_pxFontSize = PixelSize(this);
    if (DrawsText(m_kind)) {
        const TEXT_FONT_SETTING font = TextFont(this);
        if (font != Lay().m_textFont) {
            Lay().m_textFont = font;
            Lay().m_textFontStale = 1;
        }
    }
    return true;
}

bool CElement::BuildCDC(void* dc)
{
    LoadCDCSetting(dc);
    return true;
}
