#pragma once
// Writes what a context holds (a bitmap, a port's pixels) as a PNG file, so
// any picture the system produces can be looked at.

#include <cairo.h>

#include <string>

#include "platform/cg/Context.h"

namespace qm::cg {

// False when the file cannot be written or the pixels cannot be copied.
bool WritePNG(const Context& context, const std::string& path);
// The device rectangle at (x, row) of the context, cut to its bitmap.
bool WritePNG(const Context& context, int x, int row, int width, int height, const std::string& path);
bool WritePNG(cairo_surface_t* imageSurface, const std::string& path);

} // namespace qm::cg
