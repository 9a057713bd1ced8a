#pragma once
// A 2-D drawing context over cairo with a y-up user space: the origin is the
// bottom-left corner of the drawing area and y grows upwards. It keeps its
// own graphics state (transform, clip, colours, line width, dashes,
// antialiasing, interpolation) with save/restore, and a current path built
// in device space at the moment each segment is added, as transforms apply.
//
// Pixels live in tiles, each a cairo image surface: bands of at most
// kTileRows rows, and in a bitmap wider than cairo's 32767-pixel limit
// (tiled bitmaps only) columns of kTileColumns pixels across each band. A
// bitmap of any height, or that wide, therefore keeps its logical size:
// every drawing call is replayed on each tile it touches, translated to the
// tile's top-left corner, so drawing and clipping work across tile edges
// and the coordinates cairo holds stay near the tile. A bitmap whose memory
// the context owns allocates a tile only when something is first drawn
// into it; pixels of a tile never drawn read as transparent.
//
// Optionally every call is recorded as text ("FillRect(10, 20, 30, 5)") so
// tests can assert what was drawn without reading pixels.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/cg/Geometry.h"
#include "platform/cg/Image.h"
#include "platform/cg/Pixel.h"

namespace qm::cg {

enum class InterpolationQuality
{
    Default,
    None,
    Low,
    High
};
enum class LineCap
{
    Butt,
    Round,
    Square
};
enum class LineJoin
{
    Miter,
    Round,
    Bevel
};

class Context
{
public:
    static constexpr int kTileRows = 1024;
    // Width of the columns of a bitmap wider than kMaxImageSide: 16 MB a
    // tile, so the few tiles a window needs fit the paint budget.
    static constexpr int kTileColumns = 4096;
    // Most pixels across a tiled bitmap may have.
    static constexpr int kMaxTiledWidth = 1 << 30;
    // Most tiles a tiled bitmap may have: the records of that many cost
    // some 100 MB.
    static constexpr long long kMaxTiles = 1LL << 21;

    // A bitmap context, ARGB32 premultiplied (cg/Pixel.h), top row first.
    // With `data` the pixels live in the caller's memory, which must hold
    // height x bytesPerRow bytes and outlive the context (bytesPerRow a
    // multiple of 4 and at least 4 x width). Without it the context owns its
    // tiles. Null when a size is not positive, wider than 32767, or the
    // request is more than the machine can hold.
    static std::unique_ptr<Context> CreateBitmap(void* data, int width, int height, int bytesPerRow);
    // A bitmap context whose own tiles hold pixels only once made resident
    // (MakeTileResident): allocation on draw is off, so drawing elsewhere is
    // clipped away and the height costs no memory beyond a small record a
    // tile. Null when a side is not positive, the width is past
    // kMaxTiledWidth, the tiles would be more than kMaxTiles or the records
    // cannot be had. Allocation on draw stays off when the
    // whole bitmap is more than CreateBitmap would own.
    static std::unique_ptr<Context> CreateTiledBitmap(int width, int height);
    // A context drawing into an existing image surface (a port's pixels),
    // which it references for its own lifetime.
    static std::unique_ptr<Context> CreateForSurface(cairo_surface_t* surface);

    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Graphics state. RestoreGState without a matching save does nothing.
    void SaveGState();
    void RestoreGState();
    void TranslateCTM(double tx, double ty);
    void ScaleCTM(double sx, double sy);
    void RotateCTM(double radians);
    void ConcatCTM(const AffineTransform& t);
    // User space to device space (device: pixels, row 0 at the top).
    AffineTransform GetCTM() const;
    // Intersects the clip with a rectangle in user space.
    void ClipToRect(const Rect& r);
    // The bounds of the clip in user space (the whole bitmap without one);
    // false when the user space cannot be mapped back.
    bool ClipBoundsInUserSpace(Rect& out) const;
    void SetShouldAntialias(bool on);
    void SetInterpolationQuality(InterpolationQuality q);
    void SetRGBFillColor(double r, double g, double b, double a);
    void SetRGBStrokeColor(double r, double g, double b, double a);
    void SetAlpha(double a);
    void SetLineWidth(double w);
    // Lengths in user space; an empty list, a negative length or a list whose
    // lengths are all 0 means a solid line.
    void SetLineDash(double phase, const double* lengths, int count);
    void SetLineCap(LineCap cap);
    void SetLineJoin(LineJoin join);

    // Path.
    void BeginPath();
    void MoveToPoint(double x, double y);
    void AddLineToPoint(double x, double y);
    void AddRect(const Rect& r);
    // Angles in radians; clockwise as seen in the y-up user space.
    void AddArc(double x, double y, double radius, double startAngle, double endAngle, bool clockwise);
    void AddEllipseInRect(const Rect& r);
    void ClosePath();
    bool IsPathEmpty() const;
    // These consume the current path.
    void FillPath();
    void EOFillPath();
    void StrokePath();

