#include "style/paint/OffscreenView.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "elements/CustomElement.h"
#include "elements/SpecialElement.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/paint/BodyRows.h"
#include "style/paint/DocumentWalk.h"
#include "style/paint/PaintState.h"
#include "style/paint/PaintWalk.h"
#include "style/paint/TagMarkers.h"

#include <algorithm>
#include <climits>
#include <vector>

using namespace qm::paint;

namespace {

// Most bytes the band of tiles across that an export streams may hold.
constexpr long long kMostBandBytes = 2LL << 30;

// Bands firstBand .. lastBand of tiles, columns firstColumn .. lastColumn
// of each (inclusive); empty when lastBand < firstBand.
struct TileRange
{
    int firstBand = 0;
    int lastBand = -1;
    int firstColumn = 0;
    int lastColumn = -1;
};

TileRange TilesOfArea(
    const qm::cg::Context& ctx, long long left, long long top, long long right, long long bottom)
{
    top = std::max(top, 0LL);
    bottom = std::min(bottom, (long long)ctx.Height());
    left = std::max(left, 0LL);
    right = std::min(right, (long long)ctx.Width());
    if (bottom <= top || right <= left)
        return TileRange();
    const int columns = ctx.TileColumns();
    return TileRange{ctx.TileOfRow(int(top)) / columns, ctx.TileOfRow(int(bottom - 1)) / columns,
        ctx.ColumnOfX(int(left)), ctx.ColumnOfX(int(right - 1))};
}

TileRange TilesOfRows(const qm::cg::Context& ctx, long long top, long long bottom)
{
    return TilesOfArea(ctx, 0, top, ctx.Width(), bottom);
}

bool Holds(const qm::cg::Context& ctx, TileRange range, int tile)
{
    const int band = tile / ctx.TileColumns(), column = tile % ctx.TileColumns();
    return band >= range.firstBand && band <= range.lastBand && column >= range.firstColumn
        && column <= range.lastColumn;
}

template <class F>
void ForEachTile(const qm::cg::Context& ctx, TileRange range, F&& fn)
{
    for (int band = range.firstBand; band <= range.lastBand; ++band) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column)
            fn(band * ctx.TileColumns() + column);
    }
}

void Stamp(CPaintState& st, const qm::cg::Context& ctx, TileRange range)
{
    st.m_tileStamps.resize(size_t(ctx.TileCount()), 0);
    ++st.m_clock;
    ForEachTile(ctx, range, [&](int i) { st.m_tileStamps[size_t(i)] = st.m_clock; });
}

// Makes the tiles resident; with paint, those that were not are painted, a
// run of them side by side in one walk. False when one could not be
// allocated.
bool MakeResident(CElement* root, TileRange range, bool paint)
{
    qm::cg::Context* ctx = root->m_dc.get();
    bool ok = true;
    for (int band = range.firstBand; band <= range.lastBand; ++band) {
        int runStart = -1, runEnd = -1; // columns made resident, not yet painted
        auto paintRun = [&]() {
            if (paint && runStart >= 0) {
                const int first = band * ctx->TileColumns() + runStart,
                          last = band * ctx->TileColumns() + runEnd;
                PaintRows(root, ctx->TileTop(first), ctx->TileTop(first) + ctx->TileRows(first), false,
                    ctx->TileLeft(first), ctx->TileLeft(last) + ctx->TileWidth(last));
            }
            runStart = -1;
        };
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            const int i = band * ctx->TileColumns() + column;
            if (ctx->IsTileResident(i)) {
                paintRun();
                continue;
            }
            if (!ctx->MakeTileResident(i)) {
                ok = false;
                paintRun();
                continue;
            }
            if (runStart < 0)
                runStart = column;
            runEnd = column;
        }
        paintRun();
    }
    return ok;
}

