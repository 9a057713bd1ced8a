#include "platform/cg/Image.h"

#include <cstring>
#include <new>

namespace qm::cg {

Image::~Image()
{
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

cairo_surface_t* CreateImageSurface(int width, int height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    return s;
}

std::shared_ptr<Image> Image::FromPixels(const void* data, int width, int height, int bytesPerRow)
{
    if (!data || bytesPerRow < 4LL * width)
        return nullptr;
    cairo_surface_t* s = CreateImageSurface(width, height);
    if (!s)
        return nullptr;
    unsigned char* dst = cairo_image_surface_get_data(s);
    int dstStride = cairo_image_surface_get_stride(s);
    const unsigned char* src = static_cast<const unsigned char*>(data);
    for (int row = 0; row < height; ++row)
        std::memcpy(dst + static_cast<size_t>(row) * dstStride, src + static_cast<size_t>(row) * bytesPerRow,
            static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(s);
    return AdoptSurface(s);
}

std::shared_ptr<Image> Image::AdoptSurface(cairo_surface_t* surface)
{
    if (!surface)
        return nullptr;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS
        || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    Image* img = new (std::nothrow) Image();
    if (!img) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    img->m_surface = surface;
    img->m_width = cairo_image_surface_get_width(surface);
    img->m_height = cairo_image_surface_get_height(surface);
    try {
        return std::shared_ptr<Image>(img); // deletes img itself if it throws
    } catch (...) {
        return nullptr;
    }
}

} // namespace qm::cg
