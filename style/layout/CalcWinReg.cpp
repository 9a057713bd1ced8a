// Laying out one element (CalcWinReg) and the passes built on it: a full
// pass over a subtree (CalculateReg), a bottom-up pass (ReCalcReg), and the
// partial passes after an edit (FastReCalc, ReCalcWin). Every one holds a
// LayoutNesting, so a tree nested past its bound leaves the deepest
// elements empty instead of exhausting the stack.

#include "element/EffectiveValues.h"
#include "element/Element.h"
#include "elements/TableElement.h"
#include "style/layout/BlockShift.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutSteps.h"
#include "style/paint/BodyRows.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>
#include <vector>

namespace {

// The height of a line break that follows a block or another break: the
// height of an empty line.
constexpr int kEmptyLineHeight = 16;

void* RootContext(CElement* e)
{
    CElement* root = e->m_root ? e->m_root : e;
    return root->m_dc.get();
}

// The width and height the style gives in percent (of the container) or in
// em; pixel sizes are recorded by the cascade (SetAttrFromStyle), which
// adds the paddings and borders to them. A width in percent or em is the
// whole box instead: it becomes the CSS width, and the content gets it less
// the edges. A height becomes the CSS height and the available height.
void ResolveBoxSize(CElement* e)
{
    const ELEMENT_STYLE& s = e->Style();
    if (s.widthSet && s.width > 0 && s.widthUnit == kUnitPercent && !PercentWidthCounts(e)) {
        e->Lay().m_cssRect.right = 0;
    } else if (s.widthSet && s.width > 0 && (s.widthUnit == kUnitPercent || s.widthUnit == kUnitEm)) {
        int w = 0;
        if (s.widthUnit == kUnitPercent) {
            w = ClampLength(static_cast<long long>(s.width) * e->Lay().m_containerRect.right / 100);
            if (e->m_tableCell) {
                const BoxEdges border = FlowBorders(e);
                const BoxEdges padding = Paddings(e);
                const int spacing = e->m_parent ? e->m_parent->Style().cellSpacing : 0;
                w = std::max(0, w - spacing - padding.Horizontal() - border.Horizontal());
            }
        } else {
            w = std::max(0, e->GetPxValue(s.width, kUnitEm, 1, 0));
        }
        e->Lay().m_cssRect.right = w;
        e->Lay().m_availRect.right = e->Lay().m_availRect.left + OwnContentWidth(e, w);
    }
    if (s.heightSet && s.height > 0 && (s.heightUnit == kUnitPercent || s.heightUnit == kUnitEm)) {
        int h = 0;
        if (s.heightUnit == kUnitPercent) {
            int container = e->Lay().m_containerRect.bottom;
            if (container <= 0 && e->m_parent)
                container = e->m_parent->Lay().m_containerRect.bottom;
            h = ClampLength(static_cast<long long>(s.height) * std::max<int>(0, container) / 100);
        } else {
            h = std::max(0, e->GetPxValue(s.height, kUnitEm, 1, 0));
        }
        if (h > 0) {
            e->Lay().m_cssRect.bottom = h;
            e->Lay().m_availRect.bottom = e->Lay().m_availRect.top + h;
        }
    }
}

// The previous sibling that shows something (text runs without visible
// text are passed over).
bool ShowsText(const CSafeBuf& text)
{
    const unsigned short* p = text;
    for (int i = 0; i < text.Length(); ++i) {
        if (p[i] > 0x20)
            return true;
    }
    return false;
}

const CElement* PreviousShown(const CElement* e)
{
    const CElement* s = e->m_prevSibling;
    while (s && s->m_kind == kKindText && !ShowsText(s->m_text))
        s = s->m_prevSibling;
    return s;
}

// A block beside floats is given the room they leave by the line layout of
// its parent, before it is laid out; an edit works the element's area out
// again from its parent's content alone (the inherited area), which loses
// that room. Before a partial pass lays e out on its own, its parent places
// its children again (without laying them out), which gives e its area as a
// full pass would. Only e's area is kept: the parent's box and the places of
// its children are those the last full pass left (a table cell, say, is
// sized and aligned by its table).
void TakeAreaFromParent(CElement* e, void* dc)
{
    CElement* parent = e->m_parent;
    const CElement* root = e->m_root ? e->m_root : e;
    if (!parent || root->Rare().m_floatList.GetCount() == 0 || e->m_tablePart || !StandsOnOwnLine(e)
        || !LaysOutAsBlock(parent))
        return;
    const CRect size = parent->Lay().m_sizeRect;
    const CPoint baseline = parent->Lay().m_baseline;
    std::vector<CPoint> places;
    for (const CElement* c = parent->m_firstChild; c; c = c->m_nextSibling)
        places.push_back(c->Lay().m_position);
    parent->CalcWinReg(dc, true, false, nullptr);
    parent->Lay().m_sizeRect = size;
    parent->Lay().m_baseline = baseline;
    auto place = places.begin();
    for (CElement* c = parent->m_firstChild; c && place != places.end(); c = c->m_nextSibling, ++place)
        c->Lay().m_position = *place;
}

} // namespace

