#include "style/paint/OffscreenView.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "platform/cg/Context.h"
#include "style/paint/DocumentWalk.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"

#include <algorithm>

using namespace qm::paint;

namespace {

struct TileRange
{
    int first = 0;
    int last = -1; // inclusive; empty when last < first
};

TileRange TilesOfRows(const qm::cg::Context& ctx, long long top, long long bottom)
{
    top = std::max(top, 0LL);
    bottom = std::min(bottom, (long long)ctx.Height());
    if (bottom <= top)
        return TileRange();
    return TileRange{ctx.TileOfRow(int(top)), ctx.TileOfRow(int(bottom - 1))};
}

void Stamp(CPaintState& st, const qm::cg::Context& ctx, TileRange range)
{
    st.m_tileStamps.resize(size_t(ctx.TileCount()), 0);
    ++st.m_clock;
    for (int i = range.first; i <= range.last; ++i)
        st.m_tileStamps[size_t(i)] = st.m_clock;
}

// Makes the tiles resident; with paint, those that were not are painted.
// False when one could not be allocated.
bool MakeResident(CElement* root, TileRange range, bool paint)
{
    qm::cg::Context* ctx = root->m_dc.get();
    bool ok = true;
    for (int i = range.first; i <= range.last; ++i) {
        if (ctx->IsTileResident(i))
            continue;
        if (!ctx->MakeTileResident(i)) {
            ok = false;
            continue;
        }
        if (paint)
            PaintRows(root, ctx->TileTop(i), ctx->TileTop(i) + ctx->TileRows(i));
    }
    return ok;
}

TileRange ShownTiles(const CPaintState& st, const qm::cg::Context& ctx)
{
    const long long screen = std::max(st.m_shownBottom - st.m_shownTop, 0);
    return TilesOfRows(ctx, (long long)st.m_shownTop - 2 * screen, (long long)st.m_shownBottom + 2 * screen);
}

// Drops the least recently shown resident tiles outside keep until the
// resident ones fit the budget.
void ApplyBudget(CPaintState& st, qm::cg::Context& ctx, TileRange keep)
{
    st.m_tileStamps.resize(size_t(ctx.TileCount()), 0);
    for (;;) {
        long long bytes = 0;
        int oldest = -1;
        for (int i = 0; i < ctx.TileCount(); ++i) {
            if (!ctx.IsTileResident(i))
                continue;
            bytes += ctx.TileBytes(i);
            if ((i < keep.first || i > keep.last)
                && (oldest < 0 || st.m_tileStamps[size_t(i)] < st.m_tileStamps[size_t(oldest)]))
                oldest = i;
        }
        if (bytes <= st.m_budgetBytes || oldest < 0)
            return;
        ctx.DropTile(oldest);
    }
}

} // namespace

bool RepaintDocument(CElement* root)
{
    try {
        if (!IsRoot(root) || !root->PrepareBitmap(root->m_dc.get()))
            return false;
        CPaintState* st = StateOf(root);
        qm::cg::Context* ctx = root->m_dc.get();
        if (!st || !ctx)
            return false;
        RecordGeometry(root);
        const TileRange shown = ShownTiles(*st, *ctx);
        const bool ok = MakeResident(root, shown, false);
        Stamp(*st, *ctx, shown);
        PaintRows(root, 0, ctx->Height());
        ApplyBudget(*st, *ctx, shown);
        return ok;
    } catch (...) {
        return false;
    }
}

bool ShowDocumentRows(CElement* root, int top, int bottom)
{
    try {
        CPaintState* st = StateOf(root);
        if (!IsRoot(root) || !st)
            return false;
        st->m_shownTop = top;
        st->m_shownBottom = std::max(top, bottom);
        qm::cg::Context* ctx = root->m_dc.get();
        if (!ctx)
            return false;
        const TileRange shown = ShownTiles(*st, *ctx);
        const bool ok = MakeResident(root, shown, true);
        Stamp(*st, *ctx, shown);
        ApplyBudget(*st, *ctx, shown);
        return ok;
    } catch (...) {
        return false;
    }
}

