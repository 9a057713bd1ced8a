#pragma once
// The steps of CalcWinReg, shared by the files of style/layout/.

#include "base/geometry/Point.h"

class CElement;
struct CalcInfo;

// What one CalcWinReg call was asked: lay the children out again (unless
// noChildCalc), and whether only the floats of a child's own block count.
struct LayoutCall
{
    void* dc = nullptr;
    bool noChildCalc = false;
    bool sameBlockOnly = false;
    CalcInfo* info = nullptr;
};

// Puts child at pos in its parent's box, gives it its area (width and
// height around it, and the container its percentages resolve against),
// lays it out unless the call says not to, and marks it placed in this pass.
void LayOutChildAt(CElement* child, CPoint pos, int width, int height, int containerWidth,
    int containerHeight, const LayoutCall& call);

// An inline element: its children side by side on its baseline.
void LayOutInline(CElement* e, const LayoutCall& call);
// A block: its children in lines, blocks on lines of their own, floats at
// the edges, then alignment.
void LayOutLines(CElement* e, const LayoutCall& call);
// Joins the pieces of the wrapped elements among the block's inline content
// (WrapPieces.cpp), before its lines are made again. The text layouts of
// the text pieces joined are kept by the runs they joined for the pieces
// made again (CTextElement::KeepSpareLayouts); true when some were.
bool JoinWrappedPieces(CElement* block);
// Drops the text layouts that runs of the block's inline content kept and
// no new piece took.
void DropSpareLayouts(CElement* block);
// Before a block's lines are made: its wrapped pieces are joined (unless
// the children keep their layout), and in a right-to-left block runs that
// change direction are cut there (RightToLeftLines.cpp). True when text
// layouts were kept for the pieces made again.
bool PrepareInlineContent(CElement* block, bool noChildCalc);
// PrepareInlineContent for a block (none for null), and when the scope
// ends the text layouts it kept are dropped.
class InlineContentScope
{
public:
    InlineContentScope(CElement* block, bool noChildCalc)
        : m_block(block), m_spares(block && PrepareInlineContent(block, noChildCalc))
    { }
    ~InlineContentScope()
    {
        if (m_spares)
            DropSpareLayouts(m_block);
    }
    InlineContentScope(const InlineContentScope&) = delete;
    InlineContentScope& operator=(const InlineContentScope&) = delete;

private:
    CElement* m_block;
    bool m_spares;
};
