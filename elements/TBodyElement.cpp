// The row groups tbody, thead and tfoot: their rows stacked, and a row with
// one empty cell for a group that has none.

#include "elements/TBodyElement.h"

#include "element/factory/ElementFactory.h"
#include "elements/TRElement.h"
#include "elements/TableElement.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>

namespace {

bool HasRow(const CElement* group)
{
    for (const CElement* c = group->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_kind == kKindTr)
            return true;
    }
    return false;
}

CElement* AppendNew(CElement* parent, const char* tag)
{
    CElement* e = CreateElement(tag, parent->m_rules, parent->m_root, parent->m_owner);
    if (e && !parent->AppendChild(e)) {
        delete e;
        return nullptr;
    }
    return e;
}

} // namespace

bool EnsureGroupRow(CElement* group)
{
    if (HasRow(group))
        return false;
    CElement* row = AppendNew(group, "tr");
    CElement* cell = row ? AppendNew(row, "td") : nullptr;
    if (cell)
        AppendNew(cell, "");
    return row != nullptr;
}

bool CTBodyElement::CopyFromParent(CElement* parent, int mode)
{
    if (!CElement::CopyFromParent(parent, mode))
        return false;
    TakeRowStyle(this, parent, mode);
    return true;
}

bool CTBodyElement::CalcWinReg(void* dc, bool noChildCalc, bool, CalcInfo* info)
{
    LayoutNesting nesting(this);
    if (nesting.TooDeep()) {
        Lay().m_sizeRect.SetRectEmpty();
        return true;
    }
    EnsureGroupRow(this);
    CalcForAll(dc, false, false);
    Lay().m_sizeRect.SetRectEmpty();
    const CElement* table = m_parent && m_parent->m_kind == kKindTable ? m_parent : nullptr;
    const int spacing = table ? table->Style().cellSpacing : 0;
    long y = 0, width = 0;
    bool first = true;
    for (CElement* row = m_firstChild; row; row = row->m_nextSibling) {
        if (row->m_kind != kKindTr)
            continue;
        if (!first)
            y = AddCoord(y, spacing);
        first = false;
        row->Lay().m_position = CPoint(0, y);
        if (!noChildCalc)
            row->CalculateReg(dc, info);
        y = AddCoord(y, BoxHeight(row));
        width = std::max<long>(width, BoxWidth(row));
    }
    Lay().m_sizeRect = CRect(0, 0, width, y);
    return true;
}

bool CTBodyElement::GetMinSize(CSize&, bool) { return true; }

bool CTBodyElement::DrawBorder(void*, CPoint, CRect*) { return true; }