    // Shapes that leave the current path alone.
    void FillRect(const Rect& r);
    void StrokeRect(const Rect& r);
    void StrokeRectWithWidth(const Rect& r, double width);
    void ClearRect(const Rect& r);
    // Draws the picture upright, scaled to fill `r`.
    void DrawImage(const Rect& r, const Image& image);

    // Lets another module draw with cairo directly. `fn` runs once per tile
    // that `userBounds` touches, with the cairo matrix set to the user space
    // (flip included) and the clip applied; it draws in user coordinates.
    // cairo_clip_extents tells it the part of the user space the tile
    // shows, so it may leave out what lies wholly outside.
    // `antialias` applies to what `fn` draws. `name` goes to the trace.
    template <class F>
    void DrawWithCairo(const Rect& userBounds, bool antialias, const std::string& traceText, F&& fn);

    // Makes drawn pixels visible in the memory behind the context.
    void Flush();

    // One pixel at column x of device row `row` (0 = top); transparent
    // outside the bitmap or in a tile never drawn.
    Pixel ReadPixel(int x, int row) const;
    // A copy of a device rectangle (rows top-down) as an image; null when the
    // rectangle is empty after cutting to the bitmap or too large.
    ImageRef CreateImage(int x, int row, int width, int height) const;
    // Columns [x, x + width) of device row `row` as straight (not
    // premultiplied) RGBA bytes, 4 a pixel, into `out`, which holds width x 4
    // bytes; with `alpha` false as RGB bytes, 3 a pixel (width x 3 bytes).
    // Pixels outside the bitmap or in a tile without pixels are transparent
    // (0, 0, 0, 0). Reads one row at a time for export; true when every
    // pixel read is opaque.
    bool ReadRow(int x, int row, int width, unsigned char* out, bool alpha = true) const;
    // Rows top-down as straight RGBA bytes (4 per pixel, width x 4 per row),
    // for export; false when `out` cannot be sized.
    bool CopyRGBA(std::vector<unsigned char>& out) const;
    // The same for the device rectangle at (x, row), cut to the bitmap;
    // false when nothing is left of it or `out` cannot be sized.
    bool CopyRGBA(std::vector<unsigned char>& out, int x, int row, int& width, int& height) const;

    // Moves the pixels of device rows from .. from + rows - 1 to start at
    // row `to`, as they are (overlapping ranges included); clip and state do
    // not apply. Only the columns of tiles with pixels in either range take
    // part: a column none of whose tiles there hold pixels has none to move.
    // False, with nothing moved, when a row of either range lies outside the
    // bitmap, in a tile of a column taking part whose pixels do not exist,
    // or no column takes part.
    bool CopyRows(int from, int to, int rows);

    // Number of tiles whose pixels exist.
    int AllocatedTiles() const;

    // Residency of the tiles of a bitmap whose memory the context owns.
    // Tile i holds device rows TileTop(i) .. TileTop(i) + TileRows(i) - 1
    // and columns TileLeft(i) .. TileLeft(i) + TileWidth(i) - 1. Tiles go
    // band by band from the top, each band's from the left: tile i lies in
    // band i / TileColumns(), column i % TileColumns().
    // By default drawing allocates every tile it touches; with allocation on
    // draw turned off, drawing into a tile whose pixels do not exist is
    // clipped away, so only tiles made resident hold pixels.
    int TileCount() const { return int(m_tiles.size()); }
    int TileTop(int i) const;
    int TileRows(int i) const;
    int TileLeft(int i) const;
    int TileWidth(int i) const;
    // Tiles across a band: 1 unless the bitmap is wider than kMaxImageSide.
    int TileColumns() const { return m_columns; }
    // The first (leftmost) tile of the band holding device row `row`; -1
    // outside the bitmap.
    int TileOfRow(int row) const;
    // The column of tiles holding device column x; -1 outside the bitmap.
    int ColumnOfX(int x) const;
    bool IsTileResident(int i) const;
    // Bytes of pixels one resident tile i holds.
    long long TileBytes(int i) const;
    void SetAllocateOnDraw(bool on);
    // Gives tile i its pixels (transparent). True when it already had them;
    // false when memory fails, the index is out of range, or the memory is
    // the caller's.
    bool MakeTileResident(int i);
    // Frees the pixels of tile i (the context's own memory only); it reads as
    // transparent afterwards.
    void DropTile(int i);
    // False once a tile could not be allocated (drawing into it was skipped).
    bool Healthy() const { return m_healthy; }

    void EnableTrace(bool on) { m_tracing = on; }
    bool IsTracing() const { return m_tracing; }
    const std::vector<std::string>& Trace() const { return m_trace; }
    void ClearTrace() { m_trace.clear(); }

private:
    struct Tile
    {
        int top = 0;
        int rows = 0;
        int left = 0;
        int width = 0;
        cairo_surface_t* surface = nullptr;
        cairo_t* cr = nullptr;
    };
    struct ClipEntry
    {
        cairo_matrix_t m;
        Rect r;
    };
    struct GState
    {
        cairo_matrix_t ctm;
        std::vector<ClipEntry> clips;
        double fill[4] = {0, 0, 0, 1};
        double stroke[4] = {0, 0, 0, 1};
        double alpha = 1;
        double lineWidth = 1;
        std::vector<double> dash;
        double dashPhase = 0;
        LineCap cap = LineCap::Butt;
        LineJoin join = LineJoin::Miter;
        bool antialias = true;
        InterpolationQuality interpolation = InterpolationQuality::Default;
    };
    struct Box
    {
        double x0, y0, x1, y1;
    };

