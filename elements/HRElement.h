#pragma once
// CHRElement: the horizontal rule "hr". Made only by the element factory, which stores the final kind
// code.
//
// The rule is a line m_ruleOffset pixels below the top of its box, as high
// as its `height` (one pixel without), with m_ruleOffset pixels of room
// above and below it.

#include "element/Element.h"

class CHRElement : public CElement
{
public:
    explicit CHRElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindHr;
        m_selectable = 1;
        m_block = 1;
    }

    // Slot 11: after the base pass, the available width (a `width` in pixels
    // or percent of it instead) and 2 x offset + 2 high (`height` + 2 x
    // offset when set).
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 37: raised to the box width when the width is in pixels (no
    // minimum width otherwise: the box follows the width offered) and to
    // the box height.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Slot 41: a selected rule fills its box light blue first; the line is
    // the rule's own colour, else grey: filled when one pixel high, framed
    // otherwise.
    bool SelfPaint(void* dc, CPoint origin) override;
    // Slot 56: ignored (0) for flags 65535. Otherwise the document's
    // selection is cleared, the rule selected and the document repainted;
    // the last output is set; 1 when the rule was not selected before.
    int LButtonDown(unsigned int flags, CPoint pt, bool&, CPoint&, int&, bool& repainted) override;

    int m_ruleOffset = 7;

private:
    // The line's height: the `height` in pixels, 1 without one.
    int LineHeight() const;
};
