#include "style/paint/BodyRows.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>
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

bool Painted(const BodyRow& r) { return !(r.top == INT_MIN && r.bottom == INT_MAX); }

// Entry i and the one before it keep the order (BodyRows::ordered).
bool InOrderAt(const std::vector<BodyRow>& rows, size_t i)
{
    if (i >= rows.size())
        return true;
    if (!Painted(rows[i]))
        return false;
    return i == 0 || (rows[i - 1].top <= rows[i].top && rows[i - 1].bottom <= rows[i].bottom);
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
    rows->lays.clear();
    rows->rows.reserve(size_t(root->m_childCount));
    rows->lays.reserve(size_t(root->m_childCount));
    rows->ordered = true;
    for (CElement* c = root->m_firstChild; c; c = c->m_nextSibling) {
        rows->rows.push_back(EntryOf(c));
        rows->lays.push_back(&c->Lay());
        rows->ordered = rows->ordered && InOrderAt(rows->rows, rows->rows.size() - 1);
    }
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
    if (rows->root == root && rows->lagging) {
        for (size_t i = 0; i < rows->rows.size(); ++i)
            SettleBodyRow(*rows, i);
    }
    ForgetBodyRows(root);
    if (IsRoot(root))
        rows->relaid = true;
}

void ForgetBodyRows(const CElement* root)
{
    BodyRows* rows = RowsOf(root);
    if (!rows || rows->root != root)
        return;
    rows->rows.clear();
    rows->lays.clear();
    rows->root = nullptr;
    rows->lagging = false;
    rows->ordered = false;
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
    rows->ordered = rows->ordered && InOrderAt(rows->rows, size_t(i)) && InOrderAt(rows->rows, size_t(i) + 1);
}

int BodyRowLag(const CElement* child)
{
    if (!child || !child->m_parent)
        return 0;
    const long i = BodyRowIndex(child->m_parent, child);
    return i < 0 ? 0 : RowsOf(child->m_parent)->rows[size_t(i)].lag;
}

CElementLayout* const* BodyLayoutsAfter(const CElement* root, const CElement* child, size_t& count)
{
    count = 0;
    const long i = BodyRowIndex(root, child);
    if (i < 0)
        return nullptr;
    const BodyRows* rows = RowsOf(root);
    if (rows->rows.size() != size_t(root->m_childCount) || rows->lays.size() != rows->rows.size())
        return nullptr;
    count = rows->lays.size() - size_t(i) - 1;
    return rows->lays.data() + i + 1;
}

size_t FirstBodyRowBelow(const BodyRows& rows, int top)
{
    if (!rows.ordered)
        return 0;
    const auto first = std::partition_point(
        rows.rows.begin(), rows.rows.end(), [top](const BodyRow& r) { return r.bottom <= top; });
    return size_t(first - rows.rows.begin());
}

bool BodyRowsAround(const BodyRows& rows, size_t at, bool split, int& before, int& tailTop, int& tailBottom)
{
    before = INT_MIN;
    tailTop = INT_MAX;
    tailBottom = INT_MIN;
    const size_t n = rows.rows.size();
    if (rows.ordered) {
        // The bottoms grow down the list, the tops too.
        if (split) {
            before = at > 0 ? rows.rows[at - 1].bottom : INT_MIN;
            if (at + 1 < n) {
                tailTop = rows.rows[at + 1].top;
                tailBottom = rows.rows[n - 1].bottom;
            }
        } else if (n > 1) {
            before = rows.rows[at + 1 < n ? n - 1 : n - 2].bottom;
        }
        return true;
    }
    for (size_t i = 0; i < n; ++i) {
        const BodyRow& r = rows.rows[i];
        if (!Painted(r))
            return false;
        if (i == at)
            continue;
        if (i < at || !split) {
            before = std::max(before, r.bottom);
        } else {
            tailTop = std::min(tailTop, r.top);
            tailBottom = std::max(tailBottom, r.bottom);
        }
    }
    return true;
}

void ShiftBodyRowsAfter(BodyRows& rows, size_t at, int dy)
{
    for (size_t i = at + 1; i < rows.rows.size(); ++i) {
        BodyRow& r = rows.rows[i];
        r.top += dy;
        r.bottom += dy;
        r.lag += dy;
    }
    rows.lagging = true;
    // The entries after at keep their order among themselves.
    rows.ordered = rows.ordered && InOrderAt(rows.rows, at + 1);
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