bool CElement::CalcWinReg(void* dc, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    // The repaint after it cannot trust the body's children to be where
    // their records say.
    if (qm::paint::IsRoot(this))
        qm::paint::NoteBodyRelaid(this);
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    const InlineContentScope inlineContent(LaysOutAsBlock(this) ? this : nullptr, noChildCalc);
    CalcForAll(dc, false, false);
    if (m_kind == kKindColgroup || m_kind == kKindCol)
        return true;
    Lay().m_sizeRect.SetRectEmpty();
    Lay().m_touchesFloat = 0;
    ResolveBoxSize(this);

    LayoutCall call;
    call.dc = dc;
    call.noChildCalc = noChildCalc;
    call.sameBlockOnly = sameBlockOnly;
    call.info = info;
    if (LaysOutAsBlock(this))
        LayOutLines(this, call);
    else
        LayOutInline(this, call);

    if (m_kind == kKindBr) {
        const CElement* before = PreviousShown(this);
        if (before && (before->m_block || before->m_kind == kKindBr)) {
            Lay().m_sizeRect.bottom = std::max<LONG>(Lay().m_sizeRect.bottom, kEmptyLineHeight);
            Lay().m_baseline.y = Lay().m_sizeRect.bottom;
        }
    }
    if (m_kind != kKindText)
        FixRTLChildren();
    return true;
}

bool CElement::CalculateReg(void* dc, CalcInfo* info)
{
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    if (m_kind == kKindTable)
        BeforeChildCalReg(dc);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->BuildCDC(dc);
    CalcWinReg(dc, false, false, info);
    HandleFinalWidth(this);
    // Laid out whole: what changed before is accounted for.
    m_layoutChanges = 0;
    return true;
}

bool CElement::ReCalcReg(void* dc, bool first, bool noChildCalc, bool sameBlockOnly, CalcInfo* info)
{
    // Only the element the caller names takes its area from its parent; its
    // descendants get theirs as it lays them out.
    const bool outermost = LayoutNesting::CurrentPass() == 0;
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    if (outermost)
        TakeAreaFromParent(this, dc);
    if (m_kind == kKindTable)
        BeforeChildCalReg(dc);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind != kKindText && c->m_kind != kKindImg)
            c->ReCalcReg(dc, first, true, false, info);
    }
    CalcWinReg(dc, noChildCalc, sameBlockOnly, info);
    HandleFinalWidth(this);
    return true;
}

bool CElement::ReCalcWin()
{
    LayoutNesting nesting(this);
    void* dc = RootContext(this);
    TakeAreaFromParent(this, dc);
    return CalcWinReg(dc, true, false, nullptr);
}

bool CElement::FastReCalc(bool upwards)
{
    // Inline content stands on the lines of its block, and an edit to it can
    // move words from line to line anywhere in the block: the block, in the
    // area it has, joins its wrapped pieces and lays its content out again,
    // as a layout from scratch does.
    CElement* e = this;
    while (e->m_parent && (e->m_inline || e->m_kind == kKindText))
        e = e->m_parent;
    LayoutNesting nesting(e);
    void* dc = RootContext(e);
    const CRect before = e->Lay().m_sizeRect;
    const CPoint baselineBefore = e->Lay().m_baseline;
    if (e == this)
        TakeAreaFromParent(e, dc);
    e->CalcWinReg(dc, e == this && m_kind != kKindDiv, false, nullptr);
    HandleFinalWidth(e);
    // A table sizes its columns from its cells' natural and minimum widths,
    // which the edit may change while the boxes up to the cell keep their
    // sizes (the cell's is the table's): inside a cell the edit goes up to
    // the cell's table whatever.
    bool toCell = false;
    for (const CElement* c = e; c && !toCell; c = c->m_parent)
        toCell = c->m_tableCell && TableOfCell(c);
    if ((e->Lay().m_sizeRect == before && !toCell) || !upwards)
        return true;
    // The element whose box changed below each ancestor, as it was before.
    CElement* child = e;
    CRect childBefore = before;
    CPoint childBaseline = baselineBefore;
    // A cell laid out again here is placed by its table like any other.
    for (CElement* a = e->m_tableCell ? e : e->m_parent; a; a = a->m_parent) {
        // A cell is sized by its table: the table lays the cell out again
        // (quickly when its columns keep their widths, else whole), and the
        // table's ancestors follow when the table changed size.
        if (CTableElement* table = a->m_tableCell ? TableOfCell(a) : nullptr) {
            const CRect tableBefore = table->Lay().m_sizeRect;
            const CPoint tableBaseline = table->Lay().m_baseline;
            if (!table->FastCalcCell(a))
                table->CalculateReg(dc, nullptr);
            toCell = false;
            if (table->Lay().m_sizeRect == tableBefore)
                break;
            a = table;
            child = table;
            childBefore = tableBefore;
            childBaseline = tableBaseline;
            continue;
        }
        const CRect box = a->Lay().m_sizeRect;
        const CPoint baseline = a->Lay().m_baseline;
        // A child that kept its box and baseline leaves a's lines as they
        // are. The blocks after child move with its new height; otherwise
        // a's lines are made again from its children's boxes.
        const bool childKept
            = child->Lay().m_sizeRect == childBefore && child->Lay().m_baseline == childBaseline;
        if (!childKept && !ShiftFollowing(a, child, childBefore, childBaseline)) {
            a->CalcWinReg(dc, true, false, nullptr);
            HandleFinalWidth(a);
        }
        if (a->m_tableCell && a->IsElementUnderTag(kKindTable))
            break;
        // An ancestor that kept its size and baseline leaves its own parent's
        // layout as it was: the ones above need not be laid out again.
        if (!toCell && a->Lay().m_sizeRect == box && a->Lay().m_baseline == baseline)
            break;
        child = a;
        childBefore = box;
        childBaseline = baseline;
    }
    return true;
}

bool CElement::DrawUncalc()
{
    if (m_kind == kKindTable)
        BeforeChildCalReg(nullptr);
    BuildCDC(nullptr);
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        c->BuildCDC(nullptr);
    HandleFinalWidth(this);
    return true;
}