bool ExportDocumentRows(CElement* root, int top, int bottom)
{
    try {
        CPaintState* st = StateOf(root);
        qm::cg::Context* ctx = IsRoot(root) ? root->m_dc.get() : nullptr;
        if (!st || !ctx)
            return false;
        const TileRange range = TilesOfRows(*ctx, top, bottom);
        const bool ok = MakeResident(root, range, true);
        Stamp(*st, *ctx, range);
        return ok;
    } catch (...) {
        return false;
    }
}

void SetBitmapBudget(CElement* root, long long bytes)
{
    if (CPaintState* st = StateOf(root))
        st->m_budgetBytes = std::max(bytes, 0LL);
}

long long ResidentBitmapBytes(const CElement* root)
{
    const qm::cg::Context* ctx = root ? root->m_dc.get() : nullptr;
    long long bytes = 0;
    for (int i = 0; ctx && i < ctx->TileCount(); ++i) {
        if (ctx->IsTileResident(i))
            bytes += ctx->TileBytes(i);
    }
    return bytes;
}

namespace qm::paint {

void PaintRows(CElement* root, int top, int bottom)
{
    qm::cg::Context* ctx = root ? root->m_dc.get() : nullptr;
    if (!ctx)
        return;
    top = std::max(top, 0);
    bottom = std::min(bottom, ctx->Height());
    if (bottom <= top)
        return;
    const int h = ctx->Height();
    const qm::cg::Rect rows{0, double(h - bottom), double(ctx->Width()), double(bottom - top)};
    ctx->SaveGState();
    ctx->ClipToRect(rows);
    ctx->ClearRect(rows);
    const Band band{top, bottom};
    try {
        PaintTree(root, ctx, CPoint(), false, &band);
    } catch (...) {
        ctx->RestoreGState();
        throw;
    }
    ctx->RestoreGState();
}

void RecordGeometry(CElement* root)
{
    CPaintState* st = StateOf(root);
    if (!st)
        return;
    const unsigned pass = ++st->m_pass;
    std::vector<CPaintState::Record*> open;
    WalkDocument(
        root,
        [&](CElement* e, CPoint position) {
            e->m_changed = 0;
            e->m_forceRepaint = 0;
            CPaintState::Record& r = st->m_records[e->m_id];
            r.position = position;
            r.width = e->m_sizeRect.right - e->m_sizeRect.left;
            r.height = e->m_sizeRect.bottom - e->m_sizeRect.top;
            int up = CPaintState::kPaintSlack + std::max(e->m_marginLeftTop.y, 0);
            int down = CPaintState::kPaintSlack + std::max(e->m_marginRightBottom.y, 0);
            up += std::max(BorderWidth(e, kBorderTop), 0);
            down += std::max(BorderWidth(e, kBorderBottom), 0) + (IsRoot(e) ? 10 : 0);
            r.top = position.y + std::min(e->m_sizeRect.top, e->m_sizeRect.bottom) - up;
            r.bottom = position.y + std::max(e->m_sizeRect.top, e->m_sizeRect.bottom) + down;
            r.subtreeTop = r.top;
            r.subtreeBottom = r.bottom;
            r.pass = pass;
            open.push_back(&r);
            return true;
        },
        [&](CElement*, CPoint) {
            CPaintState::Record* r = open.back();
            open.pop_back();
            if (!open.empty()) {
                open.back()->subtreeTop = std::min(open.back()->subtreeTop, r->subtreeTop);
                open.back()->subtreeBottom = std::max(open.back()->subtreeBottom, r->subtreeBottom);
            }
        });
    // Elements gone since the last record.
    for (auto it = st->m_records.begin(); it != st->m_records.end();) {
        if (it->second.pass != pass)
            it = st->m_records.erase(it);
        else
            ++it;
    }
}

} // namespace qm::paint
