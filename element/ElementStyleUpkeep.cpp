// Upkeep of an element's computed style: starting it afresh (ResetStyle),
// clearing groups of it (RemoveStyle) and recording the box size it
// specifies (SetAttrFromStyle).

#include "element/Element.h"

#include "base/text/U16.h"
#include "element/EffectiveValues.h"
#include "style/cascade/DefaultStyle.h"
#include "style/cascade/OutsideRecord.h"
#include "style/records/FontDefaults.h"

void CElement::ResetStyle(bool clearBox)
{
    const STYLE_TYPE clear = Style().clear;
    m_style.Reset().clear = clear;
    ResetOutsideRecord(this, clearBox);
    SetDefaultStyle(m_tagName, this);
}

void ResetOutsideRecord(CElement* e, bool clearBox)
{
    if (e->m_rare) {
        e->m_rare->m_attributes2.RemoveAll();
        e->m_rare->m_stylePieces.RemoveAll();
    }
    e->UpdateExtraAttrs();
    if (clearBox && e->HasLayout())
        e->Lay().m_sizeRect.SetRectEmpty();
}

void CElement::RemoveStyle(ELEMENT_STYLE* style)
{
    if (!style)
        return;
    ELEMENT_STYLE& own = EditStyle();
    if (style->borderSet) {
        for (BORDER_SIDE& side : own.border)
            side = BORDER_SIDE{};
        own.borderSet = 0;
        own.borderOrigin = 0;
        own.borderFromAttribute = 0;
    }
    if (style->bkColorSet || style->bkImageSet) {
        own.bkColorSet = 0;
        own.bkColor = static_cast<std::int32_t>(RGB(255, 255, 255));
        own.bkColorOrigin = 0;
        own.bkImageSet = 0;
        own.bkImage.Clear();
        own.bkImageOrigin = 0;
    }
    if (style->hAlignSet) {
        own.align &= kAlignVerticalMask;
        own.hAlignSet = 0;
        own.hAlignOrigin = 0;
    }
    if (style->vAlignSet) {
        own.align &= kAlignHorizontalMask;
        own.vAlignSet = 0;
        own.vAlignOrigin = 0;
    }
    if (style->fontSet || style->weightSet || style->italicSet || style->underlineSet) {
        own.fontWeight = 100;
        own.italic = 0;
        own.underline = 0;
        own.weightSet = own.italicSet = own.underlineSet = 0;
    }
    if (style->colorSet) {
        own.colorSet = 0;
        own.color = static_cast<std::int32_t>(RGB(128, 128, 128));
        own.colorOrigin = 0;
    }
}

bool CElement::SetAttrFromStyle()
{
    const ELEMENT_STYLE& s = Style();
    CRect css = LayOrDefault().m_cssRect;
    if (s.widthSet && s.widthUnit == kUnitPixels) {
        CRect border;
        GetBorderRect(border, true);
        css.right = s.width + border.left + border.right + PaddingPixels(this, s.paddingLeft)
            + PaddingPixels(this, s.paddingRight);
    } else if (m_kind != kKindBody) {
        css.right = 0;
    }
    css.bottom = s.heightSet && s.heightUnit == kUnitPixels ? s.height : 0;
    SetLay(&CElementLayout::m_cssRect, css);
    return true;
}
