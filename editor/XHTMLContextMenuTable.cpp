// The context menu's table submenu: present inside an unlocked table, its
// row and column entries enabled only where they can act on one row or one
// column, header entries checked by the cells of the target cell's column and
// row, split enabled for a spanning cell, merge for two or more selected
// cells in one row, and the align entries checked by the current alignment.

#include "editor/XHTML.h"

#include "base/collections/PtrList.h"
#include "editor/ContextMenuOps.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "elements/TableElement.h"

namespace {

using namespace qm::menu;

constexpr std::uint32_t kMergeCells = 32799;
constexpr std::uint32_t kSplitCell = 32800;
constexpr std::uint32_t kColumnOfHeaders = 32839;
constexpr std::uint32_t kRowOfHeaders = 32840;
constexpr std::uint32_t kRowEntries[] = {32836, 32826, 32798, 32780, 32782};
constexpr std::uint32_t kColumnEntries[] = {32837, 32892, 32827, 32797, 32781, 32783};

// Alignment bits in the order of each align submenu's six entries.
constexpr int kAlignBits[] = {0x10, 0x20, 0x40, 1, 2, 4};

CElement* SelfOrAncestor(CElement* e, long kind)
{
    return e->m_kind == kind ? e : e->IsElementUnderTag(kind);
}

void DisableRows(Menu& menu)
{
    for (std::uint32_t id : kRowEntries)
        EnableMenuItem(menu, id, false);
    RemoveSubMenu(menu, kSubMenuAlignRow);
}

void DisableColumns(Menu& menu)
{
    for (std::uint32_t id : kColumnEntries)
        EnableMenuItem(menu, id, false);
    RemoveSubMenu(menu, kSubMenuAlignColumn);
}

bool HoldsSelection(CElement* e) { return e->m_selected || e->HaveSelectedChild(); }

int Span(CElement* cell, const char* name)
{
    CSafeBuf value;
    if (!cell->GetAttrString(name, value) || value.IsEmpty())
        return 1;
    int n = 0;
    for (int i = 0; i < value.Length() && value[i] >= '0' && value[i] <= '9' && n < 100000; ++i)
        n = n * 10 + (value[i] - '0');
    return n;
}

// r: the first run of consecutive cells of the row holding a selected
// element; n: the cells of the whole table that hold one (through its row
// groups, so that the count means the same in either layout).
void RunCount(CTableElement* table, CElement* row, int& r, int& n)
{
    r = 0;
    n = 0;
    bool inRun = false;
    bool runDone = false;
    for (CElement* c = row ? row->m_firstChild : nullptr; c && !runDone; c = c->m_nextSibling) {
        if (!IsCellKind(c->m_kind))
            continue;
        if (HoldsSelection(c)) {
            ++r;
            inRun = true;
        } else if (inRun) {
            runDone = true;
        }
    }
    CPtrList rows;
    table->GetTRElement(&rows);
    for (void* pos = rows.GetHeadPosition(); pos;) {
        auto* tr = static_cast<CElement*>(rows.GetNext(pos));
        for (CElement* c = tr->m_firstChild; c; c = c->m_nextSibling) {
            if (IsCellKind(c->m_kind) && HoldsSelection(c))
                ++n;
        }
    }
}

int CountMarkedCells(CElement* root)
{
    int count = 0;
    for (CElement* e = root; e; e = NextInSubtree(e, root)) {
        if (IsCellKind(e->m_kind) && e->m_wholeCell)
            ++count;
    }
    return count;
}

void CheckAlign(Menu& menu, std::uint32_t firstId, int state)
{
    for (std::uint32_t i = 0; i < 6; ++i)
        SetMenuItemCheck(menu, firstId + i, (state & kAlignBits[i]) != 0);
}

} // namespace

void CXHTML::PruneTableMenu(qm::ui::Menu& whole, CElement* element)
{
    auto* table = dynamic_cast<CTableElement*>(SelfOrAncestor(element, kKindTable));
    if (!table || IsElementLocked(table, false, 0, false)) {
        RemoveSubMenu(whole, kSubMenuTable);
        return;
    }
    qm::ui::Menu* found = FindMenu(whole, kSubMenuTable);
    if (!found)
        return;
    qm::ui::Menu& menu = *found;

    CElement* cell = IsCellKind(element->m_kind) ? element : nullptr;
    if (!cell) {
        CElement* td = element->IsElementUnderTag(kKindTd);
        CElement* th = element->IsElementUnderTag(kKindTh);
        // The nearer of the two.
        cell = td && th ? (td->IsOneOfParent(th) ? td : th) : (td ? td : th);
    }
    if (cell && table != dynamic_cast<CTableElement*>(cell->IsElementUnderTag(kKindTable)))
        cell = nullptr; // a cell of an outer table: the element is the inner table itself

    if (!cell) {
        RemoveSubMenu(menu, kSubMenuAlignCell);
        for (std::uint32_t id : {kColumnOfHeaders, kRowOfHeaders, kSplitCell, kMergeCells})
            EnableMenuItem(menu, id, false);
        DisableColumns(menu);
        if (element->m_kind != kKindTr)
            DisableRows(menu);
        CleanMenu(menu);
        return;
    }

    SetMenuItemCheck(menu, kColumnOfHeaders, table->IsAllTH(cell, false));
    SetMenuItemCheck(menu, kRowOfHeaders, table->IsAllTH(cell, true));
    EnableMenuItem(menu, kSplitCell, Span(cell, "rowspan") > 1 || Span(cell, "colspan") > 1);

    bool merge = false;
    bool runCount = true;
    const bool cellSelection = cell->m_wholeCell && m_doc.m_selectedCellCount > 1;
    if (cellSelection) {
        if (!m_doc.m_root || !m_doc.m_root->IsSelectionUnderTag(kKindTable, 0)) {
            DisableRows(menu);
            DisableColumns(menu);
        } else {
            DisableColumns(menu);
            if (CountMarkedCells(m_doc.m_root) >= 2) {
                merge = true;
                runCount = false;
            }
        }
    }
    if (runCount) {
        int r = 0;
        int n = 0;
        RunCount(table, cell->m_parent, r, n);
        if (n > 1) {
            DisableRows(menu);
            DisableColumns(menu);
        } else if (r > 1) {
            DisableColumns(menu);
        }
        merge = n == r && r > 1;
    }
    EnableMenuItem(menu, kMergeCells, merge);

    int columnState = 0;
    CheckAlign(menu, 32819, GetTDAlignState(cell, &columnState));
    CheckAlign(menu, 32902, columnState);
    CheckAlign(menu, 32896, GetRowAlignState(cell->m_parent, cellSelection));
    CleanMenu(menu);
}
