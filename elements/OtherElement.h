#pragma once
// COtherElement: the centring block "center". Made only by the element factory, which stores the final
// kind code.

#include "element/Element.h"

class COtherElement : public CElement
{
public:
    explicit COtherElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindCenter; }

    // Slot 11: a "center" is laid out by the base, widened to at least the
    // available width and its children centred; other kinds keep the base
    // layout.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
};