TileRange ShownTiles(const CPaintState& st, const qm::cg::Context& ctx)
{
    const long long screen = std::max(st.m_shownBottom - st.m_shownTop, 0);
    const long long across = std::max(st.m_shownRight - st.m_shownLeft, 0);
    return TilesOfArea(ctx, (long long)st.m_shownLeft - across, (long long)st.m_shownTop - 2 * screen,
        (long long)st.m_shownRight + across, (long long)st.m_shownBottom + 2 * screen);
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
            if (!Holds(ctx, keep, i)
                && (oldest < 0 || st.m_tileStamps[size_t(i)] < st.m_tileStamps[size_t(oldest)]))
                oldest = i;
        }
        if (bytes <= st.m_budgetBytes || oldest < 0)
            return;
        ctx.DropTile(oldest);
    }
}

// The window's area is recorded; the tiles it needs become resident.
bool Show(CElement* root, CPaintState& st)
{
    qm::cg::Context* ctx = root->m_dc.get();
    if (!ctx)
        return false;
    const TileRange shown = ShownTiles(st, *ctx);
    const bool ok = MakeResident(root, shown, true);
    Stamp(st, *ctx, shown);
    ApplyBudget(st, *ctx, shown);
    return ok;
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
        st->m_dirtyRows.clear(); // all of them are painted now
        st->m_moved = CPaintState::Moved();
        st->m_changedIds.clear();
        const TileRange shown = ShownTiles(*st, *ctx);
        const bool ok = MakeResident(root, shown, false);
        Stamp(*st, *ctx, shown);
        PaintResidentRows(root, 0, ctx->Height());
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
        return Show(root, *st);
    } catch (...) {
        return false;
    }
}

