#pragma once
// Telling a picture's format and declared size from its bytes alone, before
// any decoder sees them. Only the formats the editor shows are recognised:
// PNG, JPEG, GIF, BMP and the icon format (".icns"); every other format
// (XPM, TIFF, TGA, SVG, ICO ...) is not, however well formed, so the decoders
// of those formats are never reached from a page's bytes.

#include <cstddef>

namespace qm::image {

enum class PictureFormat
{
    None,
    Png,
    Jpeg,
    Gif,
    Bmp,
    IconFamily
};

struct PictureHeader
{
    PictureFormat format = PictureFormat::None;
    // The size the header declares, which the decoder would allocate. 0 x 0
    // for the icon format, whose members declare their own sizes.
    long long width = 0;
    long long height = 0;
};

// The format and declared size of the picture held in bytes (all of it:
// size is the whole picture's length). None for an unrecognised format and
// for a header that is cut off or does not fit the bytes:
//   PNG  - the signature, then the IHDR chunk first; its width and height.
//   JPEG - a start-of-image mark at the start, then segments up to the first
//          start-of-frame marker; its width and height.
//   GIF  - "GIF87a" or "GIF89a"; the logical screen's width and height.
//   BMP  - "BM", a pixel-data offset within the bytes and past the headers,
//          an information header of a known length (12, 40, 52, 56, 64, 108
//          or 124 bytes) held in full, 1, 4, 8, 16, 24 or 32 bits a pixel, a
//          colour table (as many colours as the header says it uses, four
//          bytes each) no longer than the bytes; its width and height (a
//          negative height, for rows stored top-down, counts by magnitude).
//   icon - a complete icon family (see IconFamily.h).
PictureHeader ReadPictureHeader(const unsigned char* bytes, std::size_t size);

} // namespace qm::image
