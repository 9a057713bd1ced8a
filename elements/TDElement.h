#pragma once
// CTDElement: the table cells "td" and "th". Made only by the element factory, which stores the final
// kind code.
//
// A cell is laid out inside the box its table gives it (m_tableBox; none
// while the table measures it): its content is the box less its paddings and,
// when the cell has a border set, its border widths; it never shrinks below
// the box and aligns its content in it (vertically in the middle unless a
// row, group or the cell says otherwise).

#include "element/Element.h"

// The border a cell without one of its own takes from its row or table:
// the border-set flag and line styles, one pixel wide, in the given colour
// or, without one, light grey.
void TakeCellBorder(CElement* cell, const ELEMENT_STYLE& from);
// Whether the cell holds the border TakeCellBorder would give it already.
bool HoldsCellBorder(const CElement* cell, const ELEMENT_STYLE& from);
// Whether the cell's border (or padding side) is its own, not taken from
// above.
bool HasOwnCellBorder(const CElement* cell);
// Whether an element that takes the whole width it is given (a paragraph, a
// block that centres or right-aligns its lines, a "center", a rule without a
// width of its own, a block with a width in percent) takes it, as far as the
// table cell or caption it stands in (if any) goes. It does not while its
// table measures the cell without a box (CTDElement::SpansParagraph) or lays
// the caption out at the measuring width: there it counts by the width of
// its own content, however deep among their blocks it stands.
bool SpansGivenWidth(const CElement* e);
inline bool IsOwnValue(const STYLE_TYPE& cell) { return cell.set && cell.origin != kOriginNone; }
// Whether cells keep their content's layout within a pass when laid out
// again for the same (CTDElement::m_laidContent; on unless switched off),
// and how many layouts kept it so far in the process.
void SetCellContentKept(bool on);
unsigned long KeptCellContentCount();

class CTDElement : public CElement
{
public:
    explicit CTDElement(STYLE_CLASS* rules);

    bool CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info) override;
    // The box's height (m_tableBox.cy) given to the cell without laying its
    // content out again: the lines the last CalcWinReg made at the same box
    // width stay, aligned anew in the height. False, with nothing changed,
    // when the last layout was not in a box of that width.
    bool FitToBoxHeight();
    // Borders, spacing and paddings of a row or table parent (mode bit 1),
    // its pixel height, and the alignment halves the cell does not set.
    bool CopyFromParent(CElement* parent, int mode) override;
    // The content's minimum plus paddings (and borders when set).
    bool GetMinSize(CSize& size, bool ignoreOwnSize) override;
    bool SelfPaint(void* dc, CPoint origin) override;
    bool DrawMarkOnElement(void* dc, CPoint origin) override;
    // The border, or a light grey frame without one.
    bool DrawBorder(void* dc, CPoint origin, CRect* clip) override;
    // The attributes and rules of the cell's column group and column entry.
    void UpdateExtraAttrs() override;
    // The base reset, then the cell defaults.
    void ResetStyle(bool clearBox) override;
    // The table's whole border block when the cell has none and stands in a
    // row directly under the table.
    virtual void CopyTableBorder();

    // Row and column index in the enclosing table; false without one.
    bool GetPositionInTable(int& row, int& column) const;
    CElement* GetCellByPositionInTable(int row, int column) const;

    // Paddings with the border widths when a border is set.
    CRect GetEdges();
    // Asked by the layout for a paragraph (or other element that takes the
    // whole width it is given, SpansGivenWidth) of the cell's content that is
    // narrower than the width it is given: whether it spans that width. It
    // does in the table's box; measured without the box it keeps its own
    // width, so that the cell's natural width is its content's. The cell
    // notes that its content's layout depends on having the box.
    bool SpansParagraph();

    int m_columnIndex = -1; // the first grid column; -1 until the table assigns it
    // The box the table gives (none while the cell is being measured).
    bool m_hasTableBox = false;
    CSize m_tableBox{0, 0};
    // The minimum size the table measured last (GetTableCellMinWidth), the
    // size measured without a box, and the height laid out at the width of
    // the box alone.
    CSize m_minSize{0, 0};
    // GetMinSize with the cell's own size, worked out again only when the
    // content may have changed since m_minSize was (in another pass, or
    // laid out since: m_contentVersion).
    CSize KeptMinSize();
    CSize m_natural{0, 0};
    int m_heightAtWidth = 0;
    // The box width the content was last laid out at (children included);
    // -1 when it was laid out without a box.
    int m_laidBoxWidth = -1;
    // What the content was last laid out whole for, in the pass it was laid
    // out in: its width, whether a deep table around was measuring and at
    // what width (TableNesting), and whether the cell had its box. Within
    // that pass a layout for the same only places the content again: its
    // children's layouts and lines are what laying them out would make.
    // Placing the content at another width forgets it (a child may be laid
    // out again then). The box counts only when a paragraph's width
    // depended on it (SpansParagraph), so that a cell measured and given a
    // box of the same width keeps the layout of its other content.
    struct ContentLayout
    {
        unsigned long pass = 0;
        int width = -1;
        bool measuring = false;
        int measureWidth = -1;
        bool boxed = false;
        bool paragraphs = false;
        bool operator==(const ContentLayout& o) const
        {
            return pass == o.pass && width == o.width && measuring == o.measuring
                && measureWidth == o.measureWidth && (boxed == o.boxed || !(paragraphs || o.paragraphs));
        }
    };
    ContentLayout m_laidContent;
    // Counts the layouts that may have changed the content: whole ones not
    // kept, and placements at another width than the one noted.
    unsigned long m_contentVersion = 0;
    unsigned long m_minPass = 0;
    unsigned long m_minVersion = 0;
    // What the last CalcWinReg in a box left for FitToBoxHeight: the box
    // width (-1: none), the height of the content with the edges, and the
    // rows the vertical alignment moved the children down.
    int m_fitWidth = -1;
    long m_fitHeight = 0;
    int m_fitShift = 0;
    // A paragraph's width depended on the box in the layout going on
    // (SpansParagraph).
    bool m_paragraphsMet = false;

private:
    // What a layout at the content width set now would be for, and whether
    // the content laid out last is kept for it (no float reaches the cell).
    ContentLayout ContentLayoutNow() const;
    bool KeepsContent(const ContentLayout& now) const;
};
