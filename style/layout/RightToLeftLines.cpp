// Right-to-left lines. A right-to-left block is laid out left to right like
// any other; then each of its lines is mirrored: its elements are placed in
// the opposite order within the span they occupy, except that a stretch of
// consecutive left-to-right elements keeps its own order. So that whole
// elements can be moved, text runs that change direction inside are first
// cut where the direction changes, and the inline elements around a run
// that changes direction are split there (PrepareInlineContent). Inside one
// run the text engine orders the glyphs. A bdo mirrors its children line
// by line.

#include "element/Element.h"
#include "element/TreeQueries.h"
#include "elements/TextElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutSteps.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <vector>

namespace {

// The element's own direction (not one inherited) is right to left.
bool OwnRightToLeft(const CElement* e)
{
    const STYLE_TYPE& d = e->Style().direction;
    return d.set && d.origin != kOriginNone && d.value == kDirectionRtl;
}

// From e (included) up to stop (excluded), the first element whose own
// direction is right to left.
const CElement* IsRTLSubElement(const CElement* e, const CElement* stop)
{
    for (; e && e != stop; e = e->m_parent) {
        if (OwnRightToLeft(e))
            return e;
    }
    return nullptr;
}

bool CutsMixedText(const CElement* block)
{
    const long kind = block->m_kind;
    return block->Style().rtl && !block->m_dirOverride && kind != kKindBody && kind != kKindUl
        && kind != kKindOl && kind != kKindTr;
}

// The text runs with text and the images of block's own lines, in document
// order: floats, and other blocks with their content, are passed over.
std::vector<CElement*> LineContent(CElement* block)
{
    std::vector<CElement*> out;
    std::vector<CElement*> stack;
    for (CElement* c = block->m_lastChild; c; c = c->m_prevSibling)
        stack.push_back(c);
    while (!stack.empty()) {
        CElement* e = stack.back();
        stack.pop_back();
        if (e->IsFloatType() || (e->m_kind != kKindText && LaysOutAsBlock(e)))
            continue;
        if ((e->m_kind == kKindText && !e->m_text.IsEmpty()) || e->m_kind == kKindImg)
            out.push_back(e);
        for (CElement* c = e->m_lastChild; c; c = c->m_prevSibling)
            stack.push_back(c);
    }
    return out;
}

// Cuts run at every place where its direction changes (the pieces are
// examined next, each of one direction) and splits the inline elements
// between it and the block after it.
void Separate(CTextElement* run, CElement* block, std::vector<CElement*>& content, size_t at, bool layOut)
{
    // Each place is found from the one before, as the piece after it would
    // be scanned; the run is cut from the back, so that each piece copies
    // its own text only, and the run's text is fitted once.
    std::vector<int> cuts;
    const int n = run->m_text.Length();
    for (int from = 0, pos = 0; run->m_text.IsMixedTextFrom(from, &pos) && pos > from && pos < n; from = pos)
        cuts.push_back(pos);
    std::vector<CElement*> pieces;
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
        CTextElement* rest = run->SplitText(*cut, true);
        if (!rest)
            continue;
        // Pieces of one run, joined again before the next layout cuts it
        // afresh.
        rest->m_inlineGroup = run->InlineIDInfo(1, 0);
        rest->StyleChanged(2);
        rest->BuildCDC(nullptr);
        if (layOut)
            rest->CalcWinReg(nullptr, false, false, nullptr);
        pieces.push_back(rest);
    }
    if (!pieces.empty()) {
        CSafeBuf kept = run->m_text.Left(run->m_text.Length());
        run->m_text.ReplaceWith(&kept);
        content.insert(content.begin() + static_cast<std::ptrdiff_t>(at) + 1, pieces.rbegin(), pieces.rend());
    }
    if (run->m_parent == block)
        return;
    // The inline elements around the run are split before it (unless
    // nothing stands before it in them) and after it.
    auto topOf = [block](CElement* e) {
        while (e->m_parent && e->m_parent != block)
            e = e->m_parent;
        return e;
    };
    auto laidOut = [layOut](CElement* half) {
        if (half && layOut) {
            half->BuildCDC(nullptr);
            half->CalculateReg(nullptr, nullptr);
        }
    };
    CElement* top = topOf(run);
    CElement* x = run;
    while (x != top && !x->m_prevSibling)
        x = x->m_parent;
    CElement* half = nullptr;
    if (x != top && x->m_parent->SplitUntilParent(&half, top->GetID(), x->m_prevSibling->GetID()))
        laidOut(half);
    top = topOf(run);
    if (run->m_parent != block && run->m_parent->SplitUntilParent(&half, top->GetID(), run->GetID()))
        laidOut(half);
}

