#pragma once
// CAElement: the anchor "a". Made only by the element factory, which stores the final kind code.
//
// An anchor with children (a link) is laid out and painted as any inline
// element. One without children (a named target) has the box of its icon,
// which it has none of: it takes no room and paints nothing.

#include "element/Element.h"

class CAElement : public CElement
{
public:
    explicit CAElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindA; }

    // Slot 11: an "href" starting with "www." (any case) gets "http://" in
    // front; then the base layout, or the icon's box without children.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 37: the base's with children, else raised to the icon's size.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Slot 41: nothing for an anchor without children that is not a piece
    // of a wrapped element; else the base.
    bool SelfPaint(void* dc, CPoint origin) override;

    // Puts "http://" in front of an "href" that starts with "www.". Only the
    // attribute's text changes: styles are not re-applied, so calling it
    // during layout does not start the layout or the cascade again (no rule
    // of the editor selects on the text of href). True when it changed.
    bool CompleteWebAddress();

    int m_iconWidth = 0;
    int m_iconHeight = 0;
};
