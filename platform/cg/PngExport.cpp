#include "platform/cg/PngExport.h"

#include "platform/cg/ParallelDeflate.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qm::cg {

namespace {

// The effort, chosen for speed: zlib level 1 and no filter (filter type 0
// on every row). Deflate takes most of an export's time at any setting; on
// a document (white rows, text) no filter is both the quickest and the
// smallest of the simple choices at level 1 (the Up and Sub filters make
// files 5 to 10 % larger and save no time). The rows are compressed on
// worker threads (ParallelDeflate) while the next band is painted. The
// 1 MB book of benchmarks/make-book at 800 pixels (801 x 255,487, opaque,
// so RGB) gives 28.7 MB, against 28.4 MB as one stream on one thread.
constexpr int kZlibLevel = 1;
// Bytes of compressed data in one IDAT chunk.
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
    png_write_info(png, info);
    return true;
}

// The rows' compressed data is made here (ParallelDeflate), not by libpng,
// which writes the file's chunks.
bool WriteChunk(png_structp png, const char* name, const unsigned char* data, std::size_t length)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data, length);
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
    std::unique_ptr<ParallelDeflate> deflate;
    std::vector<unsigned char> idat; // compressed data not yet in a chunk

    // Takes compressed data, writing a chunk whenever a chunk's worth is held.
    bool Take(const unsigned char* data, std::size_t length)
    {
        idat.insert(idat.end(), data, data + length);
        return idat.size() < kChunkBytes || WriteIdat();
    }
    bool WriteIdat()
    {
        const bool written = idat.empty() || WriteChunk(png, "IDAT", idat.data(), idat.size());
        idat.clear();
        return written;
    }

    ~State()
    {
        deflate.reset(); // its workers stop before the rest goes
        Fail();
    }

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
        s.idat.reserve(kChunkBytes + ParallelDeflate::kPieceBytes);
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
        if (!WriteHeader(s.png, s.info, width, height, !opaque))
            return s.Fail();
        State* state = &s;
        // A picture of a piece or two is compressed on this thread.
        const double bytes = double(height) * (1 + double(width) * (opaque ? 3 : 4));
        const int workers
            = bytes > 2.0 * ParallelDeflate::kPieceBytes ? ParallelDeflate::DefaultWorkers() : 0;
        s.deflate.reset(new ParallelDeflate(kZlibLevel, workers,
            [state](const unsigned char* data, std::size_t length) { return state->Take(data, length); }));
        return true;
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
    const std::size_t rowBytes = std::size_t(s.width) * (s.opaque ? 3 : 4);
    for (int i = 0; i < count; ++i) {
        unsigned char* out = s.deflate->Claim(1 + rowBytes);
        if (!out)
            return s.Fail();
        out[0] = PNG_FILTER_VALUE_NONE;
        if (!context.ReadRow(x, row + i, s.width, out + 1, !s.opaque) && s.opaque) {
            s.translucent = true;
            return s.Fail();
        }
        ++s.rows;
    }
    return true;
}

bool PngStream::Finish()
{
    if (!m_state || m_state->failed || m_state->finished)
        return false;
    State& s = *m_state;
    if (s.rows != s.height || !s.deflate->Finish() || !s.WriteIdat()
        || !WriteChunk(s.png, "IEND", nullptr, 0))
        return s.Fail();
    s.deflate.reset();
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
