// Caret moves the document makes itself: Up and Down by lines (keeping the
// column in the last key position's x), by blocks with Control or Option,
// and Home and End to the edges of the caret's line.
//
// A line is found by the caret points of its stops: a stop belongs to the
// caret's line while its caret point lies in the band from a few pixels
// below the caret's top to a few pixels below its foot.

#include "document/XDoc.h"

#include "document/CaretStops.h"

#include "element/Element.h"
#include "element/TreeQueries.h"

#include "base/shims/Keys.h"
#include "elements/TDElement.h"
#include "elements/TableElement.h"
#include "elements/TypingTree.h"
#include "style/layout/ElementPosition.h"

#include <vector>

namespace {

constexpr int kUpCode = 1;
constexpr int kDownCode = 2;

CElement* EnclosingCell(const CElement* e)
{
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind))
            return a;
    }
    return nullptr;
}

// The caret point e would have at offset.
CPoint StopPoint(CElement* e, long offset)
{
    CPoint pt;
    e->GetKeyPos(pt, int(offset));
    return pt;
}

// The cell a line move from cell goes to when the grid has none in the
// same column of the next (previous) row: the row after the rows the cell
// spans (before its first row) is searched for a cell standing wholly past
// the cell's rows, a cell spanning down into it from above included. The
// one covering column wins; else, in a row of other columns (fewer cells,
// other spans), the one nearest to x. Null past the table's first or last
// row, or when no cell stands there.
CElement* CellInRowBeyond(CElement* cell, bool down, int column, long x)
{
    const CTableElement* table = TableOfCell(cell);
    int row = 0;
    int ownColumn = 0;
    if (!table || !table->FindCellPosition(cell, row, ownColumn, false))
        return nullptr;
    std::vector<CElement*> rows;
    std::vector<CElement*> cells;
    TableRows(table, rows);
    const int target = down ? row + GridSpan(cell->Style().rowSpan) : row - 1;
    if (target < 0 || target >= static_cast<int>(rows.size()))
        return nullptr;
    CElement* nearest = nullptr;
    long nearestDistance = 0;
    for (int r = down ? target : 0; r <= target; ++r) {
        RowCells(rows[r], cells);
        int along = 0;
        for (CElement* c : cells) {
            const int index = static_cast<const CTDElement*>(c)->m_columnIndex;
            const int first = index < 0 ? along : index;
            along += GridSpan(c->Style().colSpan);
            // Going up, only a cell that ends right above the caret's.
            if (!down && r + GridSpan(c->Style().rowSpan) != row)
                continue;
            if (column >= first && column < first + GridSpan(c->Style().colSpan))
                return c;
            const CRect box = DocumentRect(c);
            const long distance = x < box.left ? box.left - x : (x > box.right ? x - box.right : 0);
            if (!nearest || distance < nearestDistance) {
                nearest = c;
                nearestDistance = distance;
            }
        }
    }
    return nearest;
}

// The search from the root takes, among the cells of a row it enters, the
// first in document order: Down from above a table of columns went to its
// first column, whatever the caret's column. The cell of that row standing
// under (over) the column start.x instead is searched alone, and so on for
// a table inside it; a cell holding nothing that takes the caret leaves the
// find as it was.
CElement* InTheColumn(CElement* nearest, CPoint start, int code, CPoint& found, CElement* caret)
{
    const CElement* within = nullptr; // the cells around it are settled
    for (int depth = 0; depth < 64 && nearest; ++depth) {
        CElement* cell = nullptr;
        for (CElement* a = nearest->m_parent; a && a != within; a = a->m_parent) {
            if (IsCellKind(a->m_kind) && !caret->IsOneOfParent(a))
                cell = a;
        }
        if (!cell || !cell->m_parent)
            break;
        CElement* column = nullptr;
        long columnDistance = 0;
        for (CElement* c = cell->m_parent->m_firstChild; c; c = c->m_nextSibling) {
            if (!IsCellKind(c->m_kind))
                continue;
            const CRect box = DocumentRect(c);
            const long distance = start.x < box.left ? box.left - start.x
                                                     : (start.x >= box.right ? start.x - box.right + 1 : 0);
            if (!column || distance < columnDistance) {
                column = c;
                columnDistance = distance;
            }
        }
        within = cell;
        if (!column || column == cell)
            continue;
        CPoint inColumn(-1, -1);
        CElement* there = nullptr;
        column->FindNearElement(start, code, inColumn, &there, caret->GetID(), true, caret);
        if (!there)
            continue;
        nearest = there;
        found = inColumn;
        within = column;
    }
    return nearest;
}

