#pragma once
// CTBodyElement: the row groups "tbody", "thead" and "tfoot". Made only by the element factory, which
// stores the final kind code.
//
// A group stacks its rows one cell spacing apart; a group without rows gets
// one row with one empty cell. Its table places it around its rows.

#include "element/Element.h"

// A group without rows gets one row holding one cell with an empty text
// run. Answers whether it made one.
bool EnsureGroupRow(CElement* group);

class CTBodyElement : public CElement
{
public:
    explicit CTBodyElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTbody; }

    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    bool CopyFromParent(CElement* parent, int mode) override;
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;
};
