#pragma once
// Writes what a context holds (a bitmap, a port's pixels) as a PNG file, so
// any picture the system produces can be looked at.
//
// Every picture goes through PngStream, which hands libpng one row at a
// time: a picture is written a band of rows after another, so a document far
// taller than memory holds needs only the band being written. Each row is
// converted from the context's premultiplied pixels to straight 8-bit RGBA
// (RGB for a picture known to be opaque) as it goes, and compressed on
// worker threads (ParallelDeflate.h) while the caller makes the next band.
// The compression is chosen for speed over size (PngExport.cpp says which
// and what it costs).

#include <cairo.h>

#include <memory>
#include <string>

#include "platform/cg/Context.h"

namespace qm::cg {

class PngStream
{
public:
    PngStream();
    // A stream not finished removes its file.
    ~PngStream();
    PngStream(const PngStream&) = delete;
    PngStream& operator=(const PngStream&) = delete;

    // Creates the file for a picture of width x height pixels, 8 bits a
    // channel: RGBA, or with `opaque` RGB, for a picture whose every pixel is
    // opaque (a quarter fewer bytes to compress). False when a side is not
    // positive or the file cannot be created; a stream begins once.
    bool Begin(const std::string& path, int width, int height, bool opaque = false);
    // Writes the picture's next `count` rows: columns [x, x + width) of the
    // context's device rows from `row` on, cut to the bitmap as
    // Context::ReadRow does. False, and the stream fails for good, when the
    // rows would pass the picture's height, the file cannot be written, or
    // a stream begun opaque meets a pixel that is not (Translucent()).
    bool AppendRows(const Context& context, int x, int row, int count);
    // Completes the file once every row was written. False when rows are
    // missing or the file cannot be completed; the file is then removed.
    bool Finish();

    int RowsWritten() const;
    // The stream failed on a pixel that is not opaque: write the picture
    // again with a stream that keeps alpha.
    bool Translucent() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The whole context, or its device rectangle at (x, row) cut to the bitmap,
// in one file. False when nothing is left of the rectangle or the file
// cannot be written (it is then removed).
bool WritePNG(const Context& context, const std::string& path);
bool WritePNG(const Context& context, int x, int row, int width, int height, const std::string& path);
bool WritePNG(cairo_surface_t* imageSurface, const std::string& path);

} // namespace qm::cg