    Context() = default;
    bool InitTiles(void* data, int bytesPerRow);
    // The tile holding device pixel (x, row), inside the bitmap.
    const Tile& TileAt(int x, int row) const;
    bool EnsureTile(Tile& t);
    Box DeviceBox(const Rect& r) const;
    Box ClipBox() const;
    // Runs fn(cr, shift) for every tile that the device box touches inside the
    // clip, with the tile's cairo_t saved, clipped and set to the antialiasing
    // asked for, and restored afterwards. `allocate` false skips tiles never
    // drawn into instead of allocating them.
    template <class F>
    void ForTiles(Box box, bool antialias, F&& fn, bool allocate = true);
    // Narrows first .. last, the bands (columns) of tiles `step` rows
    // (pixels) apart, to those that device span [lo, hi) of a bitmap
    // `extent` long reaches; false when it reaches none. A span that is not
    // finite, or one band (column), leaves them as they are.
    static bool TileSpan(double lo, double hi, int extent, int step, std::size_t& first, std::size_t& last);
    void ApplyClip(cairo_t* cr, const cairo_matrix_t& shift) const;
    void ApplyStroke(cairo_t* cr) const;
    // Sets the scratch path's matrix: the user space, less the path's
    // origin. A path keeps the origin its first point (x, y in user space)
    // chose, the top-left corner of its tile, so the device coordinates
    // cairo holds stay small on a bitmap of any size.
    void SyncScratch(double x, double y);
    void DrawPath(int mode); // 0 fill, 1 even-odd fill, 2 stroke
    void TraceCall(const char* name, std::initializer_list<double> args);

    int m_width = 0;
    int m_height = 0;
    int m_columns = 1;
    bool m_ownsMemory = false;
    bool m_allocateOnDraw = true;
    bool m_healthy = true;
    std::vector<Tile> m_tiles;
    GState m_state;
    std::vector<GState> m_stack;
    cairo_surface_t* m_scratchSurface = nullptr;
    cairo_t* m_scratch = nullptr; // the current path in device space, less the path's origin
    double m_pathOrigin = 0;
    double m_pathOriginX = 0;
    bool m_pathStarted = false;
    bool m_tracing = false;
    std::vector<std::string> m_trace;
};

// --- template members -------------------------------------------------------

template <class F>
void Context::ForTiles(Box box, bool antialias, F&& fn, bool allocate)
{
    Box clip = ClipBox();
    if (box.x0 < clip.x0)
        box.x0 = clip.x0;
    if (box.y0 < clip.y0)
        box.y0 = clip.y0;
    if (box.x1 > clip.x1)
        box.x1 = clip.x1;
    if (box.y1 > clip.y1)
        box.y1 = clip.y1;
    if (box.x1 <= box.x0 || box.y1 <= box.y0 || m_tiles.empty())
        return;
    // Only the tiles the box reaches are visited: a tall bitmap holds
    // thousands of bands, a wide one thousands of columns.
    std::size_t first = 0, last = (m_tiles.size() - 1) / std::size_t(m_columns);
    std::size_t firstColumn = 0, lastColumn = std::size_t(m_columns) - 1;
    if (!TileSpan(box.y0, box.y1, m_height, kTileRows, first, last)
        || !TileSpan(box.x0, box.x1, m_width, kTileColumns, firstColumn, lastColumn))
        return;
    for (std::size_t band = first; band <= last; ++band) {
        for (std::size_t column = firstColumn; column <= lastColumn; ++column) {
            Tile& t = m_tiles[band * std::size_t(m_columns) + column];
            if (box.y1 <= t.top || box.y0 >= t.top + t.rows || box.x1 <= t.left || box.x0 >= t.left + t.width)
                continue;
            if ((allocate && m_allocateOnDraw) ? !EnsureTile(t) : !t.cr)
                continue;
            cairo_matrix_t shift;
            cairo_matrix_init_translate(&shift, -t.left, -t.top);
            cairo_save(t.cr);
            ApplyClip(t.cr, shift);
            cairo_set_antialias(t.cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
            fn(t.cr, shift);
            cairo_restore(t.cr);
        }
    }
}

template <class F>
void Context::DrawWithCairo(const Rect& userBounds, bool antialias, const std::string& traceText, F&& fn)
{
    if (m_tracing) {
        try {
            m_trace.push_back(traceText);
        } catch (...) { }
    }
    ForTiles(DeviceBox(userBounds), antialias, [&](cairo_t* cr, const cairo_matrix_t& shift) {
        cairo_matrix_t m;
        cairo_matrix_multiply(&m, &m_state.ctm, &shift);
        cairo_set_matrix(cr, &m);
        cairo_new_path(cr);
        fn(cr);
    });
}

} // namespace qm::cg
