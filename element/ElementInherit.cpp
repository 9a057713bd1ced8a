// What an element takes from its parent: CopyFromParent and CopyStyleFrom.
//
// Inherited values are copies of the parent's that the element does not
// count as its own: a font field is taken only while its own set byte is
// off and is marked in the matching ...Inherited byte; the text colour is
// taken while colorSet is off (colorSet stays off); the direction cell is
// taken with origin 0, which any rule or attribute overrides; marker and
// list cells are copied with CopyStyleForNew, which marks them inherited.
// So a later inheritance pass refreshes inherited values and never
// overwrites what a rule, an attribute or the style attribute set.

#include "element/Element.h"

#include "element/EffectiveValues.h"
#include "element/StyleCells.h"
#include "element/factory/TagTables.h"
#include "style/cascade/OutsideRecord.h"

namespace {

// CopyStyleForNew where the parent's cell is set: from an unset cell it
// copies nothing, and most parents set none of the marker, lock and list
// cells, so the call is left out for them.
template <class Cell>
void InheritCell(Cell& own, const Cell& from)
{
    if (from.set)
        CopyStyleForNew(&own, &from);
}

// The element's own direction (not an inherited one) is left-to-right.
bool OwnLeftToRight(const ELEMENT_STYLE& s)
{
    return s.direction.set && s.direction.origin != kOriginNone && s.direction.value == kDirectionLtr;
}

void InheritRightToLeft(ELEMENT_STYLE& own, const ELEMENT_STYLE& from)
{
    if (from.rtl && !OwnLeftToRight(own))
        own.rtl = 1;
}

void InheritColour(ELEMENT_STYLE& own, const ELEMENT_STYLE& from)
{
    if (!own.colorSet)
        own.color = from.color;
}

void InheritFamily(ELEMENT_STYLE& own, const ELEMENT_STYLE& from)
{
    if (own.familySet)
        return;
    own.fontFamily = from.fontFamily;
    own.fontNumber = from.fontNumber;
    own.familyInherited = 1;
}

// Size (unless keepSize), weight, italic, underline, line-through, family and
// text colour.
void InheritFontAndText(ELEMENT_STYLE& own, const ELEMENT_STYLE& from, bool keepSize)
{
    if (!own.sizeSet && !keepSize) {
        own.fontSize = from.fontSize;
        own.fontSizeUnit = from.fontSizeUnit;
        own.sizeInherited = 1;
    }
    if (!own.weightSet) {
        own.fontWeight = from.fontWeight;
        own.weightInherited = 1;
    }
    if (!own.italicSet) {
        own.italic = from.italic;
        own.italicInherited = 1;
    }
    if (!own.underlineSet) {
        own.underline = from.underline;
        own.underlineInherited = 1;
    }
    if (!own.lineThroughSet) {
        own.lineThrough = from.lineThrough;
        own.lineThroughInherited = 1;
    }
    InheritFamily(own, from);
    InheritColour(own, from);
}

// The first attribute named href (in any case) is not empty, as
// GetAttrNoCase would read it, without copying its value.
bool HasHref(const CElement* a)
{
    const CSafeBuf* href = nullptr;
    a->m_attributes.ForEachPair([&href](const CSafeBuf& key, const CSafeBuf& value) {
        if (!href && key.CompareNoCase("href") == 0)
            href = &value;
    });
    return href && !href->IsEmpty();
}

// bdo and everything inside one force their direction.
void InheritDirOverride(CElement* e, const CElement* parent)
{
    e->m_dirOverride = e->m_kind == kKindBdo ? 1 : parent->m_dirOverride;
}

// The area available to e: the parent's, less the parent's horizontal
// borders and paddings (the body's margins) between blocks, less a table's
// cell spacing.
void InheritArea(CElement* e, CElement* parent)
{
    const ELEMENT_STYLE& from = parent->Style();
    CRect area = parent->LayOrDefault().m_availRect;
    if (parent->m_block && e->m_block) {
        int inset = 0;
        if (parent->m_kind == kKindBody) {
            inset = parent->LayOrDefault().m_marginLeftTop.x + parent->LayOrDefault().m_marginRightBottom.x;
        } else {
            CRect border;
            parent->GetBorderRect(border, true);
            inset = border.left + border.right + PaddingPixels(parent, from.paddingLeft)
                + PaddingPixels(parent, from.paddingRight);
        }
        area.right -= inset;
    }
    if (parent->m_kind == kKindTable)
        area.right -= from.cellSpacing;
    if (area.right < area.left)
        area.right = area.left;
    e->SetLay(&CElementLayout::m_availRect, area);
    e->SetLay(&CElementLayout::m_containerRect, CRect(0, area.top, area.right - area.left, area.bottom));
}

void InheritLinkState(CElement* e, const CElement* parent)
{
    if (parent->m_kind == kKindA)
        e->m_linkState = HasHref(parent) ? 1 : 2;
    else
        e->m_linkState = parent->m_linkState;
}

void InheritMarkerColours(ELEMENT_STYLE& own, const ELEMENT_STYLE& from)
{
    InheritCell(own.markerColor, from.markerColor);
    InheritCell(own.markerBackgroundColor, from.markerBackgroundColor);
    InheritCell(own.markerBorderColor, from.markerBorderColor);
}

} // namespace