// In a right-to-left block the caret's line edge is found by the boxes of
// the block's text runs on the line band [top, bottom]: End takes the run
// whose box starts furthest left, at its offset 0; Home the run whose box
// reaches furthest right, at its end. Null when no run is on the band.
CElement* RightToLeftLineEdge(CElement* block, long top, long bottom, bool end, long& offset)
{
    CElement* best = nullptr;
    CRect bestBox;
    for (CElement* e = NextInSubtree(block, block); e; e = NextInSubtree(e, block)) {
        if (!e->IsTextElement())
            continue;
        const CRect box = DocumentRect(e);
        if (box.bottom < top || box.top > bottom)
            continue;
        if (!best || (end ? box.left < bestBox.left : box.right > bestBox.right)) {
            best = e;
            bestBox = box;
        }
    }
    if (best)
        offset = end ? 0 : best->m_text.Length();
    return best;
}

// The stop nearest to start above (code 1) or below (code 2) within scope,
// never one on the caret's own line: an empty run beside a link has a box
// no taller than a point at the line's top, which the search takes for a
// line above, and Up would only go back and forth along the line. Such a
// find is searched past once from beyond the line's edge; found again, there
// is none.
CElement* NearestOffTheLine(CElement* scope, CPoint start, int code, CPoint& found, CElement* caret)
{
    if (code == kDownCode) {
        // The caret foot of an empty run in a line of its own (a list item
        // holding only an anchor, an empty line of a pre) hangs a little
        // below the run's box, over the top of the next line, which Down
        // then passed over: the search starts from the box's bottom.
        const CRect box = DocumentRect(caret);
        if (box.bottom < start.y)
            start.y = box.bottom;
    }
    CElement* nearest = nullptr;
    found = CPoint(-1, -1);
    scope->FindNearElement(start, code, found, &nearest, caret->GetID(), true, caret);
    CPoint here;
    caret->GetKeyPos(here, -1);
    const int height = caret->GetKeyLen();
    auto onLine = [&](CElement* e) {
        if (!e || e->m_edgeCaret)
            return false;
        // An empty run after bold text at a paragraph's end has its foot a
        // pixel or two off the bold text's.
        const CPoint pt = StopPoint(e, 0);
        const long apart = pt.y > here.y ? pt.y - here.y : here.y - pt.y;
        return apart == 0 || (e->IsTextElement() && e->m_text.Length() == 0 && apart * 2 < height);
    };
    if (!onLine(nearest))
        return nearest;
    // From the top of the caret's line: the line above may end right
    // there (list items have no margin between them).
    start.y = code == kUpCode ? here.y - height + 1 : here.y + 1;
    nearest = nullptr;
    found = CPoint(-1, -1);
    scope->FindNearElement(start, code, found, &nearest, caret->GetID(), true, caret);
    return onLine(nearest) ? nullptr : nearest;
}

// An empty run before an inline element at a line's start (a paragraph
// that begins with a link or a var) has a box no taller than a point at the
// line's top, so the search down answers it before the text of that line,
// whatever the column: Down went to the line's start, and a Shift+Down
// selected nothing. The same holds for the empty run after a link that ends
// a line (a paragraph holding only a link): Down went to the line's end.
// The text stop on that line nearest to column x takes its place; found
// becomes the point there. Null when the line holds no other text. The line
// ends with the run's block: a list item holding only an anchor stands a
// line's height above the next item, whose text would otherwise pass for
// its own, and Down skipped the item.
CElement* NearestTextOnLineOf(CElement* empty, long x, CPoint& found, CElement*& caretElement)
{
    const CPoint foot = StopPoint(empty, 0);
    const int height = empty->GetKeyLen();
    const CElement* block = empty->GetFirstBlockParent();
    // The run's own line: text whose box reaches into the run's box. An
    // empty line of a pre stands right above the next line, whose stop lies
    // within the band below and which Down went to instead.
    const CRect own = DocumentRect(empty);
    const long top = own.bottom > own.top ? own.top : foot.y - height;
    const long bottom = own.bottom > own.top ? own.bottom : foot.y - height / 2;
    CElement* best = nullptr;
    long bestDistance = 0;
    auto consider = [&](CElement* e) {
        if (!e->IsTextElement() || e->m_text.Length() == 0)
            return;
        const CRect box = DocumentRect(e);
        if (box.top >= bottom || box.bottom <= top)
            return;
        const long distance = x < box.left ? box.left - x : (x > box.right ? x - box.right : 0);
        if (!best || distance < bestDistance) {
            best = e;
            bestDistance = distance;
            found = CPoint(x < box.left ? box.left : (x > box.right ? box.right : x), box.top);
        }
    };
    // The stops before the run on its line: closer than half a line, so
    // that the line above stays out.
    std::vector<CElement*> before;
    CStopVisits back;
    for (CElement* e = NextStop(empty, false); e && e != empty && !back.AgainAtSide(e);
         e = NextStopPast(e, false, caretElement)) {
        const CPoint pt = StopPoint(e, 0);
        const long apart = pt.y > foot.y ? pt.y - foot.y : foot.y - pt.y;
        if (apart * 2 >= height || e->GetFirstBlockParent() != block)
            break;
        before.push_back(e);
    }
    for (auto e = before.rbegin(); e != before.rend(); ++e)
        consider(*e);
    CStopVisits seen;
    for (CElement* e = NextStop(empty, true); e && e != empty && !seen.AgainAtSide(e);
         e = NextStopPast(e, true, caretElement)) {
        const CPoint pt = StopPoint(e, 0);
        if (pt.y < foot.y - height || pt.y > foot.y + height || e->GetFirstBlockParent() != block)
            break;
        consider(e);
    }
    return best;
}

} // namespace

