#include "platform/image/ImageDecoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

#include "platform/cg/Pixel.h"
#include "platform/image/IconFamily.h"
#include "platform/image/PictureHeader.h"

namespace qm::image {

namespace {

cg::ImageRef FromPixbuf(GdkPixbuf* pb)
{
    if (!pb)
        return nullptr;
    int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
    if (!IsAcceptedPictureSize(w, h) || gdk_pixbuf_get_bits_per_sample(pb) != 8
        || gdk_pixbuf_get_colorspace(pb) != GDK_COLORSPACE_RGB)
        return nullptr;
    int channels = gdk_pixbuf_get_n_channels(pb);
    bool alpha = gdk_pixbuf_get_has_alpha(pb);
    if (channels != (alpha ? 4 : 3))
        return nullptr;
    cairo_surface_t* s = cg::CreateImageSurface(w, h);
    if (!s)
        return nullptr;
    unsigned char* dst = cairo_image_surface_get_data(s);
    const std::size_t dstStride = std::size_t(cairo_image_surface_get_stride(s));
    const guchar* src = gdk_pixbuf_read_pixels(pb);
    const std::size_t srcStride = std::size_t(gdk_pixbuf_get_rowstride(pb));
    for (int y = 0; y < h; ++y) {
        const guchar* row = src + std::size_t(y) * srcStride;
        for (int x = 0; x < w; ++x) {
            const guchar* p = row + std::size_t(x) * std::size_t(channels);
            const std::uint8_t a = alpha ? p[3] : 255;
            cg::WritePixel(dst, dstStride, x, y, cg::Premultiply(cg::Pixel{p[0], p[1], p[2], a}));
        }
    }
    cairo_surface_mark_dirty(s);
    return cg::Image::AdoptSurface(s);
}

// The loader announces the picture's size before it allocates pixels. A size
// that is not accepted is refused there: the loader is given the size 0 x 0,
// which every progressive decoder takes as the sign to stop without
// allocating, and whatever it still produces is discarded. The header was
// checked before the loader ran; this holds the decoder to the same limit
// should it announce another size.
void RefuseUnacceptedSize(GdkPixbufLoader* loader, gint width, gint height, gpointer refused)
{
    if (IsAcceptedPictureSize(width, height))
        return;
    *static_cast<bool*>(refused) = true;
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

const char* LoaderName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return "png";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Bmp: return "bmp";
    default: return nullptr;
    }
}

cg::ImageRef Decode(const char* loaderName, const unsigned char* data, std::size_t size)
{
    GError* err = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(loaderName, &err);
    if (err)
        g_error_free(err);
    if (!loader)
        return nullptr;
    bool refused = false;
    g_signal_connect(loader, "size-prepared", G_CALLBACK(RefuseUnacceptedSize), &refused);
    err = nullptr;
    bool ok = gdk_pixbuf_loader_write(loader, data, size, &err);
    if (err) {
        g_error_free(err);
        err = nullptr;
    }
    ok = gdk_pixbuf_loader_close(loader, &err) && ok;
    if (err)
        g_error_free(err);
    cg::ImageRef result;
    if (ok && !refused)
        result = FromPixbuf(gdk_pixbuf_loader_get_pixbuf(loader));
    g_object_unref(loader);
    return result;
}

// The largest PNG member that decodes, tried from the largest declared size
// down, so only one member is decoded in the usual case.
cg::ImageRef DecodeIconFamily(const unsigned char* data, std::size_t size)
{
    std::vector<IconMember> members;
    if (!ParseIconFamily(data, size, &members))
        return nullptr;
    std::vector<std::pair<long long, const IconMember*>> pngs;
    for (const IconMember& m : members) {
        const PictureHeader header = ReadPictureHeader(m.data, m.size);
        if (header.format == PictureFormat::Png && IsAcceptedPictureSize(header.width, header.height))
            pngs.emplace_back(header.width * header.height, &m);
    }
    std::stable_sort(
        pngs.begin(), pngs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& png : pngs)
        if (cg::ImageRef img = Decode("png", png.second->data, png.second->size))
            return img;
    return nullptr;
}

} // namespace

cg::ImageRef DecodeBytes(const void* data, std::size_t size)
{
    try {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        const PictureHeader header = ReadPictureHeader(bytes, size);
        if (header.format == PictureFormat::IconFamily)
            return DecodeIconFamily(bytes, size);
        const char* loader = LoaderName(header.format);
        if (!loader || !IsAcceptedPictureSize(header.width, header.height))
            return nullptr;
        return Decode(loader, bytes, size);
    } catch (...) {
        return nullptr;
    }
}

cg::ImageRef DecodeFile(const std::string& path)
{
    try {
        if (path.empty())
            return nullptr;
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in)
            return nullptr;
        const std::streamoff length = in.tellg();
        if (length <= 0 || length > kMaxPictureFileBytes)
            return nullptr;
        std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
        in.seekg(0);
        if (!in.read(reinterpret_cast<char*>(bytes.data()), length))
            return nullptr;
        return DecodeBytes(bytes.data(), bytes.size());
    } catch (...) {
        return nullptr;
    }
}

} // namespace qm::image
