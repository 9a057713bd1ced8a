#pragma once
// Picture decoding over gdk-pixbuf: PNG, JPEG, GIF (first frame), BMP and
// whatever other formats the installed loaders know. The result is a
// cg::Image (premultiplied ARGB32) with its size, or null when the bytes are
// not a picture, are damaged, or are larger than the limit below.
//
// The size is checked when the picture's header announces it, before the
// decoder allocates any pixels, so a small file that claims an enormous size
// costs nothing. (A format whose decoder cannot read progressively announces
// its size only after decoding; the same limit then applies to the result.)

#include <cstddef>
#include <string>

#include "platform/cg/Image.h"

namespace qm::image {

// The largest picture accepted, in pixels (width x height).
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

// Whether a picture of width x height is accepted: both sides positive and at
// most cg::kMaxImageSide, and at most kMaxPicturePixels pixels.
constexpr bool IsAcceptedPictureSize(long long width, long long height)
{
    return width > 0 && height > 0 && width <= cg::kMaxImageSide && height <= cg::kMaxImageSide
        && width * height <= kMaxPicturePixels;
}

cg::ImageRef DecodeFile(const std::string& path);
cg::ImageRef DecodeBytes(const void* data, std::size_t size);

// An icon file (".icns"): the largest of its PNG-encoded members. Older
// members in the raw run-length formats are not read; null when the file
// holds no member that decodes.
cg::ImageRef LoadIcns(const std::string& path);

} // namespace qm::image