bool CXDoc::MoveByLine(bool down, bool shift, bool fromSelection)
{
    CElement* caret = m_caretElement;
    if (caret->m_edgeCaret)
        return false;
    CPoint start = m_lastKeyPos.x == -1 && m_lastKeyPos.y == -1 ? m_caretPoint : m_lastKeyPos;
    if (!down)
        start.y -= 1;
    const int code = down ? kDownCode : kUpCode;
    CPoint found(-1, -1);
    CElement* nearest = nullptr;
    // From a cell, and from each cell a table without a row beyond stands
    // in: a nested table is left into the rest of its cell, whose content
    // and rows come before the outer table's other cells, which the search
    // from the root would take by their order.
    for (CElement* cell = EnclosingCell(caret); cell && !nearest;) {
        nearest = NearestOffTheLine(cell, start, code, found, caret);
        if (!nearest) {
            int row = 0;
            int column = 0;
            const auto* td = dynamic_cast<const CTDElement*>(cell);
            CElement* target = nullptr;
            if (td && td->GetPositionInTable(row, column) && (down || row > 0))
                target = td->GetCellByPositionInTable(down ? row + 1 : row - 1, column);
            // Only a cell of another row: past the last row the grid may
            // answer the cell itself.
            int targetRow = row;
            int targetColumn = 0;
            const auto* other = dynamic_cast<const CTDElement*>(target);
            if (!other || target == cell || !other->GetPositionInTable(targetRow, targetColumn)
                || (down ? targetRow <= row : targetRow >= row))
                target = nullptr;
            // A row beyond without a cell of its own at the column (a cell
            // spanning rows, a row of other columns) still takes the caret:
            // it went past the table, or stayed when nothing followed it.
            if (!target && td)
                target = CellInRowBeyond(cell, down, column, start.x);
            if (target) {
                const CRect box = DocumentRect(target);
                CPoint pt(start.x, down ? box.top + 1 : box.bottom - 1);
                if (pt.x <= box.left || pt.x >= box.right - 1)
                    pt.x = pt.x <= box.left ? box.left + 1 : box.right - 2;
                SetKeyToPosition(pt, 3);
                m_lastKeyPos.y = m_caretPoint.y;
                if (m_lastKeyPos.x == -1)
                    m_lastKeyPos.x = start.x;
                return true;
            }
            // No row beyond: on from the edge of the rows' parent.
            CElement* rows = cell->m_parent ? cell->m_parent->m_parent : nullptr;
            if (rows) {
                const CRect box = DocumentRect(rows);
                start.y = down ? box.bottom : box.top;
            }
            cell = rows ? EnclosingCell(rows) : nullptr;
        }
    }
    if (!nearest) {
        nearest = NearestOffTheLine(m_root, start, code, found, caret);
        if (nearest)
            nearest = InTheColumn(nearest, start, code, found, caret);
    }
    if (!nearest) {
        if (shift)
            return OnChar(down ? 4 : 1, 1, 0);
        Redraw();
        return false;
    }
    if (down && nearest->IsTextElement() && nearest->m_text.Length() == 0) {
        CPoint onLine = found;
        if (CElement* text = NearestTextOnLineOf(nearest, start.x, onLine, m_caretElement)) {
            nearest = text;
            found = onLine;
        }
    }
    CPoint point = m_caretPoint;
    int height = m_caretHeight;
    int offset = 0;
    const CPoint old = m_caretPoint;
    // The caret moves when it is shown, and also while a selection hides
    // it: Shift extends the selection from the caret's new place, and a
    // selection collapsed by this key goes on from its end.
    if (nearest->GetCloseCursor(found, point, height, offset, 0)
        && (m_caretEnabled || shift || fromSelection)) {
        nearest->m_caretOffset = offset;
        m_caretElement = nearest;
        m_caretPoint = point;
        m_caretHeight = height;
        m_caretColor = nearest->GetKeyColor();
        UpdateKeyCursor();
        if (m_lastKeyPos.x == -1 && m_lastKeyPos.y == -1)
            m_lastKeyPos.x = start.x;
        m_lastKeyPos.y = m_caretPoint.y;
        m_caretPhase = 1;
    }
    SetScrollBar();
    if (m_caretPoint != old)
        Redraw();
    return true;
}