void CutMixedText(CElement* block, bool layOut)
{
    enum
    {
        kNone,
        kRightToLeft,
        kLeftToRight
    } state
        = kNone;
    std::vector<CElement*> content = LineContent(block);
    for (size_t i = 0; i < content.size(); ++i) {
        CTextElement* run = dynamic_cast<CTextElement*>(content[i]);
        if (!run)
            continue;
        const CSafeBuf& text = run->m_text;
        if (!text.HasArabicOrHebrew() && !text.HasEndSentence()) {
            if (text.JustSpace())
                continue;
            if (state == kRightToLeft)
                Separate(run, block, content, i, layOut);
            state = kLeftToRight;
        } else {
            if (state == kLeftToRight || text.IsMixedText(nullptr))
                Separate(run, block, content, i, layOut);
            state = kRightToLeft;
        }
    }
}

bool CountsRightToLeft(const CElement* e, const CElement* block)
{
    if (OwnRightToLeft(e) || IsRTLSubElement(e, block) || IsRTLChild(e, true))
        return true;
    return e->m_kind == kKindText && e->m_text == ".";
}

// Places the elements of one line in visual right-to-left order within the
// span they occupy, each after the gap that stood before it.
void ReverseRTL(const std::vector<CElement*>& line, const CElement* block)
{
    if (line.size() < 2)
        return;
    std::vector<int> gaps(line.size(), 0);
    int left = INT_MAX, right = INT_MIN;
    int previousRight = 0;
    bool first = true;
    for (size_t i = 0; i < line.size(); ++i) {
        const int x = line[i]->Lay().m_position.x;
        const int w = BoxWidth(line[i]);
        if (w != 0) {
            gaps[i] = first ? 0 : x - previousRight;
            previousRight = AddCoord(x, w);
            first = false;
        }
        left = std::min(left, x);
        right = std::max(right, AddCoord(x, w));
    }
    if (right <= left)
        return;
    std::deque<size_t> order;
    std::vector<size_t> leftToRight;
    auto flush = [&]() {
        order.insert(order.begin(), leftToRight.begin(), leftToRight.end());
        leftToRight.clear();
    };
    for (size_t i = 0; i < line.size(); ++i) {
        if (CountsRightToLeft(line[i], block)) {
            flush();
            order.push_front(i);
        } else {
            leftToRight.push_back(i);
        }
    }
    flush();
    int x = left;
    for (size_t i : order) {
        x = AddCoord(x, gaps[i]);
        line[i]->Lay().m_position.x = x;
        x = AddCoord(x, BoxWidth(line[i]));
    }
}

// Mirrors the elements of one line inside the span they occupy.
void ReversePos(const std::vector<CElement*>& line)
{
    if (line.size() < 2)
        return;
    const int left = line.front()->Lay().m_position.x;
    const int right = AddCoord(line.back()->Lay().m_position.x, BoxWidth(line.back()));
    for (CElement* e : line)
        e->Lay().m_position.x
            = AddCoord(right, -(static_cast<long long>(e->Lay().m_position.x) + BoxWidth(e) - left));
}

// The children of e by line (line group), floats left out, each line handed
// to fn.
template <class F>
void ForEachLine(CElement* e, F&& fn)
{
    std::vector<CElement*> line;
    long group = 0;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->IsFloatType())
            continue;
        if (!line.empty() && c->Lay().m_lineGroup != group) {
            fn(line);
            line.clear();
        }
        group = c->Lay().m_lineGroup;
        line.push_back(c);
    }
    if (!line.empty())
        fn(line);
}

} // namespace

bool PrepareInlineContent(CElement* block, bool noChildCalc)
{
    const bool spares = !noChildCalc && JoinWrappedPieces(block);
    if (CutsMixedText(block))
        CutMixedText(block, noChildCalc);
    return spares;
}

bool CElement::FixRTLChildren()
{
    if (LaysOutAsBlock(this) && Style().rtl && m_childCount >= 2) {
        ForEachLine(this, [this](const std::vector<CElement*>& line) { ReverseRTL(line, this); });
        return true;
    }
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindBdo)
            ForEachLine(c, [](const std::vector<CElement*>& line) { ReversePos(line); });
    }
    return true;
}
