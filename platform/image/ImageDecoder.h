#pragma once
// Picture decoding: PNG, JPEG, GIF (first frame), BMP, and the icon format
// (".icns", see below), and nothing else. The result is a cg::Image
// (premultiplied ARGB32) with its size, or null when the bytes are not such a
// picture, are damaged, or are larger than the limit below.
//
// The format and the size are read from the bytes first (PictureHeader.h):
// bytes of any other format, and a picture whose header declares a size over
// the limit, are refused there, before a decoder is chosen. The decoder of
// the recognised format (gdk-pixbuf's, named explicitly, so no other
// installed loader is ever tried) then runs with the same limit on the size
// it announces, and the same limit holds for the picture it gives.

#include <cstddef>
#include <string>

#include "platform/cg/Image.h"

namespace qm::image {

// The largest picture accepted, in pixels (width x height).
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

// The longest picture file read, in bytes: four bytes for every pixel of the
// largest picture, and a megabyte for headers and colour tables.
constexpr long long kMaxPictureFileBytes = 4 * kMaxPicturePixels + (1LL << 20);

// Whether a picture of width x height is accepted: both sides positive and at
// most cg::kMaxImageSide, and at most kMaxPicturePixels pixels.
constexpr bool IsAcceptedPictureSize(long long width, long long height)
{
    return width > 0 && height > 0 && width <= cg::kMaxImageSide && height <= cg::kMaxImageSide
        && width * height <= kMaxPicturePixels;
}

// The picture in the file (read whole; a file longer than
// kMaxPictureFileBytes is refused) or in the bytes. A cut-off picture fails
// rather than showing its first rows.
//
// An icon family gives its largest PNG member (by the size each declares);
// members in the older raw formats are not read; null when no member
// decodes.
cg::ImageRef DecodeFile(const std::string& path);
cg::ImageRef DecodeBytes(const void* data, std::size_t size);

} // namespace qm::image
