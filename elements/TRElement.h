#pragma once
// CTRElement: the table row "tr". Made only by the element factory, which stores the final kind code.
//
// A row puts its cells side by side, one cell spacing apart; its height is
// that of its tallest cell without row span. Its table places it.

#include "element/Element.h"

// What rows and row groups take from the element above them: with mode
// bit 1 the border block, the spacing and the paddings they do not set;
// always the alignment halves they do not set.
void TakeRowStyle(CElement* e, CElement* parent, int mode);

class CTRElement : public CElement
{
public:
    explicit CTRElement(STYLE_CLASS* rules) : CElement(rules) { m_kind = kKindTr; }

    bool BeforeChildCalReg(void* dc) override;
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    bool CopyFromParent(CElement* parent, int mode) override;
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    bool SelfPaint(void* dc, CPoint origin) override;
    // Three nested frames when the row is selected (dark red) or marked by
    // the engine's row selection (blue).
    bool DrawMarkOnElement(void* dc, CPoint origin) override;
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;

    int m_gridWidth = 0;      // columns: the cells' spans, at least 1 each
    bool m_tallSpans = false; // the tallest cell spans rows
    int m_rowHeight = 0;      // the tallest cell without row span
    int m_reserved = 0;
};