bool ShowDocumentArea(CElement* root, int left, int top, int right, int bottom)
{
    try {
        CPaintState* st = StateOf(root);
        if (!IsRoot(root) || !st)
            return false;
        st->m_shownLeft = left;
        st->m_shownRight = std::max(left, right);
        st->m_shownTop = top;
        st->m_shownBottom = std::max(top, bottom);
        return Show(root, *st);
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

bool StreamDocumentRows(CElement* root, int top, int bottom, const std::function<bool(int, int)>& band)
{
    try {
        qm::cg::Context* ctx = IsRoot(root) && StateOf(root) ? root->m_dc.get() : nullptr;
        if (!ctx)
            return false;
        const TileRange range = TilesOfRows(*ctx, top, bottom);
        if (range.lastBand >= range.firstBand
            && 4LL * ctx->Width() * qm::cg::Context::kTileRows > kMostBandBytes)
            return false;
        for (int b = range.firstBand; b <= range.lastBand; ++b) {
            const TileRange across{b, b, range.firstColumn, range.lastColumn};
            std::vector<int> made;
            ForEachTile(*ctx, across, [&](int i) {
                if (!ctx->IsTileResident(i))
                    made.push_back(i);
            });
            auto drop = [&]() {
                for (int i : made)
                    ctx->DropTile(i);
            };
            if (!MakeResident(root, across, true)) {
                drop();
                return false;
            }
            const int i = b * ctx->TileColumns();
            const int first = std::max(top, ctx->TileTop(i));
            const int end = std::min(bottom, ctx->TileTop(i) + ctx->TileRows(i));
            const bool more = band(first, end);
            drop();
            if (!more)
                return false;
        }
        return true;
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

void PaintRows(CElement* root, int top, int bottom, bool clear, int left, int right)
{
    qm::cg::Context* ctx = root ? root->m_dc.get() : nullptr;
    if (!ctx)
        return;
    top = std::max(top, 0);
    bottom = std::min(bottom, ctx->Height());
    left = std::max(left, 0);
    right = std::min(right, ctx->Width());
    if (bottom <= top || right <= left)
        return;
    const int h = ctx->Height();
    const qm::cg::Rect rows{double(left), double(h - bottom), double(right - left), double(bottom - top)};
    ctx->SaveGState();
    ctx->ClipToRect(rows);
    if (clear)
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

namespace {

// e's own record moved dy rows.
void MoveOwnRecord(CElement* e, int dy)
{
    e->Lay().m_prevDocPos.y += dy;
    e->Lay().m_paintTop += dy;
    e->Lay().m_paintBottom += dy;
}

// The pending shifts of e's ancestors handed down the path to e, from the
// root: e's record and its parent's are then current.
void SettleAncestors(CElement* e)
{
    std::vector<CElement*> path;
    for (CElement* a = e->m_parent; a; a = a->m_parent)
        path.push_back(a);
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        // The body hands its lag to the one child on the way alone.
        CElement* next = it + 1 != path.rend() ? *(it + 1) : e;
        const long row = (*it)->Lay().m_recordShift ? -1 : BodyRowIndex(*it, next);
        if (row >= 0)
            SettleBodyRow(StateOf(*it)->m_bodyRows, size_t(row));
        else
            PushRecordShift(*it);
    }
}

// The rows a text run's glyphs reach and the look it is painted with live in
// its text layout and style, apart from the element: a walk over a long
// document waits on fetching them for every run. The runs are therefore
// taken a few elements after the walk meets them, their layout and style
// asked for from memory meanwhile, and their rows then joined to the rows
// of their ancestors up to the top of the walk.
class TextInk
{
public:
    explicit TextInk(CElement* top) : m_top(top) { }

    void Add(CTextElement* run, int y)
    {
        __builtin_prefetch(&run->TextLayout());
        __builtin_prefetch(&run->TextStyle());
        if (m_count == kDepth)
            Take(m_runs[m_next]);
        else
            ++m_count;
        m_runs[m_next] = Pending{run, y};
        m_next = (m_next + 1) % kDepth;
    }

    // Takes the runs still waiting, in the order they came.
    void Finish()
    {
        for (std::size_t i = 0; i < m_count; ++i)
            Take(m_runs[(m_next + kDepth - m_count + i) % kDepth]);
        m_count = 0;
    }

private:
    static constexpr std::size_t kDepth = 8;
    struct Pending
    {
        CTextElement* run;
        int y;
    };

    void Take(const Pending& p)
    {
        CTextElement* run = p.run;
        int textTop = 0, textBottom = 0;
        if (run->PaintedRows(textTop, textBottom)) {
            const int top = p.y + textTop, bottom = p.y + textBottom;
            // Upwards until an element already holds the rows: its
            // ancestors took its rows when the walk left it, or will.
            for (CElement* a = run;; a = a->m_parent) {
                CElementLayout& lay = a->Lay();
                if (lay.m_paintTop <= top && lay.m_paintBottom >= bottom)
                    break;
                lay.m_paintTop = std::min(lay.m_paintTop, top);
                lay.m_paintBottom = std::max(lay.m_paintBottom, bottom);
                if (a == m_top || !a->m_parent)
                    break;
            }
        }
        run->m_paintedLook = run->PaintedLook();
    }

    CElement* m_top;
    Pending m_runs[kDepth] = {};
    std::size_t m_next = 0;
    std::size_t m_count = 0;
};

// Records e's subtree, handed what the walk from the root would hand e.
void RecordSubtree(CElement* e, CPoint origin, CPoint floatOrigin, bool inFloat)
{
    std::vector<CElement*> open;
    TextInk ink(e);
    WalkSubtree(
        e, origin, floatOrigin, inFloat,
        [&](CElement* x, CPoint position) {
            // The walk is bound by fetching elements from memory: the next
            // ones are asked for while this one is recorded.
            __builtin_prefetch(x->m_firstChild);
            __builtin_prefetch(x->m_nextSibling);
            x->m_changed = 0;
            x->m_forceRepaint = 0;
            x->Lay().m_painted = 1;
            x->Lay().m_recordShift = 0; // every descendant is recorded anew
            x->Lay().m_prevDocPos = position;
            x->Lay().m_prevRect = x->Lay().m_sizeRect;
            x->Lay().m_paintFill = x->Lay().m_availRect.right - x->Lay().m_availRect.left;
            x->Lay().m_paintChildren = x->m_childCount;
            int up = CPaintState::kPaintSlack + std::max(x->Lay().m_marginLeftTop.y, 0);
            int down = CPaintState::kPaintSlack + std::max(x->Lay().m_marginRightBottom.y, 0)
                + (IsRoot(x) ? 10 : 0);
            // Only an inline element draws its top and bottom borders outside
            // its box.
            if (x->m_inline && x->Style().borderSet) {
                up += std::max(BorderWidth(x, kBorderTop), 0);
                down += std::max(BorderWidth(x, kBorderBottom), 0);
            }
            x->Lay().m_paintTop
                = position.y + std::min(x->Lay().m_sizeRect.top, x->Lay().m_sizeRect.bottom) - up;
            x->Lay().m_paintBottom
                = position.y + std::max(x->Lay().m_sizeRect.top, x->Lay().m_sizeRect.bottom) + down;
            // Tag markers stand in the margins; their outlines reach a pixel
            // beyond their boxes.
            CRect startMarker, endMarker;
            MarkerBoxes(x, position, startMarker, endMarker);
            for (const CRect& box : {startMarker, endMarker}) {
                if (box.right <= box.left)
                    continue;
                x->Lay().m_paintTop = std::min<int>(x->Lay().m_paintTop, box.top - 3);
                x->Lay().m_paintBottom = std::max<int>(x->Lay().m_paintBottom, box.bottom + 2);
            }
            // A text run's glyphs are set on its baseline whatever its box.
            if (CTextElement* run = x->IsTextElement() ? dynamic_cast<CTextElement*>(x) : nullptr)
                ink.Add(run, position.y);
            // The quotation marks of a q stand on a baseline of their own.
            if (x->m_kind == kKindQ) {
                const auto* quote = dynamic_cast<const CSpecialElement*>(x);
                int markTop = 0, markBottom = 0;
                if (quote && quote->PaintedRows(markTop, markBottom)) {
                    x->Lay().m_paintTop = std::min(x->Lay().m_paintTop, position.y + markTop);
                    x->Lay().m_paintBottom = std::max(x->Lay().m_paintBottom, position.y + markBottom);
                }
            }
            // A custom element shown as its icon draws the icon at its own
            // size from the box's corner, whatever the box.
            if (x->m_kind == kKindCustom) {
                const auto* custom = dynamic_cast<const CCustomElement*>(x);
                if (custom && custom->ShowsIcon())
                    x->Lay().m_paintBottom = std::max(x->Lay().m_paintBottom,
                        position.y + std::max(custom->m_iconHeight, 0) + CPaintState::kPaintSlack);
            }
            open.push_back(x);
            return true;
        },
        [&](CElement*, CPoint) {
            const CElement* x = open.back();
            open.pop_back();
            if (!open.empty()) {
                open.back()->Lay().m_paintTop = std::min(open.back()->Lay().m_paintTop, x->Lay().m_paintTop);
                open.back()->Lay().m_paintBottom
                    = std::max(open.back()->Lay().m_paintBottom, x->Lay().m_paintBottom);
            }
        });
    ink.Finish();
}

} // namespace

void PaintResidentRows(CElement* root, int top, int bottom)
{
    const qm::cg::Context* ctx = root ? root->m_dc.get() : nullptr;
    if (!ctx)
        return;
    // Bands holding a resident tile, a run of them in one walk; the tiles
    // of a band that hold no pixels clip their part away.
    const TileRange tiles = TilesOfRows(*ctx, top, bottom);
    auto resident = [&](int band) {
        for (int column = 0; column < ctx->TileColumns(); ++column) {
            if (ctx->IsTileResident(band * ctx->TileColumns() + column))
                return true;
        }
        return false;
    };
    for (int b = tiles.firstBand; b <= tiles.lastBand;) {
        if (!resident(b)) {
            ++b;
            continue;
        }
        int end = b;
        while (end + 1 <= tiles.lastBand && resident(end + 1))
            ++end;
        const int first = b * ctx->TileColumns(), last = end * ctx->TileColumns();
        PaintRows(root, std::max(top, ctx->TileTop(first)),
            std::min(bottom, ctx->TileTop(last) + ctx->TileRows(last)));
        b = end + 1;
    }
}

void RecordGeometry(CElement* root)
{
    // The walk records every position the layout holds now: what the
    // body's entries still held back for their children (the blocks moved
    // by typing) is in it already and must not be added again.
    if (IsRoot(root))
        ForgetBodyRows(root);
    RecordSubtree(root, CPoint(), CPoint(), false);
    if (IsRoot(root)) {
        BuildBodyRows(root);
        ClearBodyNotes(root);
    }
}

void RecordChanged(CElement* e)
{
    if (!e->m_parent) {
        RecordGeometry(e);
        return;
    }
    SettleAncestors(e);
    // What the walk from the root hands e: its parent's recorded position,
    // and the float pass's origin summed over the ancestors.
    CPoint floatOrigin;
    bool inFloat = false;
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        floatOrigin.y += a->Lay().m_position.y;
        if (!a->m_inline)
            floatOrigin.x += a->Lay().m_position.x;
        inFloat = inFloat || a->m_floating;
    }
    RecordSubtree(e, e->m_parent->Lay().m_prevDocPos, floatOrigin, inFloat);
    // The ancestors' rows grow to hold e's; they may stay larger than their
    // painting, which only makes walks pass over less.
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        a->Lay().m_paintTop = std::min(a->Lay().m_paintTop, e->Lay().m_paintTop);
        a->Lay().m_paintBottom = std::max(a->Lay().m_paintBottom, e->Lay().m_paintBottom);
    }
    RefreshBodyRow(BodyChildAbove(e));
}

void ShiftRecords(CElement* e, int dy)
{
    MoveOwnRecord(e, dy);
    e->Lay().m_recordShift += dy;
    for (CElement* a = e->m_parent; a; a = a->m_parent) {
        a->Lay().m_paintTop = std::min(a->Lay().m_paintTop, e->Lay().m_paintTop);
        a->Lay().m_paintBottom = std::max(a->Lay().m_paintBottom, e->Lay().m_paintBottom);
    }
    RefreshBodyRow(BodyChildAbove(e));
}

void PushRecordShift(CElement* e)
{
    // The body's children take what lags behind their entries first.
    CPaintState* st = IsRoot(e) && e->m_owner ? e->m_owner->m_doc.m_paintState.get() : nullptr;
    BodyRows* rows = st && st->m_bodyRows.root == e ? &st->m_bodyRows : nullptr;
    if (rows && rows->lagging) {
        for (size_t i = 0; i < rows->rows.size(); ++i)
            SettleBodyRow(*rows, i);
        rows->lagging = false;
    }
    const int dy = e->Lay().m_recordShift;
    if (!dy)
        return;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        MoveOwnRecord(c, dy);
        c->Lay().m_recordShift += dy;
    }
    e->Lay().m_recordShift = 0;
    if (rows)
        BuildBodyRows(e);
}

void SettleRecords(CElement* e)
{
    if (!e)
        return;
    SettleAncestors(e);
    for (CElement* x = e; x;) {
        PushRecordShift(x);
        if (x->m_firstChild) {
            x = x->m_firstChild;
            continue;
        }
        while (x != e && !x->m_nextSibling)
            x = x->m_parent;
        x = x == e ? nullptr : x->m_nextSibling;
    }
}

} // namespace qm::paint
