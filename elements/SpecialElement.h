#pragma once
// CSpecialElement: the inline quotation "q". Made only by the element factory; it constructs with a
// provisional kind and the factory stores 60.
//
// The content is laid out by the base class; the element adds typographic
// quotation marks around it, drawn with a text style and layout of its own:
// U+201C and U+201D, or U+2018 and U+2019 when the quotation stands inside
// another one. A quotation wrapped over several lines shows the opening mark
// on its first piece and the closing mark on its last. Each shown mark takes
// the opening mark's width + 2 pixels of the box: the content starts after
// the opening one, the closing one ends the box.

#include <memory>

#include "base/geometry/Size.h"
#include "element/Element.h"

namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

class CSpecialElement : public CElement
{
public:
    explicit CSpecialElement(STYLE_CLASS* rules);
    ~CSpecialElement() override;

    // Slot 4: the base operation; for an inline element the mark flags of
    // this piece and of its other pieces are worked out again, and the
    // derived values of this element (CalcForAll).
    bool FixInlineBrother(void* dc) override;
    // Slot 11: the base layout, then room for the shown marks. True.
    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // Slot 12: the base wrapping in the room the shown marks leave, so that
    // no piece runs past the line with its marks.
    CElement* WrapElement(CSize& room, bool force) override;
    // Slot 37: the base minimum widened by 30 pixels and by the room of
    // each shown mark raises size.
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    // Slot 41: draws the shown marks (the content paints itself). True.
    bool SelfPaint(void* dc, CPoint origin) override;
    // The rows the quotation marks may reach, from the top of the box: they
    // stand on a baseline a quarter of the font size above the box's
    // bottom, wherever that puts them. False when no mark is shown.
    bool PaintedRows(int& top, int& bottom) const;

    // The mark flags from the wrap state: the opening mark on an unwrapped
    // element or a first piece, the closing one on an unwrapped element or
    // a last piece. Only for "q" (kind 60).
    void ReCheck(void* dc);
    // Quotations on the way from this element to the root, itself included.
    int NestingDepth() const;
    // The opening (or closing) mark for this element's depth.
    unsigned short Mark(bool opening) const;

    CSize m_quoteSize;        // cx: the opening mark's measured width
    bool m_openShown = false; // the opening mark is shown
    bool m_closeShown = false;

private:
    // The mark set in the layout with the element's font in colour.
    void PrepareMark(bool opening, unsigned long colour);

    std::unique_ptr<qm::text::Style> m_markStyle;
    std::unique_ptr<qm::text::Layout> m_markLayout;
};
