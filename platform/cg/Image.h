#pragma once
// An immutable picture: width x height pixels held in one cairo ARGB32
// surface (premultiplied alpha). Shared by pointer; drawn scaled into a
// rectangle of a context.

#include <cairo.h>

#include <memory>

namespace qm::cg {

// The widest or tallest picture one image surface can hold.
constexpr int kMaxImageSide = 32767;

class Image
{
public:
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Copies width x height pixels (the layout of cg/Pixel.h). Null when the
    // size is not positive, larger than one surface can hold, or memory fails.
    static std::shared_ptr<Image> FromPixels(const void* data, int width, int height, int bytesPerRow);
    // Takes over a reference to an image surface (ARGB32 or RGB24); null on a
    // surface in error.
    static std::shared_ptr<Image> AdoptSurface(cairo_surface_t* surface);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    cairo_surface_t* Surface() const { return m_surface; }

private:
    Image() = default;
    cairo_surface_t* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
};

typedef std::shared_ptr<Image> ImageRef;

// A new ARGB32 image surface of width x height, flushed and ready for its
// pixels to be written; null when a side is not positive or larger than
// kMaxImageSide, or memory fails.
cairo_surface_t* CreateImageSurface(int width, int height);

} // namespace qm::cg
