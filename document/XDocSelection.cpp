// The document's side of the selection. The marks themselves live in the
// elements (element/ElementSelection.cpp has the model); the document marks
// the range between two ends, turns the cells of one table touched by a
// drag into a rectangle of marked cells, keeps the summary flags (selection
// present, cell-mark mode, the marked table and count) and refreshes the
// toolbar buttons that follow the selection.

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/TableElement.h"

#include <algorithm>
#include <vector>

namespace {

// Toolbar button kinds the selection display sets.
constexpr int kButtonOrderedList = 7;
constexpr int kButtonUnorderedList = 8;
constexpr int kButtonLeaveBlockquote = 9;
constexpr int kButtonImage = 16;
constexpr int kButtonIndent = 39;

std::vector<CElement*> SelectedElements(const CElement* root, int limit)
{
    std::vector<CElement*> out;
    CPtrList list;
    root->GetAllChildren(&list, 0, true, 0, limit);
    list.ForEachItem([&](void* item) { out.push_back(static_cast<CElement*>(item)); });
    return out;
}

bool IsPartlySelectedText(const CElement* e)
{
    return e->IsTextElement() && (e->m_selStart > 0 || e->m_selEnd < e->m_text.Length() - 1);
}

bool HoldsBlock(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block || HoldsBlock(c))
            return true;
    }
    return false;
}

// The document's summary of the selection says there is none.
void ForgetSelection(CXDoc& doc)
{
    doc.m_selectionPresent = 0;
    doc.m_cellMarkMode = 0;
    doc.m_selectedCellCount = 0;
    doc.m_markedTable = nullptr;
}

// Whether p comes before q in reading order (the same element: by line,
// then by x).
bool PointBefore(CPoint p, CPoint q) { return p.y < q.y || (p.y == q.y && p.x < q.x); }

} // namespace

bool CXDoc::CheckSelection()
{
    try {
        return m_root && m_root->CheckHasSelection(0);
    } catch (...) {
        return false;
    }
}

void CXDoc::CleanSelection()
{
    if (m_selectionPresent && m_root)
        m_root->CleanSelection(true);
    ForgetSelection(*this);
}

CElement* CXDoc::IsSelectionUnderSameTag(int kind)
{
    if (!m_root)
        return nullptr;
    CElement* holder = nullptr;
    for (CElement* e : SelectedElements(m_root, 0)) {
        if (IsPartlySelectedText(e))
            return nullptr;
        CElement* own = e->IsElementUnderTag(kind);
        if (!own || (holder && own != holder))
            return nullptr;
        holder = own;
    }
    return holder;
}

int CXDoc::GetTopSelectedBlocks(CPtrList* out)
{
    if (!m_root || !out)
        return 0;
    const std::vector<CElement*> selected = SelectedElements(m_root, 0);
    if (selected.empty())
        return 0;
    // The lowest common ancestor of the selected elements, then the block
    // at or above it.
    CElement* common = selected.front()->m_parent;
    for (CElement* e : selected) {
        while (common && !e->IsOneOfParent(common))
            common = common->m_parent;
    }
    while (common && !common->m_block && common != m_root)
        common = common->m_parent;
    if (!common)
        return 0;
    int count = 0;
    for (CElement* c = common->m_firstChild; c; c = c->m_nextSibling) {
        if (!c->m_selected && !c->HaveSelectedChild())
            continue;
        if (!out->Find(c))
            out->AddTail(c);
        if (c->m_block || HoldsBlock(c))
            ++count;
        else if (count == 0)
            count = 1;
    }
    return count;
}

void CXDoc::SelectChildOfMarkInTable(CElement* table)
{
    if (!IsInTree(table))
        return;
    bool any = false;
    ForEachCell(table, [&](CElement* cell) {
        if (cell->m_wholeCell) {
            cell->SelectAllChildren(true);
            any = true;
        }
        return true;
    });
    if (!any)
        return;
    m_selectionPresent = 1;
    DisplaySelectionStyle();
}

void CXDoc::DisplayTabStyle()
{
    bool inside = false;
    if (m_root && CheckSelection()) {
        for (CElement* e : SelectedElements(m_root, 0)) {
            if (e->IsElementUnderTag(kKindBlockquote)) {
                inside = true;
                break;
            }
        }
    } else if (IsInTree(m_caretElement)) {
        inside = m_caretElement->IsElementUnderTag(kKindBlockquote) != nullptr;
    }
    ToolEnableButton(kButtonLeaveBlockquote, 0, inside, true);
}

void CXDoc::DisplaySelectionStyle()
{
    if (!m_root)
        return;
    try {
        m_caretEnabled = 0;
        if (m_owner)
            m_owner->DisplayTagBox();
        ToolCheckButton(kButtonOrderedList, 0, false, true);
        ToolCheckButton(kButtonUnorderedList, 0, false, true);
        if (m_root->IsSelectionUnderTag(kKindOl, 1))
            ToolCheckButton(kButtonOrderedList, 0, true, true);
        if (m_root->IsSelectionUnderTag(kKindUl, 1))
            ToolCheckButton(kButtonUnorderedList, 0, true, true);
        const bool inPre = m_root->IsSelectionUnderTag(kKindPre, 1);
        ToolEnableButton(kButtonImage, 0, !inPre, true);
        ToolEnableButton(kButtonIndent, 0, inPre, true);
        if (m_owner)
            m_owner->SetCopyState();
        DisplayTabStyle();
    } catch (...) {
        WriteExcpInfo("DisplaySelectionStyle");
    }
}

