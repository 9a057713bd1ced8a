#pragma once
// Picture decoding over gdk-pixbuf: PNG, JPEG, GIF (first frame), BMP and
// whatever other formats the installed loaders know. The result is a
// cg::Image (premultiplied ARGB32) with its size, or null when the bytes are
// not a picture, are damaged, or are larger than one image can hold.

#include <cstddef>
#include <string>

#include "platform/cg/Image.h"

namespace qm::image {

cg::ImageRef DecodeFile(const std::string& path);
cg::ImageRef DecodeBytes(const void* data, std::size_t size);

// An icon file (".icns"): the largest of its PNG-encoded members. Older
// members in the raw run-length formats are not read; null when the file
// holds no member that decodes.
cg::ImageRef LoadIcns(const std::string& path);

}  // namespace qm::image