bool CElement::CopyStyleFrom(ELEMENT_STYLE* from, int mode)
{
    if (!from)
        return false;
    InheritRightToLeft(EditStyle(), *from);
    if (mode & 8) {
        InheritColour(EditStyle(), *from);
        InheritFamily(EditStyle(), *from);
    }
    if (!(mode & 4)) {
        InheritMarkerColours(EditStyle(), *from);
        if (mode & 1) {
            InheritFontAndText(EditStyle(), *from, false);
            InheritCell(EditStyle().lineHeight, from->lineHeight);
        }
    }
    return true;
}

bool CElement::CopyFromParent(CElement* parent, int mode)
{
    if (!parent)
        return false;
    const ELEMENT_STYLE& from = parent->Style();
    // The record is made this element's own once, and written through own:
    // no step below shares it again (CalcForAll may only edit it, so own is
    // taken again after it).
    ELEMENT_STYLE* own = &EditStyle();

    // 1. Direction.
    InheritRightToLeft(*own, from);
    InheritDirOverride(this, parent);

    // 2. Owner, marker cells, link state and derived values.
    bool toStep5 = false;
    if (!(mode & 4)) {
        m_owner = parent->m_owner;
        InheritCell(own->lock, from.lock);
        InheritCell(own->markerLabel, from.markerLabel);
        InheritMarkerColours(*own, from);
        if (m_kind == kKindLi) {
            InheritCell(own->listType, from.listType);
            InheritCell(own->listPosition, from.listPosition);
            InheritCell(own->listImage, from.listImage);
        }
        InheritLinkState(this, parent);
        // A center inside an inline parent keeps its geometry: straight to step 5.
        if (m_kind == kKindCenter && !IsTagInList(BLOCKTYPE, parent->m_tagName))
            toStep5 = true;
        else
            CalcForAll(nullptr, false, false);
        own = &EditStyle();
    }

    // 3. The area available to this element.
    if (!toStep5)
        InheritArea(this, parent);

    // 4.
    if (mode & 4)
        return true;

    // 5. Font and text values.
    if ((mode & 1) && !m_noInherit) {
        if (!own->direction.set || own->direction.origin == kOriginNone) {
            own->direction = from.direction;
            own->direction.origin = kOriginNone;
            own->direction.important = false; // the parent's declaration, not this element's
        }
        InheritFontAndText(*own, from, IsHeadingKind(m_kind));
    }

    // 6. Attributes.
    if (mode & 2)
        CopyMap(&m_attributes, &parent->m_attributes, false);

    // 7. A paragraph directly in a cell takes the cell's alignment halves it
    // does not set itself.
    if (m_kind == kKindP && IsCellKind(parent->m_kind)) {
        if (!own->hAlignSet)
            own->align = static_cast<std::uint16_t>(
                (own->align & kAlignVerticalMask) | (from.align & kAlignHorizontalMask));
        if (!own->vAlignSet)
            own->align = static_cast<std::uint16_t>(
                (own->align & kAlignHorizontalMask) | (from.align & kAlignVerticalMask));
    }
    return true;
}

void InheritOutsideRecord(CElement* e, CElement* parent)
{
    InheritDirOverride(e, parent);
    e->m_owner = parent->m_owner;
    InheritLinkState(e, parent);
    InheritArea(e, parent);
}
