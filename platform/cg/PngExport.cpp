#include "platform/cg/PngExport.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qm::cg {

namespace {

// The effort, chosen for speed: zlib level 1 and no filter (filter type 0
// on every row). Deflate takes most of an export's time at any setting; on
// a document (white rows, text) no filter is both the quickest and the
// smallest of the simple choices at level 1. A book of 1 MB at 800 pixels
// (800 x 307,952, opaque, so RGB) gives 38.2 MB, against 41.8 MB with the
// Up filter and 42.7 MB with Sub, each of which takes about a quarter more
// time; with alpha it is 42.2 MB (45.2 MB at the default effort of the
// writer this one replaced).
constexpr int kZlibLevel = 1;
constexpr int kRowFilters = PNG_FILTER_NONE;
// Bytes of compressed data in one IDAT chunk and in one write to the file.
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;

// libpng reports an error by a long jump to the buffer its caller set; the
// functions below that call it hold no object with a destructor, so the
// jump skips nothing that needed to run.
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) { }

bool WriteHeader(png_structp png, png_infop info, int width, int height, bool alpha)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    // The limits libpng applies by default (a million rows) are for reading
    // untrusted files; a document's picture may be taller.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
        alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kZlibLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilters);
    png_set_compression_buffer_size(png, kChunkBytes);
    png_write_info(png, info);
    return true;
}

bool WriteRow(png_structp png, png_bytep row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_row(png, row);
    return true;
}

bool WriteEnd(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_end(png, info);
    return true;
}

} // namespace

struct PngStream::State
{
    std::string path; // of a file made and not yet complete
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width = 0;
    int height = 0;
    int rows = 0;
    bool opaque = false;
    bool translucent = false;
    bool failed = false;
    bool finished = false;
    std::vector<unsigned char> row;

    ~State() { Fail(); }

    // Gives up: the file is closed and removed at once.
    bool Fail()
    {
        failed = true;
        if (png)
            png_destroy_write_struct(&png, info ? &info : nullptr);
        if (file)
            std::fclose(file);
        file = nullptr;
        if (!path.empty())
            std::remove(path.c_str());
        path.clear();
        return false;
    }
};

PngStream::PngStream() = default;
PngStream::~PngStream() = default;

int PngStream::RowsWritten() const { return m_state ? m_state->rows : 0; }

bool PngStream::Translucent() const { return m_state && m_state->translucent; }

bool PngStream::Begin(const std::string& path, int width, int height, bool opaque)
{
    if (m_state || width <= 0 || height <= 0 || path.empty())
        return false;
    try {
        m_state.reset(new State());
        State& s = *m_state;
        s.row.resize(std::size_t(width) * 4);
        s.opaque = opaque;
        s.width = width;
        s.height = height;
        s.file = std::fopen(path.c_str(), "wb");
        if (!s.file)
            return s.Fail();
        s.path = path;
        std::setvbuf(s.file, nullptr, _IOFBF, kChunkBytes);
        s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        s.info = s.png ? png_create_info_struct(s.png) : nullptr;
        if (!s.info)
            return s.Fail();
        png_init_io(s.png, s.file);
        return WriteHeader(s.png, s.info, width, height, !opaque) || s.Fail();
    } catch (...) {
        return m_state && m_state->Fail();
    }
}

bool PngStream::AppendRows(const Context& context, int x, int row, int count)
{
    if (!m_state || m_state->failed || m_state->finished)
        return false;
    State& s = *m_state;
    if (count < 0 || count > s.height - s.rows)
        return s.Fail();
    for (int i = 0; i < count; ++i) {
        if (!context.ReadRow(x, row + i, s.width, s.row.data(), !s.opaque) && s.opaque) {
            s.translucent = true;
            return s.Fail();
        }
        if (!WriteRow(s.png, s.row.data()))
            return s.Fail();
        ++s.rows;
    }
    return true;
}

bool PngStream::Finish()
{
    if (!m_state || m_state->failed || m_state->finished)
        return false;
    State& s = *m_state;
    if (s.rows != s.height || !WriteEnd(s.png, s.info))
        return s.Fail();
    png_destroy_write_struct(&s.png, &s.info);
    const bool closed = std::fclose(s.file) == 0;
    s.file = nullptr;
    if (!closed)
        return s.Fail();
    s.path.clear(); // complete: kept
    s.finished = true;
    return true;
}

bool WritePNG(const Context& context, const std::string& path)
{
    return WritePNG(context, 0, 0, context.Width(), context.Height(), path);
}

bool WritePNG(const Context& context, int x, int row, int width, int height, const std::string& path)
{
    const long long x0 = std::max(x, 0), y0 = std::max(row, 0);
    const long long x1 = std::min<long long>((long long)x + width, context.Width());
    const long long y1 = std::min<long long>((long long)row + height, context.Height());
    if (x1 <= x0 || y1 <= y0)
        return false;
    PngStream out;
    return out.Begin(path, int(x1 - x0), int(y1 - y0))
        && out.AppendRows(context, int(x0), int(y0), int(y1 - y0)) && out.Finish();
}

bool WritePNG(cairo_surface_t* imageSurface, const std::string& path)
{
    std::unique_ptr<Context> ctx = Context::CreateForSurface(imageSurface);
    return ctx && WritePNG(*ctx, path);
}

} // namespace qm::cg
