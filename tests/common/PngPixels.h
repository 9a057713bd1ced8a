#pragma once
// Decodes a PNG file as 8-bit RGBA rows, through libpng rather than the
// writer under test, so tests compare what a viewer would show.

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qmtest {

struct PngPixels
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // rows top-down, 4 bytes a pixel
};

namespace detail {

// libpng's errors jump back here; nothing with a destructor lives in this
// frame.
inline bool DecodeRows(png_structp png, png_infop info, std::FILE* file, PngPixels* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    out->width = int(png_get_image_width(png, info));
    out->height = int(png_get_image_height(png, info));
    out->rgba.resize(size_t(out->width) * size_t(out->height) * 4);
    for (int row = 0; row < out->height; ++row)
        png_read_row(png, out->rgba.data() + size_t(row) * size_t(out->width) * 4, nullptr);
    png_read_end(png, nullptr);
    return true;
}

} // namespace detail

// False when the file cannot be read or is no PNG.
inline bool ReadPng(const std::string& path, PngPixels& out)
{
    out = PngPixels();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && detail::DecodeRows(png, info, file, &out);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    std::fclose(file);
    return ok;
}

} // namespace qmtest
