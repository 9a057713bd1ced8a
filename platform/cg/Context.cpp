#include "platform/cg/Context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace qm::cg {

namespace {

// Largest pixel store a context may own: beyond this the request is treated
// as one the machine cannot hold.
constexpr std::uint64_t kMaxOwnedBytes = std::uint64_t(4) << 30;

void TransformPoint(const cairo_matrix_t& m, double x, double y, double& ox, double& oy)
{
    ox = m.xx * x + m.xy * y + m.x0;
    oy = m.yx * x + m.yy * y + m.y0;
}

// The smallest upright box holding the four corners of r transformed by m.
void TransformedBounds(const cairo_matrix_t& m, const Rect& r, double& x0, double& y0, double& x1, double& y1)
{
    double xs[4], ys[4];
    TransformPoint(m, r.x, r.y, xs[0], ys[0]);
    TransformPoint(m, r.x + r.width, r.y, xs[1], ys[1]);
    TransformPoint(m, r.x, r.y + r.height, xs[2], ys[2]);
    TransformPoint(m, r.x + r.width, r.y + r.height, xs[3], ys[3]);
    x0 = *std::min_element(xs, xs + 4);
    y0 = *std::min_element(ys, ys + 4);
    x1 = *std::max_element(xs, xs + 4);
    y1 = *std::max_element(ys, ys + 4);
}

void SetColour(double (&colour)[4], double r, double g, double b, double a)
{
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

// The colour as the source of cr, its alpha multiplied by the global alpha.
void SetSource(cairo_t* cr, const double (&colour)[4], double alpha)
{
    cairo_set_source_rgba(cr, colour[0], colour[1], colour[2], colour[3] * alpha);
}

// cairo holds device coordinates as 24.8 fixed-point numbers, which wrap
// past 2^23 pixels. On a tall or wide bitmap a rectangle drawn on one tile
// (the background or a side of an element millions of rows tall or
// columns wide) may reach that far from the tile's corner: its sides
// beyond kFarAway are moved to kFarAway, far outside any tile (at most
// 32767 wide and kTileRows high), which leaves every pixel of the tile as
// it was.
constexpr double kFarAway = double(1 << 22);

double NearTile(double v) { return std::clamp(v, -kFarAway, kFarAway); }

// A path of the one rectangle r in user space (ctm), on a tile shifted by
// shift, with the user space as the matrix.
void RectPath(cairo_t* cr, const cairo_matrix_t& ctm, const cairo_matrix_t& shift, const Rect& r)
{
    cairo_matrix_t m;
    cairo_matrix_multiply(&m, &ctm, &shift);
    cairo_new_path(cr);
    if (m.xy == 0 && m.yx == 0) {
        const double x0 = m.xx * r.x + m.x0, x1 = m.xx * (r.x + r.width) + m.x0;
        const double y0 = m.yy * r.y + m.y0, y1 = m.yy * (r.y + r.height) + m.y0;
        if (std::fabs(x0) > kFarAway || std::fabs(x1) > kFarAway || std::fabs(y0) > kFarAway
            || std::fabs(y1) > kFarAway) {
            // The corners in cairo_rectangle's order, in device space.
            cairo_identity_matrix(cr);
            cairo_move_to(cr, NearTile(x0), NearTile(y0));
            cairo_line_to(cr, NearTile(x1), NearTile(y0));
            cairo_line_to(cr, NearTile(x1), NearTile(y1));
            cairo_line_to(cr, NearTile(x0), NearTile(y1));
            cairo_close_path(cr);
            cairo_set_matrix(cr, &m);
            return;
        }
    }
    cairo_set_matrix(cr, &m);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
}

std::string Num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

std::unique_ptr<Context> Context::CreateBitmap(void* data, int width, int height, int bytesPerRow)
{
    try {
        if (width <= 0 || height <= 0 || width > kMaxImageSide)
            return nullptr;
        if (data) {
            if (bytesPerRow < width * 4 || bytesPerRow % 4 != 0)
                return nullptr;
        } else {
            bytesPerRow = width * 4;
            if (std::uint64_t(bytesPerRow) * std::uint64_t(height) > kMaxOwnedBytes)
                return nullptr;
        }
        std::unique_ptr<Context> ctx(new Context());
        ctx->m_width = width;
        ctx->m_height = height;
        ctx->m_ownsMemory = (data == nullptr);
        if (!ctx->InitTiles(data, bytesPerRow))
            return nullptr;
        return ctx;
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<Context> Context::CreateTiledBitmap(int width, int height)
{
    try {
        if (width <= 0 || height <= 0 || width > kMaxTiledWidth)
            return nullptr;
        const int columns = width > kMaxImageSide ? (width - 1) / kTileColumns + 1 : 1;
        const long long bands = (height - 1LL) / kTileRows + 1;
        if (bands * columns > kMaxTiles)
            return nullptr;
        std::unique_ptr<Context> ctx(new Context());
        ctx->m_width = width;
        ctx->m_height = height;
        ctx->m_columns = columns;
        ctx->m_ownsMemory = true;
        ctx->m_allocateOnDraw = false;
        if (!ctx->InitTiles(nullptr, width * 4))
            return nullptr;
        return ctx;
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<Context> Context::CreateForSurface(cairo_surface_t* surface)
{
    try {
        if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS
            || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
            return nullptr;
        int w = cairo_image_surface_get_width(surface);
        int h = cairo_image_surface_get_height(surface);
        if (w <= 0 || h <= 0)
            return nullptr;
        std::unique_ptr<Context> ctx(new Context());
        ctx->m_width = w;
        ctx->m_height = h;
        Tile t;
        t.top = 0;
        t.rows = h;
        t.width = w;
        t.surface = cairo_surface_reference(surface);
        ctx->m_tiles.push_back(t);
        if (!ctx->InitTiles(nullptr, 0))
            return nullptr;
        return ctx;
    } catch (...) {
        return nullptr;
    }
}

bool Context::InitTiles(void* data, int bytesPerRow)
{
    // Base transform: user space y-up, device rows top-down.
    cairo_matrix_init(&m_state.ctm, 1, 0, 0, -1, 0, m_height);
    m_scratchSurface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    m_scratch = cairo_create(m_scratchSurface);
    if (cairo_status(m_scratch) != CAIRO_STATUS_SUCCESS)
        return false;
    if (!m_tiles.empty())
        return EnsureTile(m_tiles[0]); // surface given
    const int columnWidth = m_columns > 1 ? kTileColumns : m_width;
    m_tiles.reserve(std::size_t((m_height - 1) / kTileRows + 1) * std::size_t(m_columns));
    for (int top = 0; top < m_height; top += kTileRows) {
        for (int column = 0; column < m_columns; ++column) {
            Tile t;
            t.top = top;
            t.rows = std::min(kTileRows, m_height - top);
            t.left = column * columnWidth;
            t.width = std::min(columnWidth, m_width - t.left);
            m_tiles.push_back(t);
        }
    }
    if (data) {
        unsigned char* bytes = static_cast<unsigned char*>(data);
        for (Tile& t : m_tiles) {
            t.surface
                = cairo_image_surface_create_for_data(bytes + std::size_t(t.top) * std::size_t(bytesPerRow),
                    CAIRO_FORMAT_ARGB32, m_width, t.rows, bytesPerRow);
            if (!EnsureTile(t))
                return false;
        }
    }
    return true;
}

Context::~Context()
{
    for (Tile& t : m_tiles) {
        if (t.cr)
            cairo_destroy(t.cr);
        if (t.surface) {
            cairo_surface_flush(t.surface);
            cairo_surface_destroy(t.surface);
        }
    }
    if (m_scratch)
        cairo_destroy(m_scratch);
    if (m_scratchSurface)
        cairo_surface_destroy(m_scratchSurface);
}

bool Context::EnsureTile(Tile& t)
{
    if (t.cr)
        return true;
    if (!t.surface) {
        if (!m_ownsMemory)
            return false;
        t.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, t.width, t.rows);
    }
    if (cairo_surface_status(t.surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(t.surface);
        t.surface = nullptr;
        m_healthy = false;
        return false;
    }
    t.cr = cairo_create(t.surface);
    if (cairo_status(t.cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(t.cr);
        t.cr = nullptr;
        m_healthy = false;
        return false;
    }
    return true;
}

int Context::AllocatedTiles() const
{
    int n = 0;
    for (const Tile& t : m_tiles)
        if (t.cr)
            ++n;
    return n;
}

int Context::TileTop(int i) const { return i >= 0 && i < TileCount() ? m_tiles[std::size_t(i)].top : 0; }

int Context::TileRows(int i) const { return i >= 0 && i < TileCount() ? m_tiles[std::size_t(i)].rows : 0; }

int Context::TileLeft(int i) const { return i >= 0 && i < TileCount() ? m_tiles[std::size_t(i)].left : 0; }

int Context::TileWidth(int i) const { return i >= 0 && i < TileCount() ? m_tiles[std::size_t(i)].width : 0; }

int Context::TileOfRow(int row) const
{
    if (row < 0 || row >= m_height)
        return -1;
    return m_tiles.size() == 1 ? 0 : row / kTileRows * m_columns;
}

int Context::ColumnOfX(int x) const
{
    if (x < 0 || x >= m_width)
        return -1;
    return m_columns == 1 ? 0 : x / kTileColumns;
}

const Context::Tile& Context::TileAt(int x, int row) const
{
    // A context over a given surface has one tile of any height.
    if (m_tiles.size() == 1)
        return m_tiles[0];
    return m_tiles[std::size_t(row / kTileRows) * std::size_t(m_columns) + std::size_t(ColumnOfX(x))];
}

bool Context::IsTileResident(int i) const { return i >= 0 && i < TileCount() && m_tiles[std::size_t(i)].cr; }

long long Context::TileBytes(int i) const { return 4LL * TileWidth(i) * TileRows(i); }

void Context::SetAllocateOnDraw(bool on)
{
    m_allocateOnDraw
        = on && (!m_ownsMemory || std::uint64_t(m_width) * 4 * std::uint64_t(m_height) <= kMaxOwnedBytes);
}

bool Context::MakeTileResident(int i)
{
    if (i < 0 || i >= TileCount())
        return false;
    Tile& t = m_tiles[std::size_t(i)];
    if (t.cr)
        return true;
    return m_ownsMemory && EnsureTile(t);
}

bool Context::CopyRows(int from, int to, int rows)
{
    if (rows <= 0)
        return true;
    if (from < 0 || to < 0 || from > m_height - rows || to > m_height - rows)
        return false;
    const int firstBand = TileOfRow(std::min(from, to)) / m_columns;
    const int lastBand = TileOfRow(std::max(from, to) + rows - 1) / m_columns;
    auto used = [&](int band) {
        const int top = band * kTileRows, end = top + TileRows(band * m_columns);
        return std::max(from, top) < std::min(from + rows, end)
            || std::max(to, top) < std::min(to + rows, end);
    };
    // The columns taking part: those with a tile holding pixels in either
    // range, all of whose tiles there must hold them.
    std::vector<bool> moving(std::size_t(m_columns), false);
    bool any = false;
    for (int column = 0; column < m_columns; ++column) {
        int resident = 0, needed = 0;
        for (int band = firstBand; band <= lastBand; ++band) {
            if (!used(band))
                continue;
            ++needed;
            resident += IsTileResident(band * m_columns + column) ? 1 : 0;
        }
        if (resident > 0 && resident < needed)
            return false;
        moving[std::size_t(column)] = resident > 0;
        any = any || resident > 0;
    }
    if (!any)
        return false;
    TraceCall("CopyRows", {double(from), double(to), double(rows)});
    for (int column = 0; column < m_columns; ++column) {
        if (!moving[std::size_t(column)])
            continue;
        for (int band = firstBand; band <= lastBand; ++band) {
            if (IsTileResident(band * m_columns + column))
                cairo_surface_flush(m_tiles[std::size_t(band * m_columns + column)].surface);
        }
        auto rowData = [&](int row) {
            const Tile& t = TileAt(column * kTileColumns, row);
            return cairo_image_surface_get_data(t.surface)
                + std::size_t(row - t.top) * std::size_t(cairo_image_surface_get_stride(t.surface));
        };
        const std::size_t bytes = std::size_t(m_tiles[std::size_t(column)].width) * 4;
        // Rows moving down are copied from the last, so none is overwritten
        // before it is read.
        for (int k = 0; k < rows; ++k) {
            const int r = to > from ? rows - 1 - k : k;
            std::memmove(rowData(to + r), rowData(from + r), bytes);
        }
        for (int band = firstBand; band <= lastBand; ++band) {
            if (IsTileResident(band * m_columns + column))
                cairo_surface_mark_dirty(m_tiles[std::size_t(band * m_columns + column)].surface);
        }
    }
    return true;
}

void Context::DropTile(int i)
{
    if (!m_ownsMemory || i < 0 || i >= TileCount())
        return;
    Tile& t = m_tiles[std::size_t(i)];
    if (t.cr)
        cairo_destroy(t.cr);
    if (t.surface)
        cairo_surface_destroy(t.surface);
    t.cr = nullptr;
    t.surface = nullptr;
}

void Context::TraceCall(const char* name, std::initializer_list<double> args)
{
    if (!m_tracing)
        return;
    try {
        std::string s = name;
        s += '(';
        bool first = true;
        for (double a : args) {
            if (!first)
                s += ", ";
            s += Num(a);
            first = false;
        }
        s += ')';
        m_trace.push_back(std::move(s));
    } catch (...) {
        // A trace that cannot grow loses the entry; drawing goes on.
    }
}

// --- state -------------------------------------------------------------------

void Context::SaveGState()
{
    TraceCall("SaveGState", {});
    try {
        m_stack.push_back(m_state);
    } catch (...) {
        m_healthy = false; // the matching restore will find nothing and do nothing
    }
}

void Context::RestoreGState()
{
    TraceCall("RestoreGState", {});
    if (m_stack.empty())
        return;
    m_state = std::move(m_stack.back());
    m_stack.pop_back();
}

void Context::TranslateCTM(double tx, double ty)
{
    TraceCall("TranslateCTM", {tx, ty});
    cairo_matrix_translate(&m_state.ctm, tx, ty);
}

void Context::ScaleCTM(double sx, double sy)
{
    TraceCall("ScaleCTM", {sx, sy});
    if (sx == 0 || sy == 0 || !std::isfinite(sx) || !std::isfinite(sy))
        return; // not invertible
    cairo_matrix_scale(&m_state.ctm, sx, sy);
}

void Context::RotateCTM(double radians)
{
    TraceCall("RotateCTM", {radians});
    if (std::isfinite(radians))
        cairo_matrix_rotate(&m_state.ctm, radians);
}

void Context::ConcatCTM(const AffineTransform& t)
{
    TraceCall("ConcatCTM", {t.a, t.b, t.c, t.d, t.tx, t.ty});
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_matrix_t inv = m;
    if (cairo_matrix_invert(&inv) != CAIRO_STATUS_SUCCESS)
        return;
    cairo_matrix_t r;
    cairo_matrix_multiply(&r, &m, &m_state.ctm);
    m_state.ctm = r;
}

AffineTransform Context::GetCTM() const
{
    const cairo_matrix_t& m = m_state.ctm;
    return AffineTransform{m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
}

void Context::ClipToRect(const Rect& r)
{
    TraceCall("ClipToRect", {r.x, r.y, r.width, r.height});
    try {
        m_state.clips.push_back(ClipEntry{m_state.ctm, r});
    } catch (...) {
        // Without the clip nothing may be drawn: clip to an empty rectangle.
        m_healthy = false;
        if (!m_state.clips.empty())
            m_state.clips.back().r = Rect{0, 0, 0, 0};
    }
}

void Context::SetShouldAntialias(bool on)
{
    TraceCall("SetShouldAntialias", {on ? 1.0 : 0.0});
    m_state.antialias = on;
}

void Context::SetInterpolationQuality(InterpolationQuality q)
{
    TraceCall("SetInterpolationQuality", {double(int(q))});
    m_state.interpolation = q;
}

void Context::SetRGBFillColor(double r, double g, double b, double a)
{
    TraceCall("SetRGBFillColor", {r, g, b, a});
    SetColour(m_state.fill, r, g, b, a);
}

void Context::SetRGBStrokeColor(double r, double g, double b, double a)
{
    TraceCall("SetRGBStrokeColor", {r, g, b, a});
    SetColour(m_state.stroke, r, g, b, a);
}

void Context::SetAlpha(double a)
{
    TraceCall("SetAlpha", {a});
    m_state.alpha = std::clamp(a, 0.0, 1.0);
}

void Context::SetLineWidth(double w)
{
    TraceCall("SetLineWidth", {w});
    if (std::isfinite(w) && w >= 0)
        m_state.lineWidth = w;
}

void Context::SetLineDash(double phase, const double* lengths, int count)
{
    try {
        if (m_tracing) {
            std::string s = "SetLineDash(" + Num(phase);
            for (int i = 0; lengths && i < count; ++i)
                s += ", " + Num(lengths[i]);
            m_trace.push_back(s + ")");
        }
    } catch (...) { }
    m_state.dash.clear();
    m_state.dashPhase = 0;
    if (!lengths || count <= 0)
        return;
    // cairo puts a context in a permanent error state for an all-zero or
    // negative dash list; such a list means a solid line here.
    bool anyPositive = false;
    for (int i = 0; i < count; ++i) {
        if (!(lengths[i] >= 0) || !std::isfinite(lengths[i]))
            return;
        if (lengths[i] > 0)
            anyPositive = true;
    }
    if (!anyPositive)
        return;
    try {
        m_state.dash.assign(lengths, lengths + count);
    } catch (...) {
        m_state.dash.clear();
        return;
    }
    m_state.dashPhase = std::isfinite(phase) ? phase : 0;
}

void Context::SetLineCap(LineCap cap)
{
    TraceCall("SetLineCap", {double(int(cap))});
    m_state.cap = cap;
}

void Context::SetLineJoin(LineJoin join)
{
    TraceCall("SetLineJoin", {double(int(join))});
    m_state.join = join;
}

// --- geometry of a call ---------------------------------------------------------

Context::Box Context::DeviceBox(const Rect& r) const
{
    Box b;
    TransformedBounds(m_state.ctm, r, b.x0, b.y0, b.x1, b.y1);
    return b;
}

bool Context::ClipBoundsInUserSpace(Rect& out) const
{
    cairo_matrix_t inv = m_state.ctm;
    if (cairo_matrix_invert(&inv) != CAIRO_STATUS_SUCCESS)
        return false;
    const Box b = ClipBox();
    double x0, y0, x1, y1;
    TransformedBounds(inv, Rect{b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0}, x0, y0, x1, y1);
    out = Rect{x0, y0, x1 - x0, y1 - y0};
    return true;
}

Context::Box Context::ClipBox() const
{
    Box b{0, 0, double(m_width), double(m_height)};
    for (const ClipEntry& c : m_state.clips) {
        Box clip;
        TransformedBounds(c.m, c.r, clip.x0, clip.y0, clip.x1, clip.y1);
        b.x0 = std::max(b.x0, clip.x0);
        b.y0 = std::max(b.y0, clip.y0);
        b.x1 = std::min(b.x1, clip.x1);
        b.y1 = std::min(b.y1, clip.y1);
    }
    return b;
}

bool Context::TileSpan(double lo, double hi, int extent, int step, std::size_t& first, std::size_t& last)
{
    const double from = std::floor(std::max(lo, 0.0)), to = std::ceil(std::min(hi, double(extent))) - 1;
    if (last == 0 || !std::isfinite(from) || !std::isfinite(to))
        return true;
    if (to < from)
        return false;
    first = std::min(std::size_t(from) / std::size_t(step), last);
    last = std::min(std::size_t(to) / std::size_t(step), last);
    return true;
}

void Context::ApplyClip(cairo_t* cr, const cairo_matrix_t& shift) const
{
    for (const ClipEntry& c : m_state.clips) {
        RectPath(cr, c.m, shift, c.r);
        cairo_clip(cr);
    }
}

void Context::ApplyStroke(cairo_t* cr) const
{
    cairo_set_line_width(cr, m_state.lineWidth);
    if (m_state.dash.empty())
        cairo_set_dash(cr, nullptr, 0, 0);
    else
        cairo_set_dash(cr, m_state.dash.data(), int(m_state.dash.size()), m_state.dashPhase);
    static const cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE};
    static const cairo_line_join_t joins[]
        = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND, CAIRO_LINE_JOIN_BEVEL};
    cairo_set_line_cap(cr, caps[int(m_state.cap)]);
    cairo_set_line_join(cr, joins[int(m_state.join)]);
    SetSource(cr, m_state.stroke, m_state.alpha);
}

// --- path ----------------------------------------------------------------------

void Context::SyncScratch(double x, double y)
{
    if (!m_pathStarted) {
        const cairo_matrix_t& m = m_state.ctm;
        const double row = std::floor((m.yx * x + m.yy * y + m.y0) / kTileRows) * kTileRows;
        m_pathOrigin = std::isfinite(row) ? row : 0;
        const double column = std::floor((m.xx * x + m.xy * y + m.x0) / kTileColumns) * kTileColumns;
        m_pathOriginX = m_columns > 1 && std::isfinite(column) ? column : 0;
        m_pathStarted = true;
    }
    cairo_matrix_t m = m_state.ctm;
    m.x0 -= m_pathOriginX;
    m.y0 -= m_pathOrigin;
    cairo_set_matrix(m_scratch, &m);
}

void Context::BeginPath()
{
    TraceCall("BeginPath", {});
    cairo_new_path(m_scratch);
    m_pathStarted = false;
}

void Context::MoveToPoint(double x, double y)
{
    TraceCall("MoveToPoint", {x, y});
    SyncScratch(x, y);
    cairo_move_to(m_scratch, x, y);
}

void Context::AddLineToPoint(double x, double y)
{
    TraceCall("AddLineToPoint", {x, y});
    SyncScratch(x, y);
    if (cairo_has_current_point(m_scratch))
        cairo_line_to(m_scratch, x, y);
    else
        cairo_move_to(m_scratch, x, y);
}

void Context::AddRect(const Rect& r)
{
    TraceCall("AddRect", {r.x, r.y, r.width, r.height});
    SyncScratch(r.x, r.y);
    cairo_rectangle(m_scratch, r.x, r.y, r.width, r.height);
}

void Context::AddArc(double x, double y, double radius, double startAngle, double endAngle, bool clockwise)
{
    TraceCall("AddArc", {x, y, radius, startAngle, endAngle, clockwise ? 1.0 : 0.0});
    if (!(radius >= 0) || !std::isfinite(radius) || !std::isfinite(startAngle) || !std::isfinite(endAngle))
        return;
    SyncScratch(x, y);
    // Angles grow counter-clockwise in the y-up user space, as cairo's do in
    // whatever user space it is given.
    if (clockwise)
        cairo_arc_negative(m_scratch, x, y, radius, startAngle, endAngle);
    else
        cairo_arc(m_scratch, x, y, radius, startAngle, endAngle);
}

void Context::AddEllipseInRect(const Rect& r)
{
    TraceCall("AddEllipseInRect", {r.x, r.y, r.width, r.height});
    if (r.width == 0 || r.height == 0)
        return;
    SyncScratch(r.x + r.width / 2, r.y + r.height / 2);
    cairo_matrix_t m;
    cairo_get_matrix(m_scratch, &m);
    cairo_matrix_translate(&m, r.x + r.width / 2, r.y + r.height / 2);
    cairo_matrix_scale(&m, r.width / 2, r.height / 2);
    cairo_set_matrix(m_scratch, &m);
    cairo_new_sub_path(m_scratch);
    cairo_arc(m_scratch, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(m_scratch);
    SyncScratch(0, 0);
}

void Context::ClosePath()
{
    TraceCall("ClosePath", {});
    cairo_close_path(m_scratch);
}

bool Context::IsPathEmpty() const
{
    cairo_path_t* p = cairo_copy_path(m_scratch);
    bool empty = !p || p->num_data == 0;
    cairo_path_destroy(p);
    return empty;
}

void Context::DrawPath(int mode)
{
    cairo_save(m_scratch);
    cairo_identity_matrix(m_scratch);
    double x0, y0, x1, y1;
    cairo_path_extents(m_scratch, &x0, &y0, &x1, &y1);
    cairo_path_t* path = cairo_copy_path(m_scratch); // device coordinates less the origin
    cairo_restore(m_scratch);
    cairo_new_path(m_scratch);
    m_pathStarted = false;
    const double origin = m_pathOrigin, originX = m_pathOriginX;
    x0 += originX;
    x1 += originX;
    y0 += origin;
    y1 += origin;
    if (!path || path->status != CAIRO_STATUS_SUCCESS || path->num_data == 0) {
        cairo_path_destroy(path);
        return;
    }
    if (mode == 2) {
        const cairo_matrix_t& m = m_state.ctm;
        double scale = std::max(std::fabs(m.xx) + std::fabs(m.xy), std::fabs(m.yx) + std::fabs(m.yy));
        double pad = m_state.lineWidth * scale * 2 + 2; // miter joins reach a little further
        x0 -= pad;
        y0 -= pad;
        x1 += pad;
        y1 += pad;
    } else {
        x1 += 1;
        y1 += 1;
    }
    ForTiles(Box{x0, y0, x1, y1}, m_state.antialias, [&](cairo_t* cr, const cairo_matrix_t& shift) {
        cairo_matrix_t fromOrigin = shift;
        fromOrigin.x0 += originX;
        fromOrigin.y0 += origin;
        cairo_set_matrix(cr, &fromOrigin);
        cairo_new_path(cr);
        cairo_append_path(cr, path);
        if (mode == 2) {
            cairo_matrix_t m;
            cairo_matrix_multiply(&m, &m_state.ctm, &shift);
            cairo_set_matrix(cr, &m);
            ApplyStroke(cr);
            cairo_stroke(cr);
        } else {
            cairo_set_fill_rule(cr, mode == 1 ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            SetSource(cr, m_state.fill, m_state.alpha);
            cairo_fill(cr);
        }
    });
    cairo_path_destroy(path);
}

void Context::FillPath()
{
    TraceCall("FillPath", {});
    DrawPath(0);
}

void Context::EOFillPath()
{
    TraceCall("EOFillPath", {});
    DrawPath(1);
}

void Context::StrokePath()
{
    TraceCall("StrokePath", {});
    DrawPath(2);
}

// --- shapes --------------------------------------------------------------------

void Context::FillRect(const Rect& r)
{
    TraceCall("FillRect", {r.x, r.y, r.width, r.height});
    ForTiles(DeviceBox(r), m_state.antialias, [&](cairo_t* cr, const cairo_matrix_t& shift) {
        RectPath(cr, m_state.ctm, shift, r);
        SetSource(cr, m_state.fill, m_state.alpha);
        cairo_fill(cr);
    });
}

void Context::StrokeRect(const Rect& r) { StrokeRectWithWidth(r, m_state.lineWidth); }

void Context::StrokeRectWithWidth(const Rect& r, double width)
{
    TraceCall("StrokeRect", {r.x, r.y, r.width, r.height, width});
    double saved = m_state.lineWidth;
    if (std::isfinite(width) && width >= 0)
        m_state.lineWidth = width;
    Box b = DeviceBox(Rect{r.x - m_state.lineWidth, r.y - m_state.lineWidth, r.width + 2 * m_state.lineWidth,
        r.height + 2 * m_state.lineWidth});
    b.x0 -= 1;
    b.y0 -= 1;
    b.x1 += 1;
    b.y1 += 1;
    ForTiles(b, m_state.antialias, [&](cairo_t* cr, const cairo_matrix_t& shift) {
        RectPath(cr, m_state.ctm, shift, r);
        ApplyStroke(cr);
        cairo_stroke(cr);
    });
    m_state.lineWidth = saved;
}

void Context::ClearRect(const Rect& r)
{
    TraceCall("ClearRect", {r.x, r.y, r.width, r.height});
    // Clearing a tile that was never drawn changes nothing: it is not allocated.
    ForTiles(
        DeviceBox(r), m_state.antialias,
        [&](cairo_t* cr, const cairo_matrix_t& shift) {
            RectPath(cr, m_state.ctm, shift, r);
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
            cairo_fill(cr);
        },
        false);
}

void Context::DrawImage(const Rect& r, const Image& image)
{
    TraceCall("DrawImage", {r.x, r.y, r.width, r.height, double(image.Width()), double(image.Height())});
    if (image.Width() <= 0 || image.Height() <= 0 || r.width == 0 || r.height == 0)
        return;
    cairo_filter_t filter = CAIRO_FILTER_GOOD;
    switch (m_state.interpolation) {
    case InterpolationQuality::None: filter = CAIRO_FILTER_NEAREST; break;
    case InterpolationQuality::Low: filter = CAIRO_FILTER_FAST; break;
    case InterpolationQuality::High: filter = CAIRO_FILTER_BEST; break;
    default: break;
    }
    ForTiles(DeviceBox(r), m_state.antialias, [&](cairo_t* cr, const cairo_matrix_t& shift) {
        RectPath(cr, m_state.ctm, shift, r);
        cairo_clip(cr);
        // The picture's top row goes to the top of the rectangle in y-up space.
        cairo_translate(cr, r.x, r.y + r.height);
        cairo_scale(cr, r.width / image.Width(), -r.height / image.Height());
        cairo_set_source_surface(cr, image.Surface(), 0, 0);
        cairo_pattern_t* p = cairo_get_source(cr);
        cairo_pattern_set_filter(p, filter);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
        cairo_paint_with_alpha(cr, m_state.alpha);
    });
}

// --- pixels --------------------------------------------------------------------

void Context::Flush()
{
    TraceCall("Flush", {});
    for (Tile& t : m_tiles)
        if (t.surface)
            cairo_surface_flush(t.surface);
}

Pixel Context::ReadPixel(int x, int row) const
{
    if (x < 0 || row < 0 || x >= m_width || row >= m_height)
        return Pixel{0, 0, 0, 0};
    const Tile& tile = TileAt(x, row);
    if (!tile.surface)
        return Pixel{0, 0, 0, 0};
    cairo_surface_flush(tile.surface);
    const unsigned char* data = cairo_image_surface_get_data(tile.surface);
    int stride = cairo_image_surface_get_stride(tile.surface);
    if (!data)
        return Pixel{0, 0, 0, 0};
    return cg::ReadPixel(data, std::size_t(stride), x - tile.left, row - tile.top);
}

ImageRef Context::CreateImage(int x, int row, int width, int height) const
{
    int x0 = std::max(x, 0), y0 = std::max(row, 0);
    int x1 = std::min<long long>((long long)x + width, m_width);
    int y1 = std::min<long long>((long long)row + height, m_height);
    if (x1 <= x0 || y1 <= y0)
        return nullptr;
    int w = x1 - x0, h = y1 - y0;
    cairo_surface_t* s = CreateImageSurface(w, h);
    if (!s)
        return nullptr;
    cairo_t* cr = cairo_create(s);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    for (const Tile& t : m_tiles) {
        if (!t.surface || y1 <= t.top || y0 >= t.top + t.rows || x1 <= t.left || x0 >= t.left + t.width)
            continue;
        cairo_surface_flush(t.surface);
        cairo_save(cr);
        cairo_rectangle(cr, std::max(t.left - x0, 0), std::max(t.top - y0, 0),
            std::min(t.left + t.width, x1) - std::max(t.left, x0),
            std::min(t.top + t.rows, y1) - std::max(t.top, y0));
        cairo_clip(cr);
        cairo_set_source_surface(cr, t.surface, t.left - x0, t.top - y0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return Image::AdoptSurface(s);
}

bool Context::CopyRGBA(std::vector<unsigned char>& out) const
{
    int width = m_width, height = m_height;
    return CopyRGBA(out, 0, 0, width, height);
}

bool Context::CopyRGBA(std::vector<unsigned char>& out, int x, int row, int& width, int& height) const
{
    const long long x0 = std::max(x, 0), y0 = std::max(row, 0);
    const long long x1 = std::min<long long>((long long)x + width, m_width);
    const long long y1 = std::min<long long>((long long)row + height, m_height);
    if (x1 <= x0 || y1 <= y0)
        return false;
    width = int(x1 - x0);
    height = int(y1 - y0);
    try {
        out.resize(std::size_t(width) * std::size_t(height) * 4);
    } catch (...) {
        return false;
    }
    for (int r = 0; r < height; ++r)
        ReadRow(int(x0), int(y0) + r, width, out.data() + std::size_t(r) * std::size_t(width) * 4);
    return true;
}

bool Context::ReadRow(int x, int row, int width, unsigned char* out, bool alpha) const
{
    if (width <= 0)
        return true;
    const std::size_t step = alpha ? 4 : 3;
    const long long first = std::min<long long>(std::max(x, 0), (long long)x + width);
    const long long end = std::max(first, std::min<long long>((long long)x + width, m_width));
    if (row < 0 || row >= m_height || end <= first) {
        std::memset(out, 0, std::size_t(width) * step);
        return false;
    }
    std::memset(out, 0, std::size_t(first - x) * step);
    std::memset(out + std::size_t(end - x) * step, 0, std::size_t((long long)x + width - end) * step);
    bool opaque = first == x && end == (long long)x + width;
    // Column by column: each tile of the row's band gives its part.
    for (long long at = first; at < end;) {
        const Tile& t = TileAt(int(at), row);
        const long long stop = std::min<long long>(end, (long long)t.left + t.width);
        unsigned char* to = out + std::size_t(at - x) * step;
        const unsigned char* data = t.surface ? cairo_image_surface_get_data(t.surface) : nullptr;
        if (!data) {
            std::memset(to, 0, std::size_t(stop - at) * step);
            opaque = false;
        } else {
            cairo_surface_flush(t.surface);
            const std::size_t stride = std::size_t(cairo_image_surface_get_stride(t.surface));
            opaque = UnpremultiplyRow(data + std::size_t(row - t.top) * stride + std::size_t(at - t.left) * 4,
                         int(stop - at), to, alpha)
                && opaque;
        }
        at = stop;
    }
    return opaque;
}

} // namespace qm::cg
