#include "platform/image/ImageDecoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/cg/Pixel.h"

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

// The loader announces the picture's size from its header, before it
// allocates pixels. A size that is not accepted is refused there: the loader
// is given the size 0 x 0, which every progressive decoder takes as the sign
// to stop without allocating, and whatever it still produces is discarded.
void RefuseUnacceptedSize(GdkPixbufLoader* loader, gint width, gint height, gpointer refused)
{
    if (IsAcceptedPictureSize(width, height))
        return;
    *static_cast<bool*>(refused) = true;
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

std::uint32_t BigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

} // namespace

cg::ImageRef DecodeBytes(const void* data, std::size_t size)
{
    try {
        if (!data || size == 0)
            return nullptr;
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
        bool refused = false;
        g_signal_connect(loader, "size-prepared", G_CALLBACK(RefuseUnacceptedSize), &refused);
        GError* err = nullptr;
        bool ok = gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(data), size, &err);
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
    } catch (...) {
        return nullptr;
    }
}

cg::ImageRef DecodeFile(const std::string& path)
{
    try {
        if (path.empty())
            return nullptr;
        // The header first: its size is read without decoding any pixels, and a
        // size that is not accepted goes no further. The file is then decoded as
        // a whole, as it always was (a cut-off file fails rather than showing its
        // first rows); a file replaced between the two reads is still held to
        // the limit once decoded.
        gint width = 0, height = 0;
        if (!gdk_pixbuf_get_file_info(path.c_str(), &width, &height) || !IsAcceptedPictureSize(width, height))
            return nullptr;
        GError* err = nullptr;
        GdkPixbuf* pb = gdk_pixbuf_new_from_file(path.c_str(), &err);
        if (err)
            g_error_free(err);
        if (!pb)
            return nullptr;
        cg::ImageRef result = FromPixbuf(pb);
        g_object_unref(pb);
        return result;
    } catch (...) {
        return nullptr;
    }
}

cg::ImageRef LoadIcns(const std::string& path)
{
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return nullptr;
        std::vector<unsigned char> bytes(
            (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() < 8 || std::memcmp(bytes.data(), "icns", 4) != 0)
            return nullptr;
        std::size_t total = std::min<std::size_t>(BigEndian32(bytes.data() + 4), bytes.size());
        static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        cg::ImageRef best;
        std::size_t pos = 8;
        while (pos + 8 <= total) {
            std::size_t len = BigEndian32(bytes.data() + pos + 4);
            if (len < 8 || len > total - pos)
                break;
            const unsigned char* member = bytes.data() + pos + 8;
            std::size_t memberSize = len - 8;
            if (memberSize >= 8 && std::memcmp(member, kPng, 8) == 0) {
                cg::ImageRef img = DecodeBytes(member, memberSize);
                if (img && (!best || img->Width() * img->Height() > best->Width() * best->Height()))
                    best = img;
            }
            pos += len;
        }
        return best;
    } catch (...) {
        return nullptr;
    }
}

} // namespace qm::image
