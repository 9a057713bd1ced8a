#include "platform/cg/PngExport.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <vector>

namespace qm::cg {

namespace {

bool SaveRGBA(std::vector<unsigned char>& rgba, int width, int height, const std::string& path)
{
    if (width <= 0 || height <= 0 || path.empty())
        return false;
    GdkPixbuf* pb = gdk_pixbuf_new_from_data(
        rgba.data(), GDK_COLORSPACE_RGB, TRUE, 8, width, height, width * 4, nullptr, nullptr);
    if (!pb)
        return false;
    GError* err = nullptr;
    gboolean ok = gdk_pixbuf_save(pb, path.c_str(), "png", &err, nullptr);
    if (err)
        g_error_free(err);
    g_object_unref(pb);
    return ok;
}

} // namespace

bool WritePNG(const Context& context, const std::string& path)
{
    try {
        std::vector<unsigned char> rgba;
        if (!context.CopyRGBA(rgba))
            return false;
        return SaveRGBA(rgba, context.Width(), context.Height(), path);
    } catch (...) {
        return false;
    }
}

bool WritePNG(const Context& context, int x, int row, int width, int height, const std::string& path)
{
    try {
        std::vector<unsigned char> rgba;
        if (!context.CopyRGBA(rgba, x, row, width, height))
            return false;
        return SaveRGBA(rgba, width, height, path);
    } catch (...) {
        return false;
    }
}

bool WritePNG(cairo_surface_t* imageSurface, const std::string& path)
{
    try {
        std::unique_ptr<Context> ctx = Context::CreateForSurface(imageSurface);
        return ctx && WritePNG(*ctx, path);
    } catch (...) {
        return false;
    }
}

} // namespace qm::cg
