// Laying an image out: its box from the picture and the style, or its
// alternative text as inline content.

#include "elements/ImageElement.h"

#include "element/services/XHTMLServices.h"
#include "elements/ChildRemoval.h"
#include "style/Image.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

#include <cstdint>

namespace {

// The size of a picture that gives none (it failed to load) and of an
// image whose relative height found nothing to resolve against.
constexpr int kFailedSize = 75;
constexpr int kUnsizedSize = 100;
// Room a linked image without a border of its own keeps for the link's.
constexpr int kLinkBorder = 3;

int Scaled(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return 0;
    return ClampLength(static_cast<std::int64_t>(value) * numerator / denominator);
}

int Percent(int percent, int of) { return Scaled(of, percent, 100); }

// The width of the document: what a relative width resolves against when
// the container gives none.
int DocumentWidth(const CElement* e)
{
    const CElement* root = e->m_root ? e->m_root : e;
    return static_cast<int>(root->Lay().m_cssRect.right);
}

} // namespace

bool CImageElement::IsCanWrap() { return GetDisplayType() == 2; }

bool CImageElement::CanDrawChild() { return GetDisplayType() == 2; }

bool CImageElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    if (GetDisplayType() == 2) {
        // The text is inline content of the image, laid out as in a span.
        m_inline = 1;
        m_canWrap = 1;
        if (!m_firstChild && SetAltTxt() && m_firstChild) {
            BuildCDC(dc);
            m_firstChild->BuildCDC(dc);
        }
        return CElement::CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    }
    m_inline = 0;
    m_canWrap = 0;
    // Alternative text left from a text display goes; the caret in it
    // moves after the image.
    if (m_firstChild)
        RemoveChildrenKeepingCaret(this, 1);
    CalcForAll(dc, false, false);
    if (!m_picture || !m_loaded)
        ReLoad(dc);
    m_unsized = 0;
    Lay().m_sizeRect.SetRectEmpty();

    const ELEMENT_STYLE& s = Style();
    const int pictureWidth = m_picture ? m_picture->GetWidth() : 0;
    const int pictureHeight = m_picture ? m_picture->GetHeight() : 0;
    const bool hasWidth = s.widthSet != 0;
    const bool hasHeight = s.heightSet != 0;

    int width = pictureWidth;
    if (hasWidth) {
        if (s.widthUnit == kUnitPixels) {
            width = s.width;
        } else if (s.widthUnit == kUnitPercent) {
            int of = static_cast<int>(Lay().m_containerRect.right);
            if (of <= 0) {
                of = DocumentWidth(this);
                if (of > 19)
                    of -= 20;
            }
            width = Percent(s.width, of);
        } else {
            width = GetPxValue(s.width, s.widthUnit, 1, 0);
        }
    }

    int height = pictureHeight;
    if (!hasHeight) {
        if (hasWidth && width >= 1 && pictureWidth > 0)
            height = Scaled(width, pictureHeight, pictureWidth);
    } else if (s.heightUnit == kUnitPixels) {
        height = s.height;
    } else if (s.heightUnit == kUnitPercent) {
        const int container = static_cast<int>(Lay().m_containerRect.bottom);
        height = 0;
        if (container > 0) {
            height = Percent(s.height, container);
        } else if (!IsElementUnderTag(kKindTable) && m_owner) {
            const int document = m_owner->m_doc.m_layoutHeight;
            if (document >= 30)
                height = Percent(s.height, document - 30);
        }
        if (width <= 0 || height <= 0) {
            m_unsized = 1;
            width = height = kUnsizedSize;
        }
    } else {
        height = GetPxValue(s.height, s.heightUnit, 1, 0);
    }

    if (!hasWidth && height >= 1 && pictureHeight != 0)
        width = Scaled(height, pictureWidth, pictureHeight);
    if (width <= 0 && height <= 0)
        width = height = kFailedSize;
    else if (width <= 0)
        width = height;
    else if (height <= 0)
        height = width;

    CRect border;
    if (GetBorderRect(border, true)) {
        width += border.left + border.right;
        height += border.top + border.bottom;
    } else if (m_linkState != 0) {
        width += 2 * kLinkBorder;
        height += 2 * kLinkBorder;
    }
    const BoxEdges padding = Paddings(this);
    width += padding.Horizontal();
    height += padding.Vertical();

    Lay().m_sizeRect = CRect(0, 0, ClampLength(width), ClampLength(height));
    Lay().m_baseline.y = 0;
    return true;
}

bool CImageElement::GetMinSize(CSize& size, bool ignoreOwnSize)
{
    if (GetDisplayType() == 2)
        return CElement::GetMinSize(size, ignoreOwnSize);
    const bool relative = Style().widthSet && Style().widthUnit != kUnitPixels;
    const int width = relative ? 0 : BoxWidth(this);
    if (size.cx < width)
        size.cx = width;
    return true;
}