bool CXDoc::MoveByBlock(bool down)
{
    CElement* caret = m_caretElement;
    CElement* block = caret->GetFirstBlockParent();
    if (!block)
        return false;
    CElement* target = nullptr;
    const bool atStart = caret->m_caretOffset == 0 && caret == block->GetFirstValidSubElement(0, false);
    if (!down && !atStart) {
        target = block;
    } else {
        // The sibling block before (after) the caret's block that holds a
        // stop; climbing while there is none.
        for (CElement* b = block; b && b != m_root && !target; b = b->m_parent) {
            for (CElement* s = down ? b->m_nextSibling : b->m_prevSibling; s;
                 s = down ? s->m_nextSibling : s->m_prevSibling) {
                if (s->GetFirstValidSubElement(0, false)) {
                    target = s;
                    break;
                }
            }
        }
    }
    if (!target)
        return false;
    // The innermost block: first child blocks going down, last going up.
    for (;;) {
        CElement* inner = nullptr;
        for (CElement* c = down ? target->m_firstChild : target->m_lastChild; c;
             c = down ? c->m_nextSibling : c->m_prevSibling) {
            if (c->m_block && c->GetFirstValidSubElement(0, false)) {
                inner = c;
                break;
            }
        }
        if (!inner || (target == block && !down && !atStart))
            break;
        target = inner;
    }
    CElement* run = target->GetFirstValidSubElement(0, false);
    if (!run)
        return false;
    run->m_caretOffset = 0;
    m_caretElement = run;
    FinishKey();
    return true;
}

void CXDoc::MoveToLineEdge(bool end)
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return;
    if (caret->m_kind == kKindHr) {
        caret->m_caretOffset = end ? 1 : 0;
        return;
    }
    UpdateKeyCursor();
    const CPoint from = m_caretPoint;
    CElement* block = caret->GetFirstBlockParent();
    if (block && block->Style().rtl) {
        long offset = 0;
        if (CElement* run = RightToLeftLineEdge(block, from.y - m_caretHeight + 1, from.y + 5, end, offset)) {
            run->m_caretOffset = offset;
            m_caretElement = run;
        }
        return;
    }
    const long top = from.y - m_caretHeight + 5;
    const long bottom = from.y + 5;
    const long savedOffset = caret->m_caretOffset;
    CElement* best = caret;
    long bestOffset = caret->IsTextElement() ? (end ? caret->m_text.Length() : 0) : savedOffset;
    CStopVisits seen;
    for (CElement* e = NextStop(caret, end); e && e != caret && !seen.AgainAtSide(e);
         e = NextStopPast(e, end, m_caretElement)) {
        const long offset = e->IsTextElement() ? (end ? e->m_text.Length() : 0) : e->m_caretOffset;
        const CPoint pt = StopPoint(e, offset);
        if (pt.y < top || pt.y > bottom)
            break;
        if (!e->IsTextElement())
            continue;
        // Behind the starting point: the walk wrapped to the next line.
        if (end ? pt.x < from.x : pt.x > from.x)
            break;
        best = e;
        bestOffset = offset;
    }
    caret->m_caretOffset = savedOffset;
    CElement* cell = EnclosingCell(caret);
    if (cell && best != caret && !best->IsOneOfParent(cell)) {
        best = cell->GetFirstOrLastInputElement(!end);
        if (!best)
            return;
        bestOffset = end ? best->m_text.Length() : 0;
    }
    best->m_caretOffset = bestOffset;
    m_caretElement = best;
}
