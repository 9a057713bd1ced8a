#pragma once
// CBRElement: the line break "br". Made only by the element factory, which stores the final kind code.
//
// While the editing engine shows line-break marks, a break stands in the
// document as the engine's line-break icon; otherwise it is laid out and
// painted as any element.

#include "element/Element.h"

class CBRElement : public CElement
{
public:
    explicit CBRElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindBr;
        m_selectable = 1;
    }

    // Slot 11: with line-break marks shown, the icon's box; else the base.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 41: with line-break marks shown, the icon (tinted when selected);
    // else the base.
    bool SelfPaint(void* dc, CPoint origin) override;

    // A break that stands for a line end of preformatted text: made by the
    // markup reader for each LF inside pre (and by Return inside pre). The
    // markup writer writes it as the line end "\r\n", not as an element.
    bool m_preBreak = false;

private:
    bool ShowsMark() const;
};