void CXDoc::ProcessSelectionFrom(CPoint point)
{
    if (!m_root)
        return;
    try {
        const bool hadSelection = m_selectionPresent != 0 || CheckSelection();
        m_root->CleanSelection(true);
        ForgetSelection(*this);
        // The nearest caret position to a point: the element hit there, or
        // the nearest stop of the document.
        auto nearest = [&](CPoint pt, CPoint& at) -> CElement* {
            if (CElement* hit = m_root->WhereCursorOn(pt)) {
                int length = 0, offset = 0;
                CPoint best = pt;
                if (hit->GetCloseCursor(pt, best, length, offset, 0)) {
                    at = best;
                    return hit;
                }
            }
            CPoint best(-1, -1);
            CElement* found = nullptr;
            m_root->FindNearElement(pt, 0, best, &found, 0, true, nullptr);
            at = best;
            return found;
        };
        CPoint anchorPoint, endPoint;
        // The anchor is the last key position: the press point, or where
        // the caret stood before a Shift-press.
        const CPoint from = m_lastKeyPos.x >= 0 ? m_lastKeyPos : m_pressPoint;
        CElement* anchor = nearest(from, anchorPoint);
        CElement* end = nearest(point, endPoint);
        if (!anchor || !end) {
            if (hadSelection) {
                DrawDoc(2);
                Redraw();
            }
            return;
        }
        ProcessSelection(end, endPoint, anchor, anchorPoint);
    } catch (...) {
        WriteExcpInfo("ProcessSelectionFrom");
    }
}

void CXDoc::ProcessSelection(CElement* end, CPoint endPoint, CElement* anchor, CPoint anchorPoint)
{
    if (!m_root || !IsInTree(end) || !IsInTree(anchor))
        return;
    try {
        // The walk runs from the anchor; backward when the other end comes
        // first in the document.
        const int order = end == anchor ? 0 : m_root->IsBeyondElement(end, anchor);
        const bool reverse = order == 1 || (order == 0 && PointBefore(endPoint, anchorPoint));
        CPtrList touched;
        bool inside = false;
        m_root->ProcessSelection(
            anchor->GetID(), anchorPoint, end->GetID(), endPoint, inside, reverse, &touched);

        std::vector<CElement*> terms, cells;
        touched.ForEachItem([&](void* item) {
            auto* e = static_cast<CElement*>(item);
            (e->m_kind == kKindDd || e->m_kind == kKindDt ? terms : cells).push_back(e);
        });
        if (terms.size() > 1) {
            for (CElement* e : terms)
                e->SelectAllChildren(true);
        }
        // Cells grouped by table: two or more touched cells of one table
        // are marked whole.
        std::vector<CTableElement*> tables;
        for (CElement* cell : cells) {
            CTableElement* table = TableOfCell(cell);
            if (table && std::find(tables.begin(), tables.end(), table) == tables.end())
                tables.push_back(table);
        }
        for (CTableElement* table : tables) {
            int count = 0;
            for (CElement* cell : cells)
                count += TableOfCell(cell) == table;
            if (count < 2)
                continue;
            for (CElement* cell : cells) {
                if (TableOfCell(cell) == table)
                    cell->SelectAllChildren(true);
            }
            m_cellMarkMode = 1;
            m_markedTable = table;
            m_selectedCellCount = count;
        }
        if (m_cellMarkMode)
            MarkCellRectangle(anchor, end);

        const std::vector<CElement*> selected = SelectedElements(m_root, 2);
        if (selected.empty()
            || (selected.size() == 1 && selected[0]->IsTextElement() && selected[0]->m_text.IsEmpty())) {
            if (!selected.empty())
                m_root->CleanSelection(true);
            ForgetSelection(*this);
            // The caret comes back where the press put it.
            const CControlServices* control = Control();
            m_caretEnabled = IsInTree(m_caretElement) && (!control || control->HasKeyboardFocus()) ? 1 : 0;
            if (selected.empty()) {
                DrawDoc(1);
                Redraw();
            }
            return;
        }
        m_selectionPresent = 1;
        DisplaySelectionStyle();
        DrawDoc(2);
        Redraw();
    } catch (...) {
        WriteExcpInfo("ProcessSelection");
    }
}

void CXDoc::MarkCellRectangle(CElement* anchor, CElement* end)
{
    // The marked table may have gone with an edit since cells were marked.
    if (!IsInTree(m_markedTable)) {
        m_cellMarkMode = 0;
        m_markedTable = nullptr;
        return;
    }
    auto* table = static_cast<CTableElement*>(m_markedTable);
    CElement* first = nullptr;
    CElement* last = nullptr;
    ForEachCell(table, [&](CElement* cell) {
        if (anchor == cell || anchor->IsOneOfParent(cell))
            first = cell;
        if (end == cell || end->IsOneOfParent(cell))
            last = cell;
        return true;
    });
    int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    if (!first || !last || first == last || !table->FindCellPosition(first, r0, c0, false)
        || !table->FindCellPosition(last, r1, c1, false))
        return;
    if (r0 > r1)
        std::swap(r0, r1);
    if (c0 > c1)
        std::swap(c0, c1);
    table->CleanSelection(true);
    int count = 0;
    ForEachCell(table, [&](CElement* cell) {
        int row = 0, column = 0;
        if (table->FindCellPosition(cell, row, column, false) && row >= r0 && row <= r1 && column >= c0
            && column <= c1) {
            cell->SelectAllChildren(true);
            ++count;
        }
        return true;
    });
    m_selectedCellCount = count;
}
