#include "style/paint/BodyRows.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <climits>

namespace qm::paint {

namespace {

// The body's entries, without making a paint state.
BodyRows* RowsOf(const CElement* root)
{
    if (!root || !root->m_owner || !root->m_owner->m_doc.m_paintState)
        return nullptr;
    return &root->m_owner->m_doc.m_paintState->m_bodyRows;
}

// An element never painted is painted in every band.
BodyRow EntryOf(CElement* c)
{
    if (!c->Lay().m_painted)
        return BodyRow{c, INT_MIN, INT_MAX, 0};
    return BodyRow{c, c->Lay().m_paintTop, c->Lay().m_paintBottom, 0};
}

} // namespace

const CElement* BodyChildAbove(const CElement* e)
{
    for (; e && e->m_parent; e = e->m_parent) {
        if (IsRoot(e->m_parent))
            return e;
    }
    return nullptr;
}

void BuildBodyRows(CElement* root)
{
    BodyRows* rows = RowsOf(root);
    if (!rows)
        return;
    // Entries made before hand what lags to their children first.
    if (rows->root == root && rows->lagging) {
        for (std::size_t i = 0; i < rows->rows.size(); ++i)
            SettleBodyRow(*rows, i);
    }
    rows->rows.clear();
    rows->rows.reserve(size_t(root->m_childCount));
    for (CElement* c = root->m_firstChild; c; c = c->m_nextSibling)
        rows->rows.push_back(EntryOf(c));
    rows->root = root;
    rows->lagging = false;
    rows->hint = 0;
}

void ClearBodyNotes(const CElement* root)
{
    if (BodyRows* rows = RowsOf(root)) {
        rows->relaid = false;
        rows->shiftAfter = nullptr;
        rows->shiftDy = 0;
        rows->shifts = 0;
    }
}

void DropBodyRows(const CElement* root)
{
    BodyRows* rows = RowsOf(root);
    if (!rows)
        return;
    if (rows->root == root) {
        if (rows->lagging) {
            for (size_t i = 0; i < rows->rows.size(); ++i)
                SettleBodyRow(*rows, i);
        }
        rows->rows.clear();
        rows->root = nullptr;
        rows->lagging = false;
    }
    if (IsRoot(root))
        rows->relaid = true;
}

long BodyRowIndex(const CElement* root, const CElement* child)
{
    BodyRows* rows = RowsOf(root);
    if (!rows || rows->root != root || !child || child->m_parent != root)
        return -1;
    const size_t n = rows->rows.size();
    // Outwards from the last child found: edits come near one another.
    const size_t hint = rows->hint < n ? rows->hint : 0;
    for (size_t d = 0; d < n; ++d) {
        for (const size_t i : {hint + d, hint - d}) {
            if (i < n && rows->rows[i].e == child) {
                rows->hint = i;
                return long(i);
            }
        }
        if (hint + d >= n && d > hint)
            break;
    }
    return -1;
}

void SettleBodyRow(BodyRows& rows, size_t i)
{
    BodyRow& row = rows.rows[i];
    if (!row.lag)
        return;
    CElement* c = row.e;
    c->Lay().m_prevDocPos.y += row.lag;
    c->Lay().m_paintTop += row.lag;
    c->Lay().m_paintBottom += row.lag;
    c->Lay().m_recordShift += row.lag;
    row.lag = 0;
}

void RefreshBodyRow(const CElement* child)
{
    if (!child || !child->m_parent)
        return;
    const long i = BodyRowIndex(child->m_parent, child);
    if (i < 0)
        return;
    BodyRows* rows = RowsOf(child->m_parent);
    const int lag = rows->rows[size_t(i)].lag;
    rows->rows[size_t(i)] = EntryOf(const_cast<CElement*>(child));
    rows->rows[size_t(i)].lag = lag;
    if (lag && child->Lay().m_painted) {
        rows->rows[size_t(i)].top += lag;
        rows->rows[size_t(i)].bottom += lag;
    }
}

int BodyRowLag(const CElement* child)
{
    if (!child || !child->m_parent)
        return 0;
    const long i = BodyRowIndex(child->m_parent, child);
    return i < 0 ? 0 : RowsOf(child->m_parent)->rows[size_t(i)].lag;
}

void NoteBodyShift(const CElement* root, const CElement* child, int dy)
{
    if (BodyRows* rows = RowsOf(root)) {
        rows->shiftAfter = child;
        rows->shiftDy += dy;
        ++rows->shifts;
    }
}

void NoteBodyRelaid(const CElement* root)
{
    if (BodyRows* rows = RowsOf(root))
        rows->relaid = true;
}

} // namespace qm::paint
